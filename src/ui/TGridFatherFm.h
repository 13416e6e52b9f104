#pragma once

#include <QFrame>
#include <QMenu>
#include <QWidget>

#include "db/Query.h"
#include "ui/DataGrid.h"

class QLabel;

// The base of the grid views: a top strip with the view-menu link, the grid over the query Q, and an edit panel.
class TGridFatherFm : public QWidget {
    Q_OBJECT
public:
    explicit TGridFatherFm(QWidget* parent = nullptr);

    QFrame* PanelGridTop;
    QLabel* Image2;
    QLabel* LabChangeView;
    QLabel* Image5;
    QLabel* LabSave;
    ui::DataGrid* GridMain;
    QFrame* PanelEdit;
    QMenu* MenuView;
    db::Query* Q;

    // Where the view menu opens: under the strip, at the link's left edge (global coordinates).
    QPoint viewMenuPosition() const;
    void showViewMenu();
    // "导出列表": the main grid's rows as shown, saved to a CSV file the operator chooses.
    void exportList();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
