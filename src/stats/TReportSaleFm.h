#pragma once

#include <QWidget>

class QComboBox;
class QGridLayout;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

// The business analysis of a period: lending and returns by kind of customer, stock, rent, deposits, member fees
// and the profit or loss.
class TReportSaleFm : public QWidget {
    Q_OBJECT
public:
    explicit TReportSaleFm(QWidget* parent = nullptr);

    QComboBox* ReportRules;
    QLineEdit* StartDate;
    QLineEdit* EndDate;
    QPushButton* BtnRefresh;

    QLabel* RentCount;
    QLabel* BackCount;
    QLabel* RemainCount;
    QLabel* PersonRentCount;
    QLabel* PersonBackCount;
    QLabel* MemberRentCount;
    QLabel* MemberBackCount;
    QLabel* PersonRentMoney;
    QLabel* PersonRentnoMoney;
    QLabel* PersonMortagageMoney;
    QLabel* label40;
    QLabel* Label35;

    void refresh();

Q_SIGNALS:
    // The operator chose a rule (a stats::ReportRule) in the selector.
    void ruleChosen(int rule);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* addFigure(QGridLayout* grid, const QString& caption, const QString& name, bool money, const QString& unit);
};
