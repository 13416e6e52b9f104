// Times the counter's own actions on the large shop, through the classes the views call.
#include <QElapsedTimer>
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

#include "app/Startup.h"
#include "app/Views.h"
#include "bench/BenchShop.h"
#include "db/Clock.h"
#include "db/Connection.h"
#include "db/JetDialect.h"
#include "db/Query.h"
#include "rental/DiscLookup.h"
#include "rental/Rentals.h"
#include "rental/TCdRentBackFm.h"
#include "rental/TQuickSearchFm.h"
#include "ui/DataGrid.h"

namespace bench {

namespace {

constexpr int kRuns = 7;

// The median of kRuns timed calls; `prepare` runs untimed before each.
double timeMs(const std::function<void()>& action, const std::function<void()>& prepare = {}) {
    std::vector<double> runs;
    QElapsedTimer timer;
    for (int run = 0; run < kRuns; ++run) {
        if (prepare) prepare();
        timer.restart();
        action();
        runs.push_back(timer.nsecsElapsed() / 1e6);
    }
    return median(runs);
}

QString titleNumber(int i) {
    return QStringLiteral("D%1").arg(i, 6, 10, QLatin1Char('0'));
}

}  // namespace

void benchRental(db::Connection& connection, const ShopSize& size) {
    (void)connection;
    rental::Rentals rentals;
    rental::DiscLookup lookup;
    const rental::Renter walkIn{rental::walkInRenter(), {}};
    std::vector<std::pair<const char*, double>> lines;
    int next = 1;  // the titles lent by the timed actions: plain titles (not a multiple of ten)
    auto nextTitle = [&] {
        if (next % 10 == 0) ++next;
        return titleNumber(next++ % size.titles);
    };
    auto item = [&] { return rental::NewItem{db::Clock::today(), nextTitle(), QStringLiteral("影片"), "2"}; };

    lines.emplace_back("open the desk (default list, items, both counters)", timeMs([] { TCdRentBackFm desk; }));
    lines.emplace_back("lookup by a unique number", timeMs([&] { lookup.byNumber(titleNumber(12345)); }));
    lines.emplace_back("lookup by part of a name matching several titles", timeMs([&] {
                           const rental::Matches m = lookup.byName(QStringLiteral("影片1234"));
                           db::Query list;
                           list.reopen(rental::DiscLookup::listSql({}, QStringLiteral("影片1234")));
                           if (m.count != 2 || list.recordCount() < 2) std::printf("name lookup: %d\n", m.count);
                       }));
    lines.emplace_back("save one item (row, stock, member)", timeMs([&] {
                           rentals.saveItem(0, {rental::memberRenter(), QStringLiteral("M0007")}, item());
                       }));
    rentals.cancelNewSheet();
    const rental::SheetHeader header{QStringLiteral("超级用户"), walkIn, db::Money::fromInt(50), {}, {}, "3"};
    lines.emplace_back("confirm a new sheet of three items", timeMs([&] { rentals.confirmNewSheet(header); },
                                                                    [&] {
                                                                        for (int i = 0; i < 3; ++i)
                                                                            rentals.saveItem(0, walkIn, item());
                                                                    }));

    // Sheets of five items lent three days ago, for the returns.
    std::vector<qint64> sheets;
    std::vector<QVector<qint64>> items;
    db::Clock::setFixed(QDateTime(db::Clock::today().addDays(-3), QTime(10, 0)));
    for (int s = 0; s < kRuns; ++s) {
        for (int i = 0; i < 5; ++i) rentals.saveItem(0, walkIn, item());
        sheets.push_back(rentals.confirmNewSheet(header));
        db::Query q;
        q.reopen(QStringLiteral("select ID from TRentList where Id_RentOperation=") + jet::number(sheets.back()));
        QVector<qint64> ids;
        for (q.first(); !q.eof(); q.next()) ids << q.field(0).asInteger();
        items.push_back(ids);
    }
    db::Clock::setFixed(std::nullopt);
    int sheet = 0;
    lines.emplace_back(
        "part return of two items of five with settlement", timeMs([&] {
            const rental::ReturnPlan plan = rentals.planReturn(sheets[sheet], {items[sheet][0], items[sheet][1]});
            rentals.applyReturn(plan, {plan.due, true});
            ++sheet;
        }));
    sheet = 0;
    lines.emplace_back("final return", timeMs([&] {
                           const rental::ReturnPlan plan = rentals.planReturn(sheets[sheet], items[sheet].mid(2));
                           rentals.applyReturn(plan, {plan.due, false});
                           ++sheet;
                       }));
    lines.emplace_back("quick search by number", timeMs([&] {
                           db::Query q;
                           q.reopen(rental::quickSearchSql(titleNumber(54321), {}, {}, {}));
                       }));
    lines.emplace_back("build the overdue list", timeMs([&] {
                           db::Query q;
                           q.reopen(
                               QStringLiteral("select * from TRentList where DateDiff(\"d\",OccurDate,now())>3 "
                                              "and Back=false"));
                       }));

    const char* slowest = nullptr;
    double slowestMs = -1;
    for (const auto& [name, ms] : lines) {
        std::printf("%s: %.1f ms\n", name, ms);
        if (ms > slowestMs) {
            slowestMs = ms;
            slowest = name;
        }
    }

    std::vector<double> startups;
    QElapsedTimer timer;
    for (int run = 0; run < 3; ++run) {
        timer.restart();
        createMainWindow(false);
        startups.push_back(timer.nsecsElapsed() / 1e6);
        destroyViews();
    }
    std::printf("start-up from the data module to the main window with its sixteen views: %.1f ms\n", median(startups));
    std::printf("slowest counter action: %s, %.1f ms\n", slowest, slowestMs);
}

}  // namespace bench
