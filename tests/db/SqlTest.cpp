#include <gtest/gtest.h>

#include "db/Connection.h"
#include "db/Errors.h"
#include "db/Sql.h"
#include "support/Fixture.h"

using namespace testing_support;

namespace {

class SqlTest : public AppTest {
protected:
    db::Connection& connection() { return db::Connection::shared(); }
};

// Texts that broke statements joined from pieces: each goes in bound and comes back as it was.
TEST_F(SqlTest, TextsRoundTripThroughBoundStatements) {
    const QString cases[] = {
        QStringLiteral("他说\"好\""), QStringLiteral("it's"),
        QStringLiteral("#2004-5-1#"), QStringLiteral("*甜蜜*"),
        QStringLiteral("[a-z]"),      QStringLiteral("第一行\n第二行"),
        QString(10000, QChar(u'碟')), QStringLiteral("'); drop table TCdType; --"),
    };
    for (const QString& text : cases) {
        SCOPED_TRACE(text.left(40).toStdString());
        db::run(connection(), "insert into TCdType (CdTypes) values (?)", text);
        db::Sql q(connection(), "select CdTypes from TCdType where CdTypes = ?", text);
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.text(0), text);
        EXPECT_EQ(db::run(connection(), "delete from TCdType where CdTypes = ?", text), 1);
    }
    EXPECT_TRUE(db::exists(connection(), "select 1 from TCdType where CdTypes = ?", QStringLiteral("其它类型")));
}

TEST_F(SqlTest, ValuesBindInTheFormsTheTablesStore) {
    const QDate day(2024, 5, 1);
    db::run(connection(),
            "insert into TRentList (Id_RentOperation, OccurDate, CdCountId_TCdResource, CdName_TCdResource, "
            "RentPrice, Back) values (?, ?, ?, ?, ?, ?)",
            qint64(7), day, QStringLiteral("D001"), QStringLiteral("甜蜜蜜"), db::Money::fromUnits(25000), true);
    // What a Jet text reads back must be what the bound values meant.
    EXPECT_EQ(scalarInt("select count(*) from TRentList where OccurDate=#2024-5-1# and Back=true and "
                        "RentPrice=2.5 and Id_RentOperation=7"),
              1);
    db::Sql q(connection(), "select OccurDate, RentPrice, Back, Id_RentOperation from TRentList");
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.date(0), day);
    EXPECT_EQ(q.money(1), db::Money::fromUnits(25000));
    EXPECT_TRUE(q.flag(2));
    EXPECT_EQ(q.integer(3), 7);
    EXPECT_FALSE(q.next());
}

TEST_F(SqlTest, MissingRowsNullsAndEngineErrors) {
    EXPECT_EQ(db::integerOf(connection(), "select ID from TCdType where CdTypes = ?", QStringLiteral("无")), 0);
    EXPECT_EQ(db::integerOf(connection(), "select null"), 0);
    db::Sql q(connection(), "select null, null");
    ASSERT_TRUE(q.next());
    EXPECT_TRUE(q.isNull(0));
    EXPECT_EQ(q.money(0), db::Money());
    EXPECT_FALSE(q.date(1).isValid());
    EXPECT_THROW(db::run(connection(), "insert into NoSuchTable values (?)", qint64(1)), db::Error);
    EXPECT_EQ(db::run(connection(), "update TCdType set CdTypes = ? where 0", QStringLiteral("x")), 0);
}

}  // namespace
