#pragma once

#include <QString>

// What the member views share.
namespace members {

// The two kinds of scheme: the grant is a number of days, or a number of discs.
inline QString dayScheme() {
    return QStringLiteral("按天数优惠");
}
inline QString countScheme() {
    return QStringLiteral("按部数优惠");
}

}  // namespace members
