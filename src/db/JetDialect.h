#pragma once

#include <QDate>
#include <QString>
#include <memory>

#include "db/Money.h"

// The views write their SQL in the Jet dialect; this turns each text into SQL the engine runs, keeping its meaning.
namespace jet {

// The one way a typed or stored text enters an SQL text: between double quotes, a double quote inside doubled.
QString quoted(const QString& text);
// A like pattern that finds the text anywhere: "*" + text + "*", quoted. Wildcards typed inside keep their meaning.
QString containsPattern(const QString& text);
// #yyyy-MM-dd#
QString dateLiteral(const QDate& day);
// Money in the shortest plain decimal form, as the texts compare prices.
inline QString number(db::Money amount) {
    return amount.toString();
}
inline QString number(qint64 value) {
    return QString::number(value);
}

struct Translation {
    QString sql;  // the engine's text
    bool isSelect = false;
    // Set when the text is a plain select from one table, so its rows can be written back.
    QString table;
    QString selectList;  // the translated columns between SELECT and FROM
    QString tail;        // the translated text after the table name (where, order by)
};

// Throws db::Error for texts the dialect itself rejects (an unterminated string, a bad #date#).
Translation translate(const QString& jetText);

// Jet's like: * any run, ? one character, # one digit, [..] one of a set ([!..] none of it); case ignored.
bool likeMatch(const QString& pattern, const QString& text);

// A like pattern compiled once, for the engine's like() over many rows.
class LikePattern {
public:
    explicit LikePattern(const QString& pattern);
    ~LikePattern();
    LikePattern(const LikePattern&) = delete;
    LikePattern& operator=(const LikePattern&) = delete;
    bool matches(const QString& text) const;

private:
    struct Items;
    std::unique_ptr<Items> items_;
};

}  // namespace jet
