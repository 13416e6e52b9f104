#pragma once

#include <QString>
#include <QtGlobal>

namespace db {

// A money amount in yuan, fixed-point with four decimals, so that sums of prices stay exact.
class Money {
public:
    static constexpr qint64 kUnitsPerYuan = 10000;
    // The largest amount an operator may type (either sign): amounts are stored as floating point, which keeps
    // every 1/10000 of a yuan exact far beyond it.
    static constexpr qint64 kMaxTypedYuan = 1000000000;

    constexpr Money() = default;
    static constexpr Money fromUnits(qint64 units) { return Money(units); }
    // Throws db::Error for a value that is not a finite number or is too large for any amount.
    static Money fromDouble(double yuan);
    static Money fromInt(qint64 yuan) { return Money(yuan * kUnitsPerYuan); }
    // Parses a plain decimal ("3", "2.5", "-0.75", " 12 "); more than four decimals are rounded half to even.
    // Returns false for anything that is not a number and for amounts beyond kMaxTypedYuan.
    static bool tryParse(const QString& text, Money* out);

    constexpr qint64 units() const { return units_; }
    double toDouble() const { return double(units_) / kUnitsPerYuan; }
    // Shortest plain decimal: 3, 2.5, 0.0001, -12.25; no separators or currency sign.
    QString toString() const;
    // Rounds to whole yuan, half to even.
    Money roundedToYuan() const;

    friend constexpr Money operator+(Money a, Money b) { return Money(a.units_ + b.units_); }
    friend constexpr Money operator-(Money a, Money b) { return Money(a.units_ - b.units_); }
    friend constexpr Money operator*(Money a, qint64 n) { return Money(a.units_ * n); }
    Money& operator+=(Money o) {
        units_ += o.units_;
        return *this;
    }
    Money& operator-=(Money o) {
        units_ -= o.units_;
        return *this;
    }
    friend constexpr bool operator==(Money a, Money b) { return a.units_ == b.units_; }
    friend constexpr bool operator!=(Money a, Money b) { return a.units_ != b.units_; }
    friend constexpr bool operator<(Money a, Money b) { return a.units_ < b.units_; }
    friend constexpr bool operator>(Money a, Money b) { return a.units_ > b.units_; }
    friend constexpr bool operator<=(Money a, Money b) { return a.units_ <= b.units_; }
    friend constexpr bool operator>=(Money a, Money b) { return a.units_ >= b.units_; }

private:
    constexpr explicit Money(qint64 units) : units_(units) {}
    qint64 units_ = 0;
};

}  // namespace db
