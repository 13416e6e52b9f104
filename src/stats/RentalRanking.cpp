#include "stats/RentalRanking.h"

#include "db/Query.h"

namespace stats {

QString RentalRanking::rankingSql() {
    // Rentals are counted per number first and the catalogue is read once per number, not once per rented item:
    // the ranking is read again each time the view comes up.
    return QStringLiteral(
        "SELECT TCdResource.Types, Sum(rented.counts) AS counttypes FROM (select CdCountId_TCdResource, count(*) as "
        "counts from TRentList group by CdCountId_TCdResource) as rented INNER JOIN TCdResource ON TCdResource.CountId "
        "= rented.CdCountId_TCdResource where TCdResource.SitComYesOrNo<>\"是\" GROUP BY TCdResource.Types");
}

QVector<RankingSlice> RentalRanking::read(db::Connection& connection) {
    db::Query q(nullptr, {}, &connection);
    q.reopen(rankingSql());
    QVector<RankingSlice> slices;
    for (q.first(); !q.eof(); q.next())
        slices.push_back(
            {q.field(QStringLiteral("Types")).asString(), q.field(QStringLiteral("counttypes")).asInteger()});
    return slices;
}

}  // namespace stats
