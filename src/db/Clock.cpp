#include "db/Clock.h"

namespace db {

namespace {
std::optional<QDateTime>& fixedMoment() {
    static std::optional<QDateTime> moment;
    return moment;
}

// Reads an unsigned decimal of 1..maxDigits digits at text[pos], advancing pos.
bool readNumber(const QString& text, int& pos, int maxDigits, int& value) {
    int digits = 0;
    value = 0;
    while (pos < text.size() && digits < maxDigits) {
        const ushort c = text[pos].unicode();
        if (c < '0' || c > '9') break;
        value = value * 10 + (c - '0');
        ++pos;
        ++digits;
    }
    return digits > 0;
}
}  // namespace

QDateTime Clock::now() {
    if (fixedMoment()) return *fixedMoment();
    QDateTime moment = QDateTime::currentDateTime();
    // Stored moments carry whole seconds only.
    moment.setTime(QTime(moment.time().hour(), moment.time().minute(), moment.time().second()));
    return moment;
}

void Clock::setFixed(std::optional<QDateTime> moment) {
    fixedMoment() = std::move(moment);
}

namespace dates {

QDateTime zeroDate() {
    return QDateTime(QDate(1899, 12, 30), QTime(0, 0));
}

QString toStored(const QDateTime& moment) {
    // Written by hand: this runs for every #date# of every text and every stored date.
    const QDate d = moment.date();
    const QTime t = moment.time();
    if (!d.isValid() || d.year() < 0 || d.year() > 9999) return moment.toString(QString::fromLatin1(kStoredFormat));
    char16_t buffer[19];
    auto put = [&buffer](int at, int value, int digits) {
        for (int i = digits - 1; i >= 0; --i) {
            buffer[at + i] = char16_t(u'0' + value % 10);
            value /= 10;
        }
    };
    put(0, d.year(), 4);
    buffer[4] = u'-';
    put(5, d.month(), 2);
    buffer[7] = u'-';
    put(8, d.day(), 2);
    buffer[10] = u' ';
    put(11, t.hour(), 2);
    buffer[13] = u':';
    put(14, t.minute(), 2);
    buffer[16] = u':';
    put(17, t.second(), 2);
    return QString(reinterpret_cast<const QChar*>(buffer), 19);
}
QString toStored(const QDate& day) {
    return toStored(QDateTime(day, QTime(0, 0)));
}

QString toDisplay(const QDateTime& moment) {
    if (moment.time() == QTime(0, 0)) return moment.date().toString(QString::fromLatin1(kDateFormat));
    return moment.toString(QString::fromLatin1(kStoredFormat));
}

QString toDateText(const QDate& day) {
    return day.toString(QString::fromLatin1(kDateFormat));
}

std::optional<QDateTime> parse(const QString& raw) {
    const QString text = raw.trimmed();
    int pos = 0, year = 0, month = 0, day = 0;
    if (!readNumber(text, pos, 4, year) || pos >= text.size() || (text[pos] != u'-' && text[pos] != u'/')) return {};
    ++pos;
    if (!readNumber(text, pos, 2, month) || pos >= text.size() || (text[pos] != u'-' && text[pos] != u'/')) return {};
    ++pos;
    if (!readNumber(text, pos, 2, day)) return {};
    const QDate date(year, month, day);
    if (!date.isValid() || year < 100) return {};
    int hour = 0, minute = 0, second = 0;
    if (pos < text.size()) {
        if (text[pos] != u' ' && text[pos] != u'T') return {};
        while (pos < text.size() && (text[pos] == u' ' || text[pos] == u'T')) ++pos;
        if (!readNumber(text, pos, 2, hour) || pos >= text.size() || text[pos] != u':') return {};
        ++pos;
        if (!readNumber(text, pos, 2, minute)) return {};
        if (pos < text.size() && text[pos] == u':') {
            ++pos;
            if (!readNumber(text, pos, 2, second)) return {};
        }
        if (pos != text.size()) return {};
    }
    const QTime time(hour, minute, second);
    if (!time.isValid()) return {};
    return QDateTime(date, time);
}

std::optional<qint64> julianDay(const QString& text) {
    // Stored form first: it is what every column holds, and this runs once per row in DateDiff.
    if (text.size() >= 10 && text[4] == u'-' && text[7] == u'-') {
        int pos = 0, year = 0, month = 0, day = 0;
        if (readNumber(text, pos, 4, year) && pos == 4) {
            pos = 5;
            if (readNumber(text, pos, 2, month) && pos == 7) {
                pos = 8;
                if (readNumber(text, pos, 2, day) && pos == 10) {
                    const QDate date(year, month, day);
                    if (date.isValid()) return date.toJulianDay();
                }
            }
        }
    }
    if (auto moment = parse(text)) return moment->date().toJulianDay();
    return {};
}

}  // namespace dates
}  // namespace db
