#include "members/Membership.h"

#include "db/Clock.h"
#include "db/Connection.h"
#include "db/JetDialect.h"
#include "db/Query.h"
#include "db/Transaction.h"

namespace members {

namespace {

QString numberOrNull(const std::optional<qint64>& value) {
    return value ? jet::number(*value) : QStringLiteral("null");
}

QString dateOrNull(const QDate& day) {
    return day.isValid() ? jet::dateLiteral(day) : QStringLiteral("null");
}

}  // namespace

Membership::Membership(db::Connection& connection) : connection_(connection) {}

Membership::Membership() : Membership(db::Connection::shared()) {}

std::optional<SchemeRefusal> Membership::checkScheme(const SchemeEntry& scheme) {
    if (scheme.name.isEmpty()) return SchemeRefusal::NoName;
    if (scheme.type.isEmpty()) return SchemeRefusal::NoType;
    if (!scheme.grant) return SchemeRefusal::NoGrant;
    if (*scheme.grant <= 0) return SchemeRefusal::GrantNotPositive;
    if (scheme.fee == db::Money()) return SchemeRefusal::NoFee;
    return std::nullopt;
}

// Members and payments refer to a scheme by its name only, so everything under that name goes, also what belongs to
// another scheme of the same name.
void Membership::deleteScheme(qint64 schemeId) {
    db::Transaction action(connection_);
    db::Query q(nullptr, {}, &connection_);
    q.reopen(QStringLiteral("select SystemName from TMemberSystem where Id=") + jet::number(schemeId));
    if (q.isEmpty()) return;
    const QString name = q.field(QStringLiteral("SystemName")).asString();
    q.execSql(QStringLiteral("delete * from TMemberSystem where Id=") + jet::number(schemeId));
    q.execSql(QStringLiteral("delete * from TMemberResource where AttributeType=") + jet::quoted(name));
    q.execSql(QStringLiteral("delete * from TMemberKeepOnToll where AttributeType=") + jet::quoted(name));
    action.commit();
}

std::optional<MemberRefusal> Membership::checkMember(const MemberEntry& member) const {
    if (member.name.isEmpty()) return MemberRefusal::NoName;
    if (member.number.isEmpty()) return MemberRefusal::NoNumber;
    if (member.scheme.isEmpty()) return MemberRefusal::NoScheme;
    db::Query q(nullptr, {}, &connection_);
    if (member.id != 0) {
        q.reopen(QStringLiteral("select id from TMemberResource where personid=") + jet::quoted(member.number) +
                 QStringLiteral(" and id <>") + jet::number(member.id));
        if (!q.isEmpty()) return MemberRefusal::NumberOfAnother;
    } else {
        q.reopen(QStringLiteral("select id from TMemberResource where PersonId=") + jet::quoted(member.number));
        if (!q.isEmpty()) return MemberRefusal::NumberExists;
    }
    return std::nullopt;
}

// The rows are found under the number stored before this change, so a new number carries the history along.
void Membership::followMember(const MemberEntry& member) {
    db::Query q(nullptr, {}, &connection_);
    q.reopen(QStringLiteral("select PersonId from TMemberResource where id=") + jet::number(member.id));
    if (q.isEmpty()) return;
    const QString storedNumber = q.field(QStringLiteral("PersonId")).asString();
    q.execSql(QStringLiteral("update TMemberKeepOnToll set PersonId=") + jet::quoted(member.number) +
              QStringLiteral(", MemberName=") + jet::quoted(member.name) + QStringLiteral(" where PersonId=") +
              jet::quoted(storedNumber));
}

void Membership::recordJoining(const Joining& joining) {
    db::Query q(nullptr, {}, &connection_);
    q.execSql(QStringLiteral("insert into TMemberKeepOnToll (KeeponDate, PersonId, MemberName, AttributeType, "
                             "AllowDaysOrCounts) values (") +
              dateOrNull(joining.date) + u',' + jet::quoted(joining.number) + u',' + jet::quoted(joining.name) + u',' +
              jet::quoted(joining.scheme) + u',' + numberOrNull(joining.grant) + u')');
}

void Membership::deleteMember(qint64 memberId) {
    db::Transaction action(connection_);
    db::Query q(nullptr, {}, &connection_);
    q.reopen(QStringLiteral("select PersonId from TMemberResource where id=") + jet::number(memberId));
    if (q.isEmpty()) return;
    const QString number = q.field(QStringLiteral("PersonId")).asString();
    q.execSql(QStringLiteral("delete * from TMemberResource where id=") + jet::number(memberId));
    q.execSql(QStringLiteral("delete * from TMemberKeepOnToll where PersonId=") + jet::quoted(number));
    action.commit();
}

std::optional<RenewalRefusal> Membership::renew(const Renewal& renewal) {
    if (renewal.scheme.isEmpty()) return RenewalRefusal::NoScheme;
    db::Transaction action(connection_);
    db::Query member(nullptr, {}, &connection_);
    member.reopen(QStringLiteral("select * FROM TMemberResource where PersonId=") + jet::quoted(renewal.number));
    // Renewing a number nobody has would make a member row holding only the renewal.
    if (member.isEmpty()) return RenewalRefusal::NoMember;
    db::Query scheme(nullptr, {}, &connection_);
    scheme.reopen(QStringLiteral("select * from TMemberSystem where SystemName=") + jet::quoted(renewal.scheme));
    const qint64 grant = scheme.field(QStringLiteral("RewardDaysOrCounts")).asInteger();
    const db::Money fee = scheme.field(QStringLiteral("PayCash")).asMoney();
    const qint64 memberId = member.field(QStringLiteral("id")).asInteger();
    const qint64 remain = member.field(QStringLiteral("RemainDaysOrCounts")).asInteger() + grant;

    member.execSql(QStringLiteral("update TMemberResource set AllowDaysOrCounts=") + jet::number(grant) +
                   QStringLiteral(", AttributeType=") + jet::quoted(renewal.scheme) +
                   QStringLiteral(", RemainDaysOrCounts=") + jet::number(remain) + QStringLiteral(" where id=") +
                   jet::number(memberId));
    member.execSql(QStringLiteral("insert into TMemberKeepOnToll (KeeponDate, PersonId, MemberName, PayCash, "
                                  "AttributeType, AllowDaysOrCounts) values (") +
                   jet::dateLiteral(db::Clock::today()) + u',' + jet::quoted(renewal.number) + u',' +
                   jet::quoted(renewal.paidBy) + u',' + jet::number(fee) + u',' + jet::quoted(renewal.scheme) + u',' +
                   jet::number(grant) + u')');
    action.commit();
    return std::nullopt;
}

}  // namespace members
