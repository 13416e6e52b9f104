#include "stats/ReportPeriod.h"

#include <optional>

#include "db/Clock.h"
#include "db/JetDialect.h"

namespace stats {

namespace {
// A date box holds a day, never a time of day.
std::optional<QDate> dayOf(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.contains(u' ') || trimmed.contains(u'T') || trimmed.contains(u':')) return {};
    const auto moment = db::dates::parse(trimmed);
    if (!moment) return {};
    return moment->date();
}
}  // namespace

PeriodCheck checkPeriod(const QString& startText, const QString& endText) {
    PeriodCheck check;
    if (startText.trimmed().isEmpty() || endText.trimmed().isEmpty()) {
        check.fault = PeriodFault::Missing;
        return check;
    }
    const auto start = dayOf(startText);
    if (!start) {
        check.fault = PeriodFault::BadStart;
        return check;
    }
    const auto end = dayOf(endText);
    if (!end) {
        check.fault = PeriodFault::BadEnd;
        return check;
    }
    check.period = Period{*start, *end};
    return check;
}

QString periodCondition(const QString& column, const Period& period) {
    return column + QStringLiteral(">=") + jet::dateLiteral(period.start) + QStringLiteral(" and ") + column +
           QStringLiteral(" < ") + jet::dateLiteral(period.end.addDays(1));
}

}  // namespace stats
