// A posted row and what its before-post check writes with it are one action.
#include <gtest/gtest.h>

#include <functional>

#include "db/Connection.h"
#include "db/Errors.h"
#include "db/Query.h"
#include "support/Fixture.h"

using db::Query;
using testing_support::AppTest;

namespace {

struct PostCase {
    const char* what;
    bool refuseRowWrite;                    // the engine refuses the row itself
    std::function<void()> afterCheckWrite;  // runs in the check after it wrote its own row
    bool checkWriteStays;
    bool rowStays;
};

class PostAsOneActionTest : public AppTest, public ::testing::WithParamInterface<PostCase> {};

TEST_P(PostAsOneActionTest, WhatTheCheckWroteStaysExactlyWhenThePostEndsWithoutAnError) {
    const PostCase& c = GetParam();
    if (c.refuseRowWrite)
        db::Connection::shared().execEngine(QStringLiteral(
            "CREATE TEMP TRIGGER injected BEFORE INSERT ON TCdType BEGIN SELECT RAISE(ABORT,'injected'); END"));
    Query types;
    types.reopen(QStringLiteral("select * from TCdType where Id=-1"));
    types.setBeforePost([&] {
        Query other;
        other.execSql(QStringLiteral("insert into TChargeStandard (ChargeName, RentSum) values (\"附带\", 1)"));
        c.afterCheckWrite();
    });
    types.append();
    types.field(QStringLiteral("CdTypes")).setString(QStringLiteral("新类型"));
    try {
        types.post();
    } catch (const std::exception&) {
    }
    EXPECT_EQ(count(QStringLiteral("TChargeStandard"), QStringLiteral("where ChargeName=\"附带\"")),
              c.checkWriteStays ? 1 : 0);
    EXPECT_EQ(count(QStringLiteral("TCdType"), QStringLiteral("where CdTypes=\"新类型\"")), c.rowStays ? 1 : 0);
    // A row that was not written stays pending, for the operator to correct or cancel.
    EXPECT_EQ(types.state(), c.rowStays ? Query::Browse : Query::Insert);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PostAsOneActionTest,
    ::testing::Values(
        PostCase{"Written", false, [] {}, true, true}, PostCase{"RowRefusedByTheEngine", true, [] {}, false, false},
        PostCase{"CheckEndsWithAnError", false, [] { throw db::Error(QStringLiteral("boom")); }, false, false},
        // A check that refuses, or that applied the change elsewhere, ends the post quietly: what it wrote stays.
        PostCase{"CheckEndsQuietly", false, [] { throw db::SilentStop(); }, true, false}),
    [](const ::testing::TestParamInfo<PostCase>& info) { return std::string(info.param.what); });

}  // namespace
