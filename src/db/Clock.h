#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>

namespace db {

// The program's one clock: views, the SQL function now() and DateDiff read it, so tests can fix today and now.
class Clock {
public:
    static QDateTime now();
    static QDate today() { return now().date(); }
    // Fixes the clock (for testing); std::nullopt returns it to the system time.
    static void setFixed(std::optional<QDateTime> moment);
};

// Dates are shown, read back and stored in one form, whatever the system's locale says.
namespace dates {
inline constexpr const char* kDateFormat = "yyyy-MM-dd";
inline constexpr const char* kTimeFormat = "HH:mm:ss";
inline constexpr const char* kStoredFormat = "yyyy-MM-dd HH:mm:ss";

// 1899-12-30: what a null date reads as.
QDateTime zeroDate();
QString toStored(const QDateTime& moment);
QString toStored(const QDate& day);
// yyyy-MM-dd, followed by HH:mm:ss when the time of day is not midnight.
QString toDisplay(const QDateTime& moment);
QString toDateText(const QDate& day);
// Accepts yyyy-MM-dd (also with one-digit month and day) optionally followed by a blank and H:mm[:ss].
std::optional<QDateTime> parse(const QString& text);
// Fast day number of a stored or typed date text, for DateDiff; nullopt when it is not a date.
std::optional<qint64> julianDay(const QString& text);
}  // namespace dates

}  // namespace db
