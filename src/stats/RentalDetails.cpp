#include "stats/RentalDetails.h"

#include "db/Query.h"

namespace stats {

QString RentalDetails::listSql(const Period& period) {
    return QStringLiteral(
               "select ID,Id_RentOperation,OccurDate,CdCountId_TCdResource,CdName_TCdResource,Back,RentPrice,"
               "iif(Back=false,\"否\",\"是\") as backvalue from TRentList where ") +
           periodCondition(QStringLiteral("OccurDate"), period) + QStringLiteral(" order by OccurDate,ID");
}

DetailTotals RentalDetails::totals(db::Connection& connection, const Period& period) {
    db::Query q(nullptr, {}, &connection);
    q.reopen(QStringLiteral("select count(*) as counts, sum(iif(Back=true,round(RentPrice*10000),0)) as rmoney, "
                            "sum(iif(Back=false,round(RentPrice*10000),0)) as nmoney from TRentList where ") +
             periodCondition(QStringLiteral("OccurDate"), period));
    DetailTotals totals;
    totals.itemCount = q.field(QStringLiteral("counts")).asInteger();
    totals.collected = db::Money::fromUnits(q.field(QStringLiteral("rmoney")).asInteger());
    totals.outstanding = db::Money::fromUnits(q.field(QStringLiteral("nmoney")).asInteger());
    return totals;
}

}  // namespace stats
