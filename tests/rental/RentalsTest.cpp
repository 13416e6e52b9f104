#include "db/Connection.h"
#include "db/Errors.h"
#include "rental/RentalTestSupport.h"

using rental::AfterDelete;
using rental::Refusal;
using rental_tests::ShopTest;

namespace {

db::Money money(const char* text) {
    db::Money m;
    EXPECT_TRUE(db::Money::tryParse(QString::fromUtf8(text), &m)) << text;
    return m;
}

Refusal refusalOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const rental::Refused& refused) {
        return refused.reason();
    }
    ADD_FAILURE() << "not refused";
    return Refusal::NoItems;
}

class RentalsTest : public ShopTest {};

TEST(RentalMoney, ChargeIsThePricePerDayTimesTheDaysOutAtLeastOne) {
    struct Case {
        const char* price;
        qint64 days;
        const char* charge;
    } cases[] = {{"3", 0, "3"},     {"3", 1, "3"}, {"3", 4, "12"},
                 {"2.5", 3, "7.5"}, {"0", 5, "0"}, {"1.2345", 2, "2.469"}};
    for (const Case& c : cases) EXPECT_EQ(rental::chargeFor(money(c.price), c.days), money(c.charge)) << c.price;
}

TEST(RentalMoney, ShareIsRoundedToTenThousandthsWithTiesToEven) {
    struct Case {
        const char* amount;
        int items;
        const char* share;
    } cases[] = {
        {"15", 2, "7.5"},        {"10", 3, "3.3333"},     {"20", 3, "6.6667"},     {"0.0001", 2, "0"},
        {"0.0003", 2, "0.0002"}, {"0.0005", 2, "0.0002"}, {"0.0007", 2, "0.0004"}, {"-0.0003", 2, "-0.0002"},
        {"-10", 3, "-3.3333"},   {"12", 1, "12"},         {"0", 4, "0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(rental::shareOf(money(c.amount), c.items), money(c.share)) << c.amount << " / " << c.items;
}

TEST(RentalMoney, SettlementBoxIsTheDueWhenEmptyAndRefusesWhatIsNoAmount) {
    struct Case {
        const char* text;
        bool ok;
        const char* amount;
    } cases[] = {{"", true, "15"},  {"  ", true, "15"}, {"10", true, "10"},   {"0", true, "0"},  {"7.25", true, "7.25"},
                 {"-1", false, ""}, {"abc", false, ""}, {"1,000", false, ""}, {"3元", false, ""}};
    for (const Case& c : cases) {
        db::Money out;
        EXPECT_EQ(rental::readSettlementAmount(QString::fromUtf8(c.text), money("15"), &out), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(out, money(c.amount)) << c.text;
        }
    }
}

TEST_F(RentalsTest, ThreeItemsConfirmedBecomeOneSheetUnderTheLargestNumber) {
    addTitle("A1", "甲");
    addTitle("A2", "乙");
    const qint64 series = addTitle("S1", "连续剧", 2, "3", "是");
    addVolume(series, "S1-12", "连续剧", 2);
    addSheet("零客户", "50");  // an older sheet: the new one must come after it
    rentals.saveItem(0, walkIn, item("A1", "2"));
    rentals.saveItem(0, walkIn, item("A2", "2.5"));
    const rental::SavedItem last = rentals.saveItem(0, walkIn, item("S1-12", "3"));
    EXPECT_EQ(last.sheetItems, 3);

    rental::SheetHeader header{"超级用户", walkIn, money("50"), "身份证", "三天内还", "3"};
    const qint64 id = rentals.confirmNewSheet(header);
    EXPECT_EQ(id, scalarInt("select max(ID) from TRentOperation"));
    EXPECT_EQ(count("TRentList", "where Id_RentOperation=" + QString::number(id)), 3);
    EXPECT_EQ(count("TRentList", "where Id_RentOperation=0"), 0);
    db::Query row;
    row.reopen(
        "select OccurPerson, RentPerson, PersonId, Deposit, OtherMortagage, Explain, RentCount, BackStatus "
        "from TRentOperation where ID=" +
        QString::number(id));
    QStringList values;
    for (int c = 0; c < row.columns().size(); ++c) values << row.field(c).asString();
    EXPECT_EQ(values, (QStringList{"超级用户", "零客户", "", "50", "身份证", "三天内还", "3", "否"}));
    EXPECT_EQ(scalarText("select RentPrice from TRentList where CdCountId_TCdResource=\"A2\""), "2.5");
    EXPECT_EQ(scalarText("select OccurDate from TRentList where CdCountId_TCdResource=\"A2\""), "2026-12-10");
    // Titles and the volume lose one each; the series title keeps its own.
    EXPECT_EQ(stockOf("A1"), 2);
    EXPECT_EQ(stockOf("A2"), 2);
    EXPECT_EQ(stockOf("S1"), 2);
    EXPECT_EQ(volumeStock("S1-12"), 1);
    EXPECT_EQ(rentals.openSheets(), 2);
    EXPECT_EQ(rentals.itemsOut(), 3);
}

TEST_F(RentalsTest, ConfirmingANewSheetWithoutItemsIsRefused) {
    rental::SheetHeader header{"超级用户", walkIn, money("50"), {}, {}, "0"};
    EXPECT_EQ(refusalOf([&] { rentals.confirmNewSheet(header); }), Refusal::NoItems);
    EXPECT_EQ(count("TRentOperation"), 0);
}

TEST_F(RentalsTest, SavingAnItemWritesThePriceForWalkInsAndTakesAMembersDayOrDisc) {
    addTitle("A1", "甲", 3, "2.5");
    addMember("M1", "按天数优惠", 30, 20);
    addMember("M2", "按部数优惠", 10, 4);
    struct Case {
        rental::Renter renter;
        const char* price;
        const char* member;
        qint64 remainAfter;
    } cases[] = {
        {walkIn, "2.5", "", -1},
        {memberRenter("M1"), "0", "M1", 19},
        {memberRenter("M2"), "0", "M2", 3},
    };
    qint64 stock = 3;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.renter.kind.toStdString() + " " + c.member);
        const rental::SavedItem saved = rentals.saveItem(0, c.renter, item("A1", "2.5"));
        EXPECT_EQ(scalarText("select RentPrice from TRentList where ID=" + QString::number(saved.itemId)), c.price);
        EXPECT_EQ(scalarInt("select count(*) from TRentList where Back=false and ID=" + QString::number(saved.itemId)),
                  1);
        EXPECT_EQ(stockOf("A1"), --stock);
        if (c.remainAfter >= 0) {
            EXPECT_EQ(remainOf(c.member), c.remainAfter);
        }
    }
    EXPECT_EQ(remainOf("M1"), 19);
}

