#include "stats/RentalDetails.h"

#include "db/Query.h"

namespace stats {

QString RentalDetails::listSql(const Period& period) {
    return QStringLiteral(
               "select ID,Id_RentOperation,OccurDate,CdCountId_TCdResource,CdName_TCdResource,Back,RentPrice,"
               "iif(Back=false,\"否\",\"是\") as backvalue from TRentList where ") +
           periodCondition(QStringLiteral("OccurDate"), period) + QStringLiteral(" order by OccurDate,ID");
}

DetailTotals RentalDetails::totals(const db::Query& list) {
    DetailTotals totals;
    totals.itemCount = list.recordCount();
    const int back = list.columnIndex(QStringLiteral("backvalue"));
    const int price = list.columnIndex(QStringLiteral("RentPrice"));
    const QString yes = QStringLiteral("是");
    for (int row = 0; row < list.recordCount(); ++row) {
        // A price is shown in its shortest exact form, so its text reads back to the same amount.
        db::Money amount;
        if (!db::Money::tryParse(list.displayText(row, price), &amount)) amount = db::Money();
        if (list.displayText(row, back) == yes)
            totals.collected += amount;
        else
            totals.outstanding += amount;
    }
    return totals;
}

}  // namespace stats
