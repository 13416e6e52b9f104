#pragma once

#include <QWidget>

class QComboBox;
class QLabel;

namespace stats {
class PieChart;
}

// The ranking of rentals by disc type, as a pie chart.
class TReportSortFm : public QWidget {
    Q_OBJECT
public:
    explicit TReportSortFm(QWidget* parent = nullptr);

    QComboBox* ReportRules;
    QLabel* LabCaption;
    stats::PieChart* Chart1;
    QLabel* LabNote;

    // Reads the rentals by type again into the chart.
    void reloadRanking();

Q_SIGNALS:
    // The operator chose a rule (a stats::ReportRule) in the selector.
    void ruleChosen(int rule);

protected:
    void showEvent(QShowEvent* event) override;
};
