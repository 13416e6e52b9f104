#pragma once

#include <QString>

// The values the tables hold with a meaning of their own, named once for every layer: the yes/no flags, the renter
// kinds, the scheme kinds and the protected rows that every fresh database starts with.
namespace vocab {

// Yes/no flags of SitComYesOrNo, BackStatus and Awoke (only TRentList.Back is a boolean).
inline QString yes() {
    return QStringLiteral("是");
}
inline QString no() {
    return QStringLiteral("否");
}
// Whether a title is a series, from its SitComYesOrNo: the one place this is decided.
inline bool isSeries(const QString& sitComYesOrNo) {
    return sitComYesOrNo == yes();
}

// TRentOperation.RentPerson
inline QString walkInRenter() {
    return QStringLiteral("零客户");
}
inline QString memberRenter() {
    return QStringLiteral("会员");
}

// TMemberSystem.SystemType: the grant is a number of days, or a number of discs.
inline QString dayScheme() {
    return QStringLiteral("按天数优惠");
}
inline QString countScheme() {
    return QStringLiteral("按部数优惠");
}

// The rows no operator may delete or rename.
inline QString superUser() {
    return QStringLiteral("超级用户");
}
inline QString otherType() {
    return QStringLiteral("其它类型");
}
inline QString defaultStandard() {
    return QStringLiteral("默认标准");
}

}  // namespace vocab
