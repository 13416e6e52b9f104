// Times the business analysis and the rental details of one month on the filled shop, without the progress pauses.
#include <QElapsedTimer>
#include <cstdio>
#include <vector>

#include "bench/BenchShop.h"
#include "db/Connection.h"
#include "db/Query.h"
#include "stats/IncomeFigures.h"
#include "stats/RentalDetails.h"
#include "ui/DataGrid.h"

namespace bench {

void benchStats(db::Connection& connection, const ShopSize&) {
    // The shop lends on every day slot of 2016 to 2025: March 2024 holds a sixtieth of its items.
    const stats::Period month{QDate(2024, 3, 1), QDate(2024, 3, 31)};
    QElapsedTimer timer;

    std::vector<double> analysis;
    qint64 lent = 0;
    for (int run = 0; run < 5; ++run) {
        timer.restart();
        const stats::IncomeReport report = stats::IncomeFigures(connection, month).compute();
        analysis.push_back(timer.nsecsElapsed() / 1e6);
        lent = report.counts.rentCount;
    }
    std::printf("statistics analysis: median %.1f ms (one month, %lld items lent)\n", median(analysis),
                static_cast<long long>(lent));

    std::vector<double> details;
    int rows = 0;
    for (int run = 0; run < 5; ++run) {
        timer.restart();
        {
            db::Query list(nullptr, QStringLiteral("QDetail"), &connection);
            list.reopen(stats::RentalDetails::listSql(month));
            ui::GridModel model(&list);
            model.setColumns({{QStringLiteral("发生日期"), QStringLiteral("OccurDate"), ui::ColumnKind::Date},
                              {QStringLiteral("光盘编号"), QStringLiteral("CdCountId_TCdResource")},
                              {QStringLiteral("光盘名称"), QStringLiteral("CdName_TCdResource")},
                              {QStringLiteral("实际出租价格"), QStringLiteral("RentPrice"), ui::ColumnKind::Currency},
                              {QStringLiteral("是否归还"), QStringLiteral("backvalue")}});
            (void)stats::RentalDetails::totals(list);
            rows = list.recordCount();
        }
        details.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("statistics details: median %.1f ms (one month, %d rows)\n", median(details), rows);
}

}  // namespace bench
