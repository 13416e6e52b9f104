#pragma once

#include <QWidget>

class QLabel;
class QFrame;

namespace db {
class Query;
}
namespace ui {
class DataGrid;
}

// The items out longer than the time limit, listed when the view is first shown in a run.
class TAwokeFm : public QWidget {
    Q_OBJECT
public:
    explicit TAwokeFm(QWidget* parent = nullptr);

    QLabel* LabAwoke;
    QFrame* PanelList;
    db::Query* Qnotback;
    ui::DataGrid* dxDBGrid1;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildList();
    bool shownBefore_ = false;
};
