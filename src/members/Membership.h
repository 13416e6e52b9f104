#pragma once

#include <QDate>
#include <QString>
#include <optional>

#include "db/Money.h"

namespace db {
class Connection;
}

namespace members {

// A scheme as typed in the scheme panel.
struct SchemeEntry {
    QString name;
    QString type;
    std::optional<qint64> grant;  // none when the box was left empty
    db::Money fee;
};

// Why a scheme is not saved, in the order the checks run. NoFee is a question rather than a refusal: the form may
// save the scheme with fee 0 when the operator does not confirm the notice.
enum class SchemeRefusal { NoName, NoType, NoGrant, GrantNotPositive, NoFee };

// A member row about to be written, as the member panel shows it.
struct MemberEntry {
    qint64 id = 0;  // 0 for a member not stored yet
    QString number;
    QString name;
    QString scheme;
};

enum class MemberRefusal {
    NoName,
    NoNumber,
    NoScheme,
    NumberOfAnother,  // a stored member is changed to a number another member has
    NumberExists,     // a new member has the number of a stored one
};

// The first payment row of a new member: what the panel showed when the member was saved.
struct Joining {
    QString number;
    QString name;
    QString scheme;
    QDate date;                   // invalid when none was shown
    std::optional<qint64> grant;  // none when none was shown
};

// A further payment: the member handed to the renewal, the name typed for the payment row and the scheme chosen.
struct Renewal {
    QString number;
    QString paidBy;
    QString scheme;
};

enum class RenewalRefusal { NoScheme, NoMember };

// What members pay for and what goes with them: the rules behind the member view and the renewal dialog. Every
// action that writes several rows does so as one: when any statement fails, none of it stays.
class Membership {
public:
    explicit Membership(db::Connection& connection);
    // On the shared connection.
    Membership();

    static std::optional<SchemeRefusal> checkScheme(const SchemeEntry& scheme);
    // Deletes the scheme row, every member of a scheme of that name and every payment row made under that name.
    void deleteScheme(qint64 schemeId);

    std::optional<MemberRefusal> checkMember(const MemberEntry& member) const;
    // Part of saving a changed member: the payment rows stored under the member's number before the change take the
    // new number and name. Runs inside the save of the member row.
    void followMember(const MemberEntry& member);
    // Part of saving a new member: its joining payment row (no fee: the scheme's fee counts as the joining fee).
    void recordJoining(const Joining& joining);
    // Deletes the member row and the payment rows of its number.
    void deleteMember(qint64 memberId);

    // The scheme's grant is added to what the member has left, the member moves to the scheme, and the payment is
    // recorded with today's date. A name no scheme has renews with grant 0 and fee 0.
    std::optional<RenewalRefusal> renew(const Renewal& renewal);

private:
    db::Connection& connection_;
};

}  // namespace members
