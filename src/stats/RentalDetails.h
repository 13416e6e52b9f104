#pragma once

#include <QString>

#include "db/Money.h"
#include "stats/ReportPeriod.h"

namespace db {
class Query;
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
    // Adds up the rows of an open list exactly, as they are shown.
    static DetailTotals totals(const db::Query& list);
};

}  // namespace stats
