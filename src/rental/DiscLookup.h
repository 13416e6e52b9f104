#pragma once

#include <QString>
#include <QVector>
#include <optional>

#include "db/Money.h"

namespace db {
class Connection;
}

namespace rental {

// A title as the sheet's lookup needs it.
struct Title {
    qint64 id = 0;
    QString countId;
    QString name;
    QString types;
    db::Money rentPrice;
    qint64 stock = 0;
    bool series = false;
};

// Whether none, one or several titles matched a lookup, and the first of them.
struct Matches {
    int count = 0;  // 0, 1, or 2 for two and more
    Title first;
};

// Finds titles by part of their number or name (wildcards typed keep their pattern meaning). Only reads.
class DiscLookup {
public:
    explicit DiscLookup(db::Connection& connection);
    DiscLookup();

    Matches byNumber(const QString& text);
    Matches byName(const QString& text);
    std::optional<Title> byId(qint64 id);

    // The selection list's text: by number when one is given, else by name (no name: every title).
    static QString listSql(const QString& number, const QString& name);

private:
    Matches find(const QString& column, const QString& text);
    db::Connection& connection_;
};

}  // namespace rental
