#pragma once

#include <QDate>
#include <QString>

// The period the statistics views compute over, as the operator types it into the start and end boxes.
namespace stats {

struct Period {
    QDate start;
    QDate end;  // the whole day belongs to the period
};

// What is wrong with the typed period; the view turns it into its notice and moves the focus.
enum class PeriodFault { None, Missing, BadStart, BadEnd };

struct PeriodCheck {
    PeriodFault fault = PeriodFault::None;
    Period period;
};

inline constexpr const char* kMissingPeriodNotice = "对不起,请输入时间范围,否则系统无法统计!";
inline constexpr const char* kBadDateNotice = "对不起,你输入的时间信息格式不对!";

// Empty texts come first (either box), then a text that is not a date of the form yyyy-MM-dd, start before end.
PeriodCheck checkPeriod(const QString& startText, const QString& endText);

// "<column>>=#start# and <column><#day after end#": the end day is inside the period whether the column holds a
// bare date or the moment of saving.
QString periodCondition(const QString& column, const Period& period);

}  // namespace stats