TEST_F(RentalsTest, SavingAnItemWithoutAPriceIsRefusedAndANumberWithoutTitleTakesNoStock) {
    addTitle("A1", "甲");
    EXPECT_EQ(refusalOf([&] { rentals.saveItem(0, walkIn, item("A1", "")); }), Refusal::NoPrice);
    EXPECT_EQ(count("TRentList"), 0);
    rentals.saveItem(0, walkIn, item("ZZ9", "2"));
    EXPECT_EQ(count("TRentList"), 1);
    EXPECT_EQ(stockOf("A1"), 3);
}

TEST_F(RentalsTest, StartingAnEntryChecksTheRenterInOrder) {
    addMember("M0", "按部数优惠", 10, 0);
    addMember("MN", "按部数优惠", 10, -2);
    struct Case {
        rental::Renter renter;
        Refusal reason;
    } cases[] = {
        {{"", ""}, Refusal::NoRenter},
        {{"", "M0"}, Refusal::NoRenter},
        {memberRenter(""), Refusal::NoMemberNumber},
        {memberRenter("X9"), Refusal::MemberNotFound},
        {memberRenter("M0"), Refusal::MemberExpired},
        {memberRenter("MN"), Refusal::MemberExpired},
    };
    for (const Case& c : cases)
        EXPECT_EQ(refusalOf([&] { rentals.beginEntry(c.renter); }), c.reason) << c.renter.memberId.toStdString();
    EXPECT_FALSE(rentals.beginEntry(walkIn).found);
}

