#pragma once

#include <QWidget>

class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

namespace db {
class Query;
}
namespace ui {
class DataGrid;
}

// The rental details: every item lent in a period, with the number of items and the rent collected and outstanding.
class TReportFm : public QWidget {
    Q_OBJECT
public:
    explicit TReportFm(QWidget* parent = nullptr);

    QComboBox* ReportRules;
    QLineEdit* StartDate;
    QLineEdit* EndDate;
    QPushButton* BtnRefresh;
    QPushButton* BtnExport;
    db::Query* QDetail;
    ui::DataGrid* dxDBGrid1;
    QLabel* Label15;
    QLabel* Label16;
    QLabel* Label18;

    void refresh();

Q_SIGNALS:
    // The operator chose a rule (a stats::ReportRule) in the selector.
    void ruleChosen(int rule);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
