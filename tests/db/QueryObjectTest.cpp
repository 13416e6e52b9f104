#include <gtest/gtest.h>

#include <QSignalSpy>

#include "db/Clock.h"
#include "db/Errors.h"
#include "db/Query.h"
#include "support/Fixture.h"

using db::Money;
using db::Query;
using testing_support::AppTest;

namespace {

class QueryObjectTest : public AppTest {
protected:
    void addTypes(std::initializer_list<const char*> names) {
        for (const char* name : names)
            exec(QStringLiteral("insert into TCdType (CdTypes) values (") + jet::quoted(QString::fromUtf8(name)) + ")");
    }
    QStringList typeNames() {
        Query q;
        q.reopen(QStringLiteral("select * from TCdType where CdTypes<>\"其它类型\""));
        QStringList names;
        for (; !q.eof(); q.next()) names << q.field(QStringLiteral("CdTypes")).asString();
        return names;
    }
    static void expectError(const std::function<void()>& action, const QString& message) {
        try {
            action();
            ADD_FAILURE() << "no error, expected: " << message.toStdString();
        } catch (const db::Error& error) {
            EXPECT_EQ(error.message().toStdString(), message.toStdString());
        }
    }
};

TEST_F(QueryObjectTest, OpenReadsRowsAndFirstRowIsCurrent) {
    addTypes({"动作片", "爱情片"});
    Query q;
    q.reopen(QStringLiteral("select * from TCdType where CdTypes<>\"其它类型\""));
    EXPECT_EQ(q.state(), Query::Browse);
    EXPECT_EQ(q.recordCount(), 2);
    EXPECT_FALSE(q.eof());
    EXPECT_EQ(q.field("cdtypes").asString(), QStringLiteral("动作片"));
}

TEST_F(QueryObjectTest, NextWalksEveryRowOnceAndStopsOnTheLast) {
    addTypes({"a", "b", "c"});
    Query q;
    q.reopen(QStringLiteral("select * from TCdType where CdTypes<>\"其它类型\""));
    QStringList seen;
    while (!q.eof()) {
        seen << q.field("CdTypes").asString();
        q.next();
    }
    EXPECT_EQ(seen, (QStringList{"a", "b", "c"}));
    EXPECT_EQ(q.field("CdTypes").asString(), QStringLiteral("c"));  // the last row stays current
    q.first();
    EXPECT_FALSE(q.eof());
    EXPECT_EQ(q.field("CdTypes").asString(), QStringLiteral("a"));
}

TEST_F(QueryObjectTest, FieldsOfAnEmptyResultReadAsEmptyZeroAndFalse) {
    Query q;
    q.reopen(QStringLiteral("select * from TMemberResource where PersonId=\"nobody\""));
    EXPECT_TRUE(q.eof());
    EXPECT_EQ(q.recordCount(), 0);
    EXPECT_EQ(q.field("MemberName").asString(), QString());
    EXPECT_EQ(q.field("RemainDaysOrCounts").asInteger(), 0);
    EXPECT_EQ(q.field("OpenAccountDate").asDate(), QDate(1899, 12, 30));
    Query list;
    list.reopen(QStringLiteral("select * from TRentList where ID=-1"));
    EXPECT_FALSE(list.field("Back").asBoolean());
    EXPECT_EQ(list.field("RentPrice").asMoney(), Money());
}

TEST_F(QueryObjectTest, AppendToAnEmptyResultSavesTheRowWithItsAutoNumber) {
    Query q;
    q.reopen(QStringLiteral("select * from TCdType where id=-1"));
    q.append();
    EXPECT_EQ(q.state(), Query::Insert);
    q.field("CdTypes").setString(QStringLiteral("科幻片"));
    q.post();
    EXPECT_EQ(q.state(), Query::Browse);
    EXPECT_EQ(q.field("Id").asInteger(), scalarInt(QStringLiteral("select max(Id) from TCdType")));
    EXPECT_EQ(typeNames(), QStringList{QStringLiteral("科幻片")});
}

TEST_F(QueryObjectTest, AutoNumbersAreNeverHandedOutTwice) {
    addTypes({"a"});
    const qint64 first = scalarInt(QStringLiteral("select max(Id) from TCdType"));
    exec(QStringLiteral("delete * from TCdType where CdTypes=\"a\""));
    addTypes({"b"});
    EXPECT_GT(scalarInt(QStringLiteral("select max(Id) from TCdType")), first);
}

TEST_F(QueryObjectTest, EditOnAnEmptySettingsTableStartsANewRow) {
    exec(QStringLiteral("delete * from TbMortagage"));
    Query q;
    q.reopen(QStringLiteral("select * from TbMortagage"));
    q.edit();
    EXPECT_EQ(q.state(), Query::Insert);
    q.field("MortagageSum").setString(QStringLiteral("15.5"));
    q.post();
    EXPECT_EQ(scalarMoney(QStringLiteral("select MortagageSum from TbMortagage")), Money::fromDouble(15.5));
}

TEST_F(QueryObjectTest, WritingOutsideEditOrInsertIsRefused) {
    addTypes({"a"});
    Query q;
    q.reopen(QStringLiteral("select * from TCdType where CdTypes=\"a\""));
    expectError([&] { q.field("CdTypes").setString("b"); }, QStringLiteral("Dataset not in edit or insert mode"));
    q.edit();
    q.field("CdTypes").setString("b");
    q.post();
    expectError([&] { q.field("CdTypes").setString("c"); }, QStringLiteral("Dataset not in edit or insert mode"));
    EXPECT_EQ(typeNames(), QStringList{"b"});
}

TEST_F(QueryObjectTest, QueryObjectMessages) {
    Query q;
    q.reopen(QStringLiteral("select * from TCdResource"));
    expectError([&] { q.field("NoSuchField"); }, QStringLiteral("Field 'NoSuchField' not found"));
    expectError([&] { q.remove(); }, QStringLiteral("Cannot perform this operation on an empty dataset"));
    q.append();
    expectError([&] { q.field("PerPieces").setString("两"); },
                QStringLiteral("'两' is not a valid integer value for field 'PerPieces'"));
    expectError([&] { q.field("BuyPrice").setString("12元"); },
                QStringLiteral("'12元' is not a valid floating point value for field 'BuyPrice'"));
    q.field("PerPieces").setString("");
    EXPECT_TRUE(q.field("PerPieces").isNull());
}

TEST_F(QueryObjectTest, MovingPostsAWrittenRowAndCancelsAnUntouchedOne) {
    addTypes({"a", "b"});
    Query q;
    q.reopen(QStringLiteral("select * from TCdType where CdTypes<>\"其它类型\""));
    // Edit, write, next without a post: the move saves the row.
    q.edit();
    q.field("CdTypes").setString("a2");
    q.next();
    EXPECT_EQ(q.state(), Query::Browse);
    q.edit();
    q.field("CdTypes").setString("b2");
    q.refresh();
    EXPECT_EQ(typeNames(), (QStringList{"a2", "b2"}));
    // An appended row that nothing was written to disappears on the next move.
    q.append();
    EXPECT_EQ(q.recordCount(), 3);
    q.first();
    EXPECT_EQ(q.recordCount(), 2);
    EXPECT_EQ(count("TCdType"), 3);
}

TEST_F(QueryObjectTest, AStoppedPostKeepsThePendingRowUntilCancelled) {
    Query q;
    q.reopen(QStringLiteral("select * from TCdType where id=-1"));
    int checks = 0;
    q.setBeforePost([&] {
        ++checks;
        if (q.field("CdTypes").asString().isEmpty()) throw db::SilentStop();
    });
    q.append();
    q.field("CdTypes").setNull();
    q.field("Id").setNull();
    EXPECT_THROW(q.post(), db::SilentStop);
    EXPECT_EQ(q.state(), Query::Insert);
    EXPECT_THROW(q.refresh(), db::SilentStop);  // the move runs the check again
    EXPECT_EQ(checks, 2);
    q.cancel();
    EXPECT_EQ(q.state(), Query::Browse);
    EXPECT_EQ(q.recordCount(), 0);
    EXPECT_EQ(count("TCdType"), 1);
}

TEST_F(QueryObjectTest, RowsWrittenAfterThePostedRowStayOrGoWithIt) {
    Query q;
    q.reopen(QStringLiteral("select * from TCdType where id=-1"));
    bool refuse = true;
    q.setAfterWrite([&] {
        // Written with the row, by its new AutoNumber.
        exec(QStringLiteral("insert into TChargeStandard (ChargeName, RentSum) values (") +
             jet::quoted(q.field("CdTypes").asString() + QString::number(q.field("Id").asInteger())) +
             QStringLiteral(", 1)"));
        if (refuse) throw db::Error(QStringLiteral("refused"));
    });
    q.append();
    q.field("CdTypes").setString(QStringLiteral("动作片"));
    expectError([&] { q.post(); }, QStringLiteral("refused"));
    EXPECT_EQ(count("TCdType"), 1);
    EXPECT_EQ(count("TChargeStandard"), 1);
    // Still the row as typed, ready to be posted again.
    EXPECT_EQ(q.state(), Query::Insert);
    EXPECT_TRUE(q.field("Id").isNull());
    EXPECT_EQ(q.field("CdTypes").asString(), QStringLiteral("动作片"));

    refuse = false;
    q.post();
    EXPECT_EQ(q.state(), Query::Browse);
    const qint64 id = q.field("Id").asInteger();
    EXPECT_EQ(count("TChargeStandard",
                    QStringLiteral("where ChargeName=") + jet::quoted(QStringLiteral("动作片") + QString::number(id))),
              1);
}

TEST_F(QueryObjectTest, DeletingMovesToTheFollowingOrNewLastRow) {
    addTypes({"a", "b", "c"});
    Query q;
    q.reopen(QStringLiteral("select * from TCdType where CdTypes<>\"其它类型\""));
    q.remove();  // a
    EXPECT_EQ(q.field("CdTypes").asString(), QStringLiteral("b"));
    q.next();
    q.remove();  // c, the last
    EXPECT_EQ(q.field("CdTypes").asString(), QStringLiteral("b"));
    q.remove();
    EXPECT_TRUE(q.isEmpty());
    EXPECT_TRUE(q.eof());
    EXPECT_EQ(typeNames(), QStringList());
}

TEST_F(QueryObjectTest, ComputedColumnsBesideBaseColumnsStayEditable) {
    exec(
        QStringLiteral("insert into TMemberResource (PersonId, OpenAccountDate, AllowDaysOrCounts, "
                       "RemainDaysOrCounts) values (\"m1\", #2026-12-01#, 30, 30)"));
    Query q;
    q.reopen(QStringLiteral("select datediff(\"d\",OpenAccountDate,now()) as usedays,AllowDaysOrCounts,"
                            "RemainDaysOrCounts from TMemberResource where PersonId=") +
             jet::quoted("M1"));
    EXPECT_EQ(q.field("usedays").asInteger(), 9);
    q.edit();
    q.field("RemainDaysOrCounts").setInteger(q.field("AllowDaysOrCounts").asInteger() - q.field("usedays").asInteger());
    q.post();
    EXPECT_EQ(scalarInt(QStringLiteral("select RemainDaysOrCounts from TMemberResource")), 21);
}

TEST_F(QueryObjectTest, JoinsAndAggregatesAreReadOnly) {
    Query q;
    q.reopen(QStringLiteral("select count(*) as counts from TCdType"));
    EXPECT_EQ(q.field("counts").asInteger(), 1);
    EXPECT_THROW(q.edit(), db::Error);
    EXPECT_THROW(q.append(), db::Error);
}

TEST_F(QueryObjectTest, NotificationsFollowStateAndRowChanges) {
    addTypes({"a", "b"});
    Query q;
    QSignalSpy states(&q, &Query::stateChanged);
    QSignalSpy data(&q, &Query::dataChanged);
    q.reopen(QStringLiteral("select * from TCdType where CdTypes<>\"其它类型\""));
    EXPECT_EQ(states.count(), 1);  // inactive to browse
    EXPECT_GE(data.count(), 1);
    data.clear();
    q.next();
    EXPECT_EQ(data.count(), 1);
    q.edit();
    EXPECT_EQ(states.count(), 2);
    q.field("CdTypes").setString("b2");
    EXPECT_EQ(data.count(), 2);
    q.post();
    EXPECT_EQ(states.count(), 3);
    q.close();
    EXPECT_EQ(states.count(), 4);
    EXPECT_EQ(q.state(), Query::Inactive);
}

TEST_F(QueryObjectTest, ValuesReadBackInTheirShownForms) {
    exec(
        QStringLiteral("insert into TCdResource (CountId, BuyPrice, RentPrice, BuyDate, PerPieces) values "
                       "(\"x\", 12.5, 3, #2004-05-01#, 2)"));
    exec(QStringLiteral("insert into CdSalesDiscard (CdId, CdSaleDiscardDate) values (1, #2004-05-31 10:00:00#)"));
    Query q;
    q.reopen(QStringLiteral("select * from TCdResource"));
    EXPECT_EQ(q.field("BuyPrice").asString(), QStringLiteral("12.5"));
    EXPECT_EQ(q.field("RentPrice").asString(), QStringLiteral("3"));
    EXPECT_EQ(q.field("BuyDate").asString(), QStringLiteral("2004-05-01"));
    EXPECT_EQ(q.field("PerPieces").asString(), QStringLiteral("2"));
    EXPECT_EQ(scalarText(QStringLiteral("select CdSaleDiscardDate from CdSalesDiscard")),
              QStringLiteral("2004-05-31 10:00:00"));
    EXPECT_EQ(scalarText(QStringLiteral("select sum(BuyPrice) + 0.25 as s from TCdResource")), QStringLiteral("12.75"));
}

TEST(MoneyTest, ParsesAndShowsTheShortestDecimal) {
    const struct {
        const char* text;
        bool ok;
        const char* shown;
    } cases[] = {
        {"3", true, "3"},
        {"2.5", true, "2.5"},
        {" 12 ", true, "12"},
        {"-0.75", true, "-0.75"},
        {"0.0001", true, "0.0001"},
        {"1.00005", true, "1"},
        {"1.00015", true, "1.0002"},
        {".5", true, "0.5"},
        {"", false, ""},
        {"abc", false, ""},
        {"1,000", false, ""},
        {"12元", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Money m;
        EXPECT_EQ(Money::tryParse(QString::fromUtf8(c.text), &m), c.ok);
        if (c.ok) {
            EXPECT_EQ(m.toString().toStdString(), std::string(c.shown));
        }
    }
}

TEST(MoneyTest, SumsAreExactAndRoundingIsHalfToEven) {
    Money sum;
    for (int i = 0; i < 10; ++i) sum += Money::fromDouble(0.1);
    EXPECT_EQ(sum, Money::fromInt(1));
    EXPECT_EQ(Money::fromDouble(2.5).roundedToYuan(), Money::fromInt(2));
    EXPECT_EQ(Money::fromDouble(3.5).roundedToYuan(), Money::fromInt(4));
    EXPECT_EQ(Money::fromDouble(-2.5).roundedToYuan(), Money::fromInt(-2));
    EXPECT_EQ(Money::fromDouble(2.51).roundedToYuan(), Money::fromInt(3));
}

}  // namespace