TEST_F(RentalsTest, ADayMemberHasHisRemainingDaysRecomputedAtEachEntry) {
    // Joined nine days ago with 30 days: 21 left, whatever was stored.
    addMember("D1", "按天数优惠", 30, 5, kNow.date().addDays(-9));
    addMember("C1", "按部数优惠", 10, 5, kNow.date().addDays(-9));
    const rental::MemberState days = rentals.beginEntry(memberRenter("D1"));
    EXPECT_FALSE(days.byCounts);
    EXPECT_EQ(days.allow, 30);
    EXPECT_EQ(days.remain, 21);
    EXPECT_EQ(remainOf("D1"), 21);
    const rental::MemberState counts = rentals.beginEntry(memberRenter("C1"));
    EXPECT_TRUE(counts.byCounts);
    EXPECT_EQ(counts.remain, 5);
    EXPECT_EQ(remainOf("C1"), 5);
}

TEST_F(RentalsTest, ADayMemberWhoseDaysRanOutMayStartOnceOnTheStoredValueThenIsRefused) {
    addMember("D1", "按天数优惠", 30, 2, kNow.date().addDays(-40));
    EXPECT_EQ(rentals.beginEntry(memberRenter("D1")).remain, -10);
    EXPECT_EQ(remainOf("D1"), -10);
    EXPECT_EQ(refusalOf([&] { rentals.beginEntry(memberRenter("D1")); }), Refusal::MemberExpired);
}

TEST_F(RentalsTest, CancellingANewSheetGivesEveryStockAndMemberDiscBack) {
    addTitle("A1", "甲");
    const qint64 series = addTitle("S1", "连续剧", 2, "3", "是");
    addVolume(series, "S1-12", "连续剧", 2);
    addMember("M1", "按部数优惠", 10, 5);
    const qint64 older = addSheet("零客户", "50");
    addItem(older, "A1", "2", 1);
    rentals.saveItem(0, memberRenter("M1"), item("A1"));
    rentals.saveItem(0, memberRenter("M1"), item("S1-12"));
    EXPECT_EQ(remainOf("M1"), 3);
    EXPECT_EQ(volumeStock("S1-12"), 1);

    rentals.cancelNewSheet();
    EXPECT_EQ(count("TRentList", "where Id_RentOperation=0"), 0);
    EXPECT_EQ(count("TRentList"), 1);  // the older sheet's item stays
    EXPECT_EQ(stockOf("A1"), 3);
    EXPECT_EQ(volumeStock("S1-12"), 2);
    EXPECT_EQ(stockOf("S1"), 2);
    EXPECT_EQ(remainOf("M1"), 5);
}

