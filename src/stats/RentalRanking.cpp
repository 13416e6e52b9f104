#include "stats/RentalRanking.h"

#include "db/Query.h"

namespace stats {

QString RentalRanking::rankingSql() {
    return QStringLiteral(
        "SELECT TCdResource.Types, Count(*) AS counttypes FROM TCdResource RIGHT JOIN TRentList ON TCdResource.CountId "
        "= TRentList.CdCountId_TCdResource  where TCdResource.SitComYesOrNo<>\"是\"  GROUP BY TCdResource.Types");
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
