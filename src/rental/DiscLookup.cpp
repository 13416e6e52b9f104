#include "rental/DiscLookup.h"

#include "db/Connection.h"
#include "db/JetDialect.h"
#include "db/Query.h"

namespace rental {

namespace {
Title titleOf(db::Query& q) {
    Title t;
    t.id = q.field(QStringLiteral("ID")).asInteger();
    t.countId = q.field(QStringLiteral("CountId")).asString();
    t.name = q.field(QStringLiteral("CdName")).asString();
    t.types = q.field(QStringLiteral("Types")).asString();
    t.rentPrice = q.field(QStringLiteral("RentPrice")).asMoney();
    t.stock = q.field(QStringLiteral("stock")).asInteger();
    t.series = q.field(QStringLiteral("SitComYesOrNo")).asString() == QStringLiteral("是");
    return t;
}
}  // namespace

DiscLookup::DiscLookup(db::Connection& connection) : connection_(connection) {}

DiscLookup::DiscLookup() : DiscLookup(db::Connection::shared()) {}

Matches DiscLookup::byNumber(const QString& text) {
    return find(QStringLiteral("CountId"), text);
}

Matches DiscLookup::byName(const QString& text) {
    return find(QStringLiteral("CdName"), text);
}

Matches DiscLookup::find(const QString& column, const QString& text) {
    Matches matches;
    db::Query q(nullptr, {}, &connection_);
    const QString where =
        QStringLiteral(" from TCdResource where ") + column + QStringLiteral(" like ") + jet::containsPattern(text);
    q.reopen(QStringLiteral("select count(*) as sumcount") + where);
    matches.count = int(q.field(0).asInteger());
    if (matches.count == 0) return matches;
    // Only the first match is wanted; the list of several opens with its own query.
    q.reopen(QStringLiteral("select *") + where + QStringLiteral(" order by ID limit 1"));
    if (!q.isEmpty()) matches.first = titleOf(q);
    return matches;
}

std::optional<Title> DiscLookup::byId(qint64 id) {
    db::Query q(nullptr, {}, &connection_);
    q.reopen(QStringLiteral("select * from TCdResource where Id=") + jet::number(id));
    if (q.isEmpty()) return std::nullopt;
    return titleOf(q);
}

QString DiscLookup::listSql(const QString& number, const QString& name) {
    if (!number.isEmpty())
        return QStringLiteral("select * from TCdResource Where CountId like") + jet::containsPattern(number);
    return QStringLiteral("select * from TCdResource Where CdName like") + jet::containsPattern(name);
}

}  // namespace rental
