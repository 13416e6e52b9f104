// The figures of a period, the rental details and the ranking, computed without any view.
#include <gtest/gtest.h>

#include "db/Connection.h"
#include "db/Query.h"
#include "stats/IncomeFigures.h"
#include "stats/RentalDetails.h"
#include "stats/RentalRanking.h"
#include "stats/ReportPeriod.h"
#include "stats/StatsFixture.h"

using db::Money;
using stats_test::u8;

namespace {

stats::Period period(const char* start, const char* end) {
    return {QDate::fromString(u8(start), Qt::ISODate), QDate::fromString(u8(end), Qt::ISODate)};
}

struct Figure {
    const char* name;
    QString actual;
    QString expected;
};

void expectFigures(const std::vector<Figure>& figures) {
    for (const Figure& f : figures) EXPECT_EQ(f.actual, f.expected) << f.name;
}

class IncomeFiguresTest : public stats_test::StatsDataTest {
protected:
    stats::IncomeReport report(const char* start, const char* end) {
        return stats::IncomeFigures(db::Connection::shared(), period(start, end)).compute();
    }
};

TEST_F(IncomeFiguresTest, NovemberMatchesTheFiguresWorkedOutByHand) {
    fillNovember();
    const stats::IncomeReport r = report("2026-11-01", "2026-11-30");
    const auto n = [](qint64 v) { return QString::number(v); };
    expectFigures({
        {"items lent", n(r.counts.rentCount), "8"},
        {"items back", n(r.counts.backCount), "5"},
        {"member items lent", n(r.counts.memberRentCount), "3"},
        // both member returns, the one on a sheet not yet settled too
        {"member items back", n(r.counts.memberBackCount), "2"},
        {"walk-in items lent", n(r.counts.personRentCount()), "5"},
        {"walk-in items back", n(r.counts.personBackCount()), "3"},
        {"stock", n(r.remainCount), "6"},
        {"walk-in rent paid", r.rent.walkInPaid.toString(), "6.6"},
        {"rent unpaid", r.rent.unpaid.toString(), "6.5"},
        {"deposits held", r.depositsHeld.toString(), "25.5"},
        {"fees of members joined", r.memberFees.toString(), "150"},
        {"renewals", r.profit.renewals.toString(), "130.25"},
        {"rent of returned items", r.profit.returnedRent.toString(), "6.6"},
        {"purchases", r.profit.purchases.toString(), "42.5"},
        // the afternoon sale and the morning write-off of the end date are inside
        {"sales", r.profit.sales.toString(), "28.8"},
        {"write-offs", r.profit.writeOffs.toString(), "12.5"},
        {"profit", r.profit.profit().toString(), "110.65"},
    });
}

TEST_F(IncomeFiguresTest, QuietOrReversedPeriodsGiveZeroButTheStandingTotals) {
    fillNovember();
    for (const auto& [start, end] : {std::pair{"2025-01-01", "2025-01-31"}, std::pair{"2026-11-30", "2026-11-01"}}) {
        const stats::IncomeReport r = report(start, end);
        EXPECT_EQ(r.counts.rentCount, 0) << start;
        EXPECT_EQ(r.counts.backCount, 0) << start;
        EXPECT_EQ(r.counts.memberRentCount, 0) << start;
        EXPECT_EQ(r.counts.memberBackCount, 0) << start;
        EXPECT_EQ(r.rent.walkInPaid, Money()) << start;
        EXPECT_EQ(r.rent.unpaid, Money()) << start;
        EXPECT_EQ(r.memberFees, Money()) << start;
        EXPECT_EQ(r.profit.profit(), Money()) << start;
        // whatever the period
        EXPECT_EQ(r.remainCount, 6) << start;
        EXPECT_EQ(r.depositsHeld.toString(), u8("25.5")) << start;
    }
}

TEST_F(IncomeFiguresTest, AnEmptyShopGivesZeroEverywhere) {
    const stats::IncomeReport r = report("2026-11-01", "2026-11-30");
    EXPECT_EQ(r.counts.rentCount + r.counts.backCount + r.remainCount, 0);
    EXPECT_EQ(r.depositsHeld, Money());
    EXPECT_EQ(r.profit.profit(), Money());
}

TEST_F(IncomeFiguresTest, ManySmallPricesAddUpExactly) {
    const qint64 sheet = addSheet("零客户", false, "0");
    db::Connection::shared().execEngine(QStringLiteral("BEGIN"));
    for (int i = 0; i < 3000; ++i) addItem(sheet, "2026-11-05", "A001", "0.1", true);
    db::Connection::shared().execEngine(QStringLiteral("COMMIT"));
    const stats::IncomeReport r = report("2026-11-01", "2026-11-30");
    EXPECT_EQ(r.rent.walkInPaid, Money::fromInt(300));
    EXPECT_EQ(r.profit.profit(), Money::fromInt(300));
}

TEST(ReportPeriodTest, TheTypedPeriodIsCheckedForMissingThenMalformedDates) {
    struct Case {
        const char* start;
        const char* end;
        stats::PeriodFault fault;
    };
    using F = stats::PeriodFault;
    for (const Case& c : {
             Case{"2026-11-01", "2026-11-30", F::None},
             Case{" 2026-1-5 ", "2026-2-3", F::None},
             Case{"", "2026-11-30", F::Missing},
             Case{"2026-11-01", "  ", F::Missing},
             Case{"", "abc", F::Missing},
             Case{"2026-13-01", "2026-11-30", F::BadStart},
             Case{"11/01/2026", "2026-11-30", F::BadStart},
             Case{"2026-11-01", "2026-02-30", F::BadEnd},
             Case{"2026-11-01", "2026-11-30 10:00", F::BadEnd},
             Case{"x", "y", F::BadStart},
         }) {
        const stats::PeriodCheck check = stats::checkPeriod(u8(c.start), u8(c.end));
        EXPECT_EQ(check.fault, c.fault) << c.start << " .. " << c.end;
    }
    const stats::PeriodCheck check = stats::checkPeriod(u8(" 2026-1-5 "), u8("2026-2-3"));
    EXPECT_EQ(check.period.start, QDate(2026, 1, 5));
    EXPECT_EQ(check.period.end, QDate(2026, 2, 3));
}

class RentalDetailsTest : public stats_test::StatsDataTest {};

TEST_F(RentalDetailsTest, ListsTheItemsOfThePeriodWithTheirTotals) {
    fillNovember();
    struct Case {
        const char* start;
        const char* end;
        QStringList numbers;  // in the order lent
        qint64 items;
        const char* collected;
        const char* outstanding;
    };
    for (const Case& c : {
             Case{"2026-11-01",
                  "2026-11-30",
                  {u8("A001"), u8("A002"), u8("A002"), u8("A001"), u8("S001-1"), u8("A002"), u8("A001"), u8("A003")},
                  8,
                  "6.6",
                  "6.5"},
             Case{"2026-11-30", "2026-11-30", {u8("A001"), u8("A003")}, 2, "1.1", "2.5"},
             Case{"2025-01-01", "2025-01-31", {}, 0, "0", "0"},
         }) {
        db::Query list;
        list.reopen(stats::RentalDetails::listSql(period(c.start, c.end)));
        QStringList numbers;
        for (list.first(); !list.eof(); list.next())
            numbers << list.field(QStringLiteral("CdCountId_TCdResource")).asString();
        EXPECT_EQ(numbers, c.numbers) << c.start;
        const stats::DetailTotals t = stats::RentalDetails::totals(list);
        EXPECT_EQ(t.itemCount, c.items) << c.start;
        EXPECT_EQ(t.collected.toString(), u8(c.collected)) << c.start;
        EXPECT_EQ(t.outstanding.toString(), u8(c.outstanding)) << c.start;
    }
}

TEST_F(RentalDetailsTest, TheBackFlagReadsAsYesOrNo) {
    fillNovember();
    db::Query list;
    list.reopen(stats::RentalDetails::listSql(period("2026-11-30", "2026-11-30")));
    QStringList flags;
    for (list.first(); !list.eof(); list.next()) flags << list.field(QStringLiteral("backvalue")).asString();
    EXPECT_EQ(flags, (QStringList{u8("是"), u8("否")}));
}

class RentalRankingTest : public stats_test::StatsDataTest {};

TEST_F(RentalRankingTest, CountsRentalsOfSingleTitlesByTypeAndLeavesSeriesOut) {
    fillNovember();
    addItem(1, "2026-11-03", "S001", "0", true);  // the series title's own number
    addItem(1, "2026-11-03", "Z999", "2", true);  // a title no longer in the catalogue
    addItem(1, "2026-11-03", "a002", "2", true);  // numbers match whatever their letter case
    const QVector<stats::RankingSlice> slices = stats::RentalRanking::read(db::Connection::shared());
    // A001 five times and A003 once are 动作片, A002 four times is 爱情片; in the order the query groups them.
    EXPECT_EQ(slices, (QVector<stats::RankingSlice>{{u8("动作片"), 6}, {u8("爱情片"), 4}}));
}

TEST_F(RentalRankingTest, NoRentalsGiveNoSlices) {
    addTitle("A001", "动作片", "2026-11-05", "30", 2);
    EXPECT_TRUE(stats::RentalRanking::read(db::Connection::shared()).isEmpty());
}

}  // namespace
