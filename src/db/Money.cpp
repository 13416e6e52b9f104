#include "db/Money.h"

#include <cmath>

#include "db/Errors.h"

namespace db {

Money Money::fromDouble(double yuan) {
    // Beyond this the units no longer fit; llround would hand back a huge negative amount.
    constexpr double kLargestYuan = 9.0e14;
    if (!std::isfinite(yuan) || std::fabs(yuan) > kLargestYuan)
        throw Error(QStringLiteral("'%1' is not a valid currency value").arg(yuan));
    return Money(qint64(std::llround(yuan * kUnitsPerYuan)));
}

bool Money::tryParse(const QString& raw, Money* out) {
    const QString text = raw.trimmed();
    int i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    qint64 whole = 0;
    int wholeDigits = 0;
    while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128) {
        whole = whole * 10 + (text[i].unicode() - '0');
        if (whole > 900000000000000LL) return false;
        ++wholeDigits;
        ++i;
    }
    qint64 fraction = 0;
    int fractionDigits = 0;
    int roundDigit = -1;
    bool stickyAfterRound = false;
    if (i < text.size() && text[i] == u'.') {
        ++i;
        while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128) {
            const int d = text[i].unicode() - '0';
            if (fractionDigits < 4) {
                fraction = fraction * 10 + d;
                ++fractionDigits;
            } else if (roundDigit < 0) {
                roundDigit = d;
            } else if (d != 0) {
                stickyAfterRound = true;
            }
            ++i;
        }
        if (wholeDigits == 0 && fractionDigits == 0) return false;
    } else if (wholeDigits == 0) {
        return false;
    }
    if (i != text.size()) return false;
    while (fractionDigits < 4) {
        fraction *= 10;
        ++fractionDigits;
    }
    qint64 units = whole * kUnitsPerYuan + fraction;
    if (roundDigit > 5 || (roundDigit == 5 && (stickyAfterRound || (units % 2) != 0))) ++units;
    if (units > kMaxTypedYuan * kUnitsPerYuan) return false;
    *out = Money(negative ? -units : units);
    return true;
}

QString Money::toString() const {
    const qint64 magnitude = units_ < 0 ? -units_ : units_;
    QString text = QString::number(magnitude / kUnitsPerYuan);
    qint64 fraction = magnitude % kUnitsPerYuan;
    if (fraction != 0) {
        QString digits = QString::number(fraction).rightJustified(4, u'0');
        while (digits.endsWith(u'0')) digits.chop(1);
        text += u'.' + digits;
    }
    return units_ < 0 ? u'-' + text : text;
}

Money Money::roundedToYuan() const {
    const qint64 whole = units_ / kUnitsPerYuan;  // truncates toward zero
    const qint64 rest = units_ % kUnitsPerYuan;
    const qint64 half = kUnitsPerYuan / 2;
    qint64 rounded = whole;
    const qint64 absRest = rest < 0 ? -rest : rest;
    if (absRest > half || (absRest == half && (whole % 2) != 0)) rounded += (units_ < 0 ? -1 : 1);
    return Money(rounded * kUnitsPerYuan);
}

}  // namespace db
