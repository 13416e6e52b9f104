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
    // Whether none, one or several titles match is all the lookup needs: one pass that stops at the second.
    db::Query q(nullptr, {}, &connection_);
    q.reopen(QStringLiteral("select * from TCdResource where ") + column + QStringLiteral(" like ") +
             jet::containsPattern(text) + QStringLiteral(" limit 2"));
    Matches matches;
    matches.count = q.recordCount();
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
