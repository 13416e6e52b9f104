#pragma once

#include <QString>

#include "db/Money.h"
#include "stats/ReportPeriod.h"

namespace db {
class Connection;
}

namespace stats {

// The footer of the rental details: how many items were lent in the period and their rent, back and still out.
struct DetailTotals {
    qint64 itemCount = 0;
    db::Money collected;    // items back, settled sheet or not
    db::Money outstanding;  // items still out
};

// Every item lent in a period, and its totals.
class RentalDetails {
public:
    // The list of the period's items in the order lent, with the flag "是" or "否" for back.
    static QString listSql(const Period& period);
    // The totals of the same items, added up by the engine in 1/10000 yuan.
    static DetailTotals totals(db::Connection& connection, const Period& period);
};

}  // namespace stats