TEST_F(RentalsTest, DeletingAnItemGivesItsStockBackToTheTitleOrTheVolume) {
    addTitle("A1", "甲", 2);
    const qint64 series = addTitle("S1", "连续剧", 2, "3", "是");
    addVolume(series, "S1-12", "连续剧", 1);
    const qint64 sheet = addSheet("零客户", "50");
    const qint64 keep = addItem(sheet, "A1", "2", 0);
    struct Case {
        const char* number;
        bool restored;
        qint64 titleStock, volumeStock;
    } cases[] = {{"A1", true, 3, 1}, {"S1-12", true, 3, 2}, {"GONE", false, 3, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        const qint64 id = addItem(sheet, c.number, "2", 0);
        const rental::DeleteResult result = rentals.deleteItem(id, sheet, walkIn);
        EXPECT_EQ(result.stockRestored, c.restored);
        EXPECT_EQ(result.after, AfterDelete::ItemsRemain);
        EXPECT_EQ(result.openItems, 1);
        EXPECT_EQ(stockOf("A1"), c.titleStock);
        EXPECT_EQ(volumeStock("S1-12"), c.volumeStock);
    }
    EXPECT_EQ(count("TRentList"), 1);
    EXPECT_EQ(scalarInt("select ID from TRentList"), keep);
}

TEST_F(RentalsTest, DeletingAMembersItemGivesHimBackHisDayOrDisc) {
    addTitle("A1", "甲");
    addMember("M1", "按部数优惠", 10, 5);
    // On a new sheet the member is the one on the sheet's boxes; on a confirmed sheet the stored one.
    const qint64 fresh = rentals.saveItem(0, memberRenter("M1"), item("A1")).itemId;
    rentals.saveItem(0, memberRenter("M1"), item("A1"));
    EXPECT_EQ(remainOf("M1"), 3);
    rentals.deleteItem(fresh, 0, memberRenter("M1"));
    EXPECT_EQ(remainOf("M1"), 4);
    const qint64 sheet = rentals.confirmNewSheet({"超级用户", memberRenter("M1"), money("0"), {}, {}, "1"});
    const qint64 stored = scalarInt("select ID from TRentList where Id_RentOperation=" + QString::number(sheet));
    rentals.deleteItem(stored, sheet, walkIn);
    EXPECT_EQ(remainOf("M1"), 5);
}

TEST_F(RentalsTest, DeletingTheLastOpenItemSettlesTheSheetOrOffersToDropIt) {
    addTitle("A1", "甲");
    const qint64 returned = addSheet("零客户", "50");
    addItem(returned, "A1", "2", 2, true);
    const qint64 last = addItem(returned, "A1", "2", 2);
    rental::DeleteResult result = rentals.deleteItem(last, returned, walkIn);
    EXPECT_EQ(result.after, AfterDelete::SheetSettled);
    EXPECT_EQ(result.openItems, 0);
    EXPECT_EQ(scalarText("select RentCount from TRentOperation where ID=" + QString::number(returned)), "0");
    EXPECT_EQ(scalarText("select BackStatus from TRentOperation where ID=" + QString::number(returned)), "是");

    const qint64 single = addSheet("零客户", "50");
    result = rentals.deleteItem(addItem(single, "A1", "2", 1), single, walkIn);
    EXPECT_EQ(result.after, AfterDelete::SheetEmpty);
    EXPECT_EQ(count("TRentOperation", "where ID=" + QString::number(single)), 1);
    rentals.dropSheet(single);
    EXPECT_EQ(count("TRentOperation", "where ID=" + QString::number(single)), 0);
    EXPECT_EQ(count("TRentOperation"), 1);
}

TEST_F(RentalsTest, APartReturnTakesTheRentFromTheDepositAndRecordsTheShares) {
    addTitle("A1", "甲", 5);
    addTitle("A2", "乙", 5);
    addTitle("A3", "丙", 5);
    const qint64 sheet = addSheet("零客户", "50");
    const qint64 a = addItem(sheet, "A1", "2", 3);
    const qint64 b = addItem(sheet, "A2", "3", 3);
    const qint64 c = addItem(sheet, "A3", "4", 3);
    const rental::ReturnPlan plan = rentals.planReturn(sheet, {a, b});
    EXPECT_TRUE(plan.walkIn);
    EXPECT_FALSE(plan.final);
    EXPECT_EQ(plan.due, money("15"));
    EXPECT_EQ(plan.deposit, money("50"));

    const rental::ReturnResult result = rentals.applyReturn(plan, {money("15"), true});
    EXPECT_FALSE(result.settled);
    EXPECT_EQ(result.openItems, 1);
    EXPECT_EQ(result.deposit, money("35"));
    EXPECT_EQ(scalarMoney("select Deposit from TRentOperation where ID=" + QString::number(sheet)), money("35"));
    EXPECT_EQ(scalarText("select BackStatus from TRentOperation where ID=" + QString::number(sheet)), "否");
    EXPECT_EQ(scalarMoney("select RentPrice from TRentList where ID=" + QString::number(a)), money("7.5"));
    EXPECT_EQ(scalarMoney("select RentPrice from TRentList where ID=" + QString::number(b)), money("7.5"));
    EXPECT_EQ(scalarMoney("select RentPrice from TRentList where ID=" + QString::number(c)), money("4"));
    EXPECT_EQ(stockOf("A1"), 6);
    EXPECT_EQ(stockOf("A2"), 6);
    EXPECT_EQ(stockOf("A3"), 5);
}

TEST_F(RentalsTest, APartReturnPaidDirectlyLeavesTheDeposit) {
    addTitle("A1", "甲");
    const qint64 sheet = addSheet("零客户", "50");
    const qint64 a = addItem(sheet, "A1", "2", 0);
    addItem(sheet, "A1", "2", 0);
    const rental::ReturnPlan plan = rentals.planReturn(sheet, {a});
    EXPECT_EQ(plan.due, money("2"));  // lent today: one day
    const rental::ReturnResult result = rentals.applyReturn(plan, {money("1.5"), false});
    EXPECT_EQ(result.deposit, money("50"));
    EXPECT_EQ(scalarMoney("select Deposit from TRentOperation where ID=" + QString::number(sheet)), money("50"));
    EXPECT_EQ(scalarMoney("select RentPrice from TRentList where ID=" + QString::number(a)), money("1.5"));
}

TEST_F(RentalsTest, TheFinalReturnSettlesTheSheetAndKeepsTheDeposit) {
    addTitle("A1", "甲");
    const qint64 sheet = addSheet("零客户", "50");
    addItem(sheet, "A1", "2", 5, true);  // returned earlier
    const qint64 last = addItem(sheet, "A1", "3", 4);
    const rental::ReturnPlan plan = rentals.planReturn(sheet, {last});
    EXPECT_TRUE(plan.final);
    EXPECT_EQ(plan.due, money("12"));
    EXPECT_EQ(plan.deposit - plan.due, money("38"));
    const rental::ReturnResult result = rentals.applyReturn(plan, {money("10"), true});
    EXPECT_TRUE(result.settled);
    EXPECT_EQ(result.openItems, 0);
    EXPECT_EQ(scalarMoney("select RentPrice from TRentList where ID=" + QString::number(last)), money("10"));
    EXPECT_EQ(scalarMoney("select Deposit from TRentOperation where ID=" + QString::number(sheet)), money("50"));
    EXPECT_EQ(scalarText("select BackStatus from TRentOperation where ID=" + QString::number(sheet)), "是");
    EXPECT_EQ(stockOf("A1"), 4);
}

TEST_F(RentalsTest, AMemberReturnsWithoutChargeAndTheVolumeGoesBackToItsOwnStock) {
    const qint64 series = addTitle("S1", "连续剧", 2, "3", "是");
    addVolume(series, "S1-12", "连续剧", 0);
    addTitle("A1", "甲", 1);
    addMember("M1", "按部数优惠", 10, 5);
    const qint64 sheet = addSheet("会员", "0", "M1");
    const qint64 a = addItem(sheet, "S1-12", "0", 6);
    const qint64 b = addItem(sheet, "A1", "0", 6);
    const qint64 gone = addItem(sheet, "GONE", "0", 6);
    const rental::ReturnPlan plan = rentals.planReturn(sheet, {a, b, gone});
    EXPECT_FALSE(plan.walkIn);
    EXPECT_TRUE(plan.final);
    EXPECT_EQ(plan.due, db::Money());
    const rental::ReturnResult result = rentals.applyReturn(plan, {});
    EXPECT_TRUE(result.settled);
    EXPECT_EQ(volumeStock("S1-12"), 1);
    EXPECT_EQ(stockOf("S1"), 2);
    EXPECT_EQ(stockOf("A1"), 2);
    EXPECT_EQ(count("TRentList", "where RentPrice=0 and Back=true"), 3);
    EXPECT_EQ(scalarText("select BackStatus from TRentOperation where ID=" + QString::number(sheet)), "是");
    EXPECT_EQ(remainOf("M1"), 5);
}

TEST_F(RentalsTest, AReturnWithoutTickIsRefused) {
    const qint64 sheet = addSheet("零客户", "50");
    addItem(sheet, "A1", "2", 1);
    EXPECT_EQ(refusalOf([&] { rentals.planReturn(sheet, {}); }), Refusal::NothingTicked);
}

TEST_F(RentalsTest, TicksAreWrittenAndClearedForTheListedItemsOnly) {
    const qint64 sheet = addSheet("零客户", "50");
    const qint64 returned = addItem(sheet, "A1", "2", 1, true);
    const qint64 a = addItem(sheet, "A1", "2", 1);
    const qint64 b = addItem(sheet, "A1", "2", 1);
    rentals.setTicks({a, b}, true);
    EXPECT_EQ(rentals.openItems(sheet), 0);
    rentals.setTicks({a, b}, false);
    EXPECT_EQ(rentals.openItems(sheet), 2);
    EXPECT_EQ(scalarInt("select count(*) from TRentList where Back=true and ID=" + QString::number(returned)), 1);
    // Saving another item clears the ticks that were not returned, so those items stay out.
    addTitle("A1", "甲");
    rentals.setTicks({a}, true);
    rentals.saveItem(sheet, walkIn, item("A1"), {a});
    EXPECT_EQ(rentals.openItems(sheet), 3);
}

// Every action that writes several rows leaves nothing behind when the engine refuses one of its statements.
TEST_F(RentalsTest, AnActionRefusedByTheEngineHalfwayLeavesNothingBehind) {
    addTitle("A1", "甲", 5);
    const qint64 series = addTitle("S1", "连续剧", 2, "3", "是");
    addVolume(series, "S1-12", "连续剧", 2);
    addMember("M1", "按部数优惠", 10, 5);
    const qint64 sheet = addSheet("零客户", "50");
    const qint64 a = addItem(sheet, "A1", "2", 3);
    const qint64 b = addItem(sheet, "S1-12", "3", 3);
    const qint64 msheet = addSheet("会员", "0", "M1");
    const qint64 m = addItem(msheet, "A1", "0", 1);
    rentals.saveItem(0, memberRenter("M1"), item("A1"));

    struct Case {
        const char* name;
        std::string trigger;
        std::function<void()> action;
    } cases[] = {
        {"save item", "BEFORE UPDATE ON TMemberResource", [&] { rentals.saveItem(0, memberRenter("M1"), item("A1")); }},
        {"confirm sheet", "BEFORE UPDATE ON TRentList",
         [&] {
             rentals.confirmNewSheet({"超级用户", memberRenter("M1"), money("0"), {}, {}, "1"});
         }},
        {"delete item", "BEFORE UPDATE ON TMemberResource", [&] { rentals.deleteItem(m, msheet, walkIn); }},
        {"cancel sheet", "BEFORE DELETE ON TRentList", [&] { rentals.cancelNewSheet(); }},
        {"tick all", "BEFORE UPDATE OF Back ON TRentList WHEN NEW.ID=" + std::to_string(b),
         [&] {
             rentals.setTicks({a, b}, true);
         }},
        {"part return", "BEFORE UPDATE OF RentPrice ON TRentList",
         [&] {
             rentals.applyReturn(rentals.planReturn(sheet, {a}), {money("6"), true});
         }},
        {"final return", "BEFORE UPDATE ON TRentOperation",
         [&] {
             rentals.applyReturn(rentals.planReturn(sheet, {a, b}), {money("15"), false});
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QStringList before = snapshot();
        db::Connection::shared().execEngine(QStringLiteral("CREATE TEMP TRIGGER injected ") +
                                            QString::fromStdString(c.trigger) +
                                            QStringLiteral(" BEGIN SELECT RAISE(ABORT,'injected'); END"));
        EXPECT_THROW(c.action(), db::Error);
        db::Connection::shared().execEngine(QStringLiteral("DROP TRIGGER injected"));
        EXPECT_EQ(snapshot(), before);
    }
}

// What a killed run left unconfirmed goes back at start-up, as cancelling its sheet would have given it back.
TEST_F(RentalsTest, TheStartUpRecoveryGivesBackWhatAKilledRunLeftOnSheetZero) {
    addTitle("A1", "甲", 3);
    const qint64 series = addTitle("S1", "连续剧", 2, "3", "是");
    addVolume(series, "S1-12", "连续剧", 2);
    addMember("M1", "按部数优惠", 10, 5);
    addMember("M2", "按部数优惠", 10, 5);
    const qint64 open = addSheet("零客户", "50");
    const qint64 kept = addItem(open, "A1", "2", 1);
    const qint64 empty = addSheet("零客户", "50");  // its last item was deleted when the run died
    rentals.saveItem(0, walkIn, item("A1"));
    rentals.saveItem(0, memberRenter("M1"), item("A1"));
    rentals.saveItem(0, memberRenter("M1"), item("S1-12"));
    EXPECT_EQ(stockOf("A1"), 1);
    EXPECT_EQ(volumeStock("S1-12"), 1);
    EXPECT_EQ(remainOf("M1"), 3);

    const rental::Recovery recovery = rentals.recoverUnconfirmed();
    EXPECT_EQ(recovery.items, 3);
    EXPECT_EQ(recovery.sheets, 1);
    EXPECT_EQ(count("TRentList", "where Id_RentOperation=0"), 0);
    EXPECT_EQ(stockOf("A1"), 3);
    EXPECT_EQ(volumeStock("S1-12"), 2);
    EXPECT_EQ(remainOf("M1"), 5);
    EXPECT_EQ(remainOf("M2"), 5);
    EXPECT_EQ(count("TRentOperation", "where ID=" + QString::number(empty)), 0);
    EXPECT_EQ(count("TRentOperation", "where ID=" + QString::number(open)), 1);
    EXPECT_EQ(scalarInt("select ID from TRentList"), kept);
    // Nothing left: a second start changes nothing.
    const QStringList after = snapshot();
    EXPECT_EQ(rentals.recoverUnconfirmed().items, 0);
    EXPECT_EQ(snapshot(), after);
}

TEST_F(RentalsTest, TheStartUpRecoveryIsAllOrNothing) {
    addTitle("A1", "甲", 3);
    addMember("M1", "按部数优惠", 10, 5);
    rentals.saveItem(0, memberRenter("M1"), item("A1"));
    const QStringList before = snapshot();
    db::Connection::shared().execEngine(
        "CREATE TEMP TRIGGER injected BEFORE DELETE ON TRentList BEGIN SELECT RAISE(ABORT,'injected'); END");
    EXPECT_THROW(rentals.recoverUnconfirmed(), db::Error);
    db::Connection::shared().execEngine("DROP TRIGGER injected");
    EXPECT_EQ(snapshot(), before);
}

// A member's days or discs come back only for the items lent to him, whoever's sheet is being cancelled.
TEST_F(RentalsTest, AnUnconfirmedItemGivesBackOnlyWhatItTookFromItsOwnMember) {
    addTitle("A1", "甲", 9);
    addMember("M1", "按部数优惠", 10, 5);
    for (int i = 0; i < 3; ++i) rentals.saveItem(0, walkIn, item("A1"));
    const qint64 mine = rentals.saveItem(0, memberRenter("M1"), item("A1")).itemId;
    EXPECT_EQ(remainOf("M1"), 4);
    rentals.deleteItem(mine, 0, walkIn);
    EXPECT_EQ(remainOf("M1"), 5);
    rentals.saveItem(0, memberRenter("M1"), item("A1"));
    rentals.cancelNewSheet();
    EXPECT_EQ(remainOf("M1"), 5);
    EXPECT_EQ(stockOf("A1"), 9);
    // Confirmed, the items belong to the sheet's member and keep nothing of their own.
    rentals.saveItem(0, memberRenter("M1"), item("A1"));
    rentals.confirmNewSheet({"超级用户", memberRenter("M1"), money("0"), {}, {}, "1"});
    EXPECT_EQ(count("TRentList", "where TimeLimited is null"), 1);
}

TEST_F(RentalsTest, SavingTakesTheLastCopyOnceAndThenRefuses) {
    addTitle("A1", "甲", 1);
    const qint64 series = addTitle("S1", "连续剧", 2, "3", "是");
    addVolume(series, "S1-12", "连续剧", 1);
    struct Case {
        const char* number;
        Refusal reason;
    } cases[] = {{"A1", Refusal::TitleOutOfStock}, {"S1-12", Refusal::VolumeOutOfStock}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        rentals.saveItem(0, walkIn, item(c.number));
        const QStringList before = snapshot();
        EXPECT_EQ(refusalOf([&] { rentals.saveItem(0, walkIn, item(c.number)); }), c.reason);
        EXPECT_EQ(snapshot(), before);
    }
    EXPECT_EQ(stockOf("A1"), 0);
    EXPECT_EQ(volumeStock("S1-12"), 0);
}

TEST_F(RentalsTest, AnItemReturnedAlreadyIsNotTakenBackTwice) {
    addTitle("A1", "甲", 5);
    const qint64 sheet = addSheet("零客户", "50");
    const qint64 a = addItem(sheet, "A1", "2", 1);
    addItem(sheet, "A1", "2", 1);
    const rental::ReturnPlan plan = rentals.planReturn(sheet, {a});
    rentals.applyReturn(plan, {money("2"), false});
    const QStringList before = snapshot();
    EXPECT_THROW(rentals.applyReturn(plan, {money("2"), false}), db::Error);
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(stockOf("A1"), 6);
}

}  // namespace
