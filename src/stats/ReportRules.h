#pragma once

#include <QStringList>

class QComboBox;
class QHBoxLayout;
class QPushButton;
class QLineEdit;
class QWidget;
class TReportFm;
class TReportSaleFm;
class TReportSortFm;

// What the three statistics views share: the rule selector with its switching, and the period boxes.
namespace stats {

struct Period;

// The choices of every statistics view's rule selector, in this order.
enum class ReportRule { Details = 0, Analysis = 1, Ranking = 2 };

QStringList reportRuleNames();
// The selector "请选择统计规则:" with the three rules, none chosen.
QComboBox* makeRuleSelector(QWidget* parent);

// Readies the view of a chosen rule and returns it for docking: its selector shows the rule, and the analysis takes
// the period typed in the details view.
QWidget* prepareRuleView(ReportRule rule, TReportFm* details, TReportSaleFm* analysis, TReportSortFm* ranking);

// A start or end date box.
QLineEdit* makeDateBox(const QString& name, QWidget* parent);
// The period typed into the two boxes; a missing or malformed one is refused with its notice and the focus goes to
// the box at fault (the handler ends quietly).
Period periodFromBoxes(QLineEdit* startBox, QLineEdit* endBox);
// The strip above the figures: the selector, the two period boxes and the refresh button.
QHBoxLayout* makePeriodStrip(QWidget* parent, QComboBox* rules, QLineEdit* start, QLineEdit* end, QPushButton* refresh);
// Figures turn red once filled.
void markFilled(QWidget* figure);

}  // namespace stats
