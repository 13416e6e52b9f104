#include "settings/Operators.h"

#include "db/Connection.h"
#include "db/JetDialect.h"
#include "db/Query.h"
#include "db/Transaction.h"

namespace settings {

namespace {

QString rightsOf(const QString& name) {
    return QStringLiteral("select * from TAuthority where UserName=") + jet::quoted(name);
}

}  // namespace

Operators::Operators(db::Connection& connection) : connection_(connection) {}

Operators::Operators() : Operators(db::Connection::shared()) {}

// The operator dialog expects the rights window to have made the rights row: without one the name could not log in.
std::optional<OperatorRefusal> Operators::add(const QString& name) {
    db::Query q(nullptr, {}, &connection_);
    q.reopen(rightsOf(name));
    if (q.isEmpty()) return OperatorRefusal::NoRights;
    q.execSql(QStringLiteral("insert into TPerson (PersonName) values (") + jet::quoted(name) + u')');
    return std::nullopt;
}

void Operators::rename(qint64 personId, const QString& newName) {
    db::Transaction action(connection_);
    followRename(personId, newName);
    db::Query q(nullptr, {}, &connection_);
    q.execSql(QStringLiteral("update TPerson set PersonName=") + jet::quoted(newName) + QStringLiteral(" where id=") +
              jet::number(personId));
    action.commit();
}

// The login finds an operator's password and level by name, so the rights row follows the new name. When another
// operator still carries the old name, that one keeps the row and the renamed operator gets a copy of it.
void Operators::followRename(qint64 personId, const QString& newName) {
    db::Query stored(nullptr, {}, &connection_);
    stored.reopen(QStringLiteral("select PersonName from TPerson where id=") + jet::number(personId));
    if (stored.isEmpty()) return;
    const QString oldName = stored.field(QStringLiteral("PersonName")).asString();
    if (oldName == newName) return;
    db::Query rights(nullptr, {}, &connection_);
    rights.reopen(rightsOf(oldName));
    if (rights.isEmpty()) return;
    db::Query taken(nullptr, {}, &connection_);
    taken.reopen(rightsOf(newName));
    // The new name has rights of its own already (names need not be unique): they stay as they are.
    if (!taken.isEmpty()) return;
    db::Query namesakes(nullptr, {}, &connection_);
    namesakes.reopen(QStringLiteral("select Id from TPerson where PersonName=") + jet::quoted(oldName) +
                     QStringLiteral(" and Id<>") + jet::number(personId));
    if (namesakes.isEmpty()) {
        rights.execSql(QStringLiteral("update TAuthority set UserName=") + jet::quoted(newName) +
                       QStringLiteral(" where UserName=") + jet::quoted(oldName));
        return;
    }
    const QString password = rights.field(QStringLiteral("Passward")).asString();
    const qint64 level = rights.field(QStringLiteral("Authority")).asInteger();
    taken.append();
    taken.field(QStringLiteral("UserName")).setString(newName);
    taken.field(QStringLiteral("Passward")).setString(password);
    taken.field(QStringLiteral("Authority")).setInteger(level);
    taken.post();
}

void Operators::remove(qint64 personId) {
    db::Transaction action(connection_);
    db::Query q(nullptr, {}, &connection_);
    q.reopen(QStringLiteral("select PersonName from TPerson where id=") + jet::number(personId));
    if (q.isEmpty()) return;
    const QString name = q.field(QStringLiteral("PersonName")).asString();
    q.execSql(QStringLiteral("delete * from TAuthority where UserName=") + jet::quoted(name));
    q.execSql(QStringLiteral("delete * from TPerson where id=") + jet::number(personId));
    action.commit();
}

std::optional<OperatorRefusal> Operators::setLevel(const QString& name, int level) {
    // A rights row without a name belongs to nobody and could only ever be reached by a nameless operator.
    if (name.trimmed().isEmpty()) return OperatorRefusal::NoName;
    // The shop must always keep its super user: without level 0 nobody could reach the settings again.
    if (name.trimmed() == QString::fromUtf8(kSuperUser) && level != 0) return OperatorRefusal::SuperUserLevelFixed;
    db::Query rights(nullptr, {}, &connection_);
    rights.reopen(rightsOf(name));
    if (!rights.isEmpty()) {
        rights.edit();
    } else {
        rights.append();
        rights.field(QStringLiteral("UserName")).setString(name);
        rights.field(QStringLiteral("Passward")).setString(QLatin1String(kInitialPassword));
    }
    rights.field(QStringLiteral("Authority")).setInteger(level);
    rights.post();
    return std::nullopt;
}

// A name without a rights row has no password to change; saving one would make a row without a name, and the
// operator would believe a password was set that no login ever reads.
std::optional<OperatorRefusal> Operators::setPassword(const QString& name, const QString& password) {
    db::Query rights(nullptr, {}, &connection_);
    rights.reopen(rightsOf(name));
    if (rights.isEmpty()) return OperatorRefusal::NoRights;
    rights.edit();
    rights.field(QStringLiteral("Passward")).setString(password);
    rights.post();
    return std::nullopt;
}

}  // namespace settings
