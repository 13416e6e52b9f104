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

TEST_F(QueryObjectTest, AppendPostAssignsAutoNumberAndSaves) {
    Query q;
    q.reopen(QStringLiteral("select * from TCdType where id=-1"));
    EXPECT_TRUE(q.isEmpty());
    q.append();
    EXPECT_EQ(q.state(), Query::Insert);
    q.field("CdTypes").setString(QStringLiteral("科幻片"));
    q.post();
    EXPECT_EQ(q.state(), Query::Browse);
    EXPECT_GT(q.field("Id").asInteger(), 1);
    EXPECT_EQ(count("TCdType", QStringLiteral("where CdTypes=\"科幻片\"")), 1);
}

}  // namespace
