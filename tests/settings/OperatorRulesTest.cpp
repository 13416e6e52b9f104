// The operator rules on a fresh database, without any view.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "db/Connection.h"
#include "db/Errors.h"
#include "db/JetDialect.h"
#include "db/Query.h"
#include "settings/Operators.h"
#include "settings/TPersonFm.h"
#include "support/Fixture.h"
#include "ui/DataGrid.h"

using settings::OperatorRefusal;
using settings::Operators;
using testing_support::AppTest;

namespace {

const QString kSuper = QStringLiteral("超级用户");

// Two operators with their rights rows; 王五 has a TPerson row and a namesake, but no rights of its own.
class OperatorRulesTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        addOperator(QStringLiteral("张三"), QStringLiteral("abc"), 1);
        addOperator(QStringLiteral("李四"), QStringLiteral("xyz"), 2);
        addPerson(QStringLiteral("王五"));
    }
    void addOperator(const QString& name, const QString& password, int level) {
        addPerson(name);
        exec(QStringLiteral("insert into TAuthority (UserName, Passward, Authority) values (") + jet::quoted(name) +
             ", " + jet::quoted(password) + ", " + QString::number(level) + ")");
    }

public:
    void addPerson(const QString& name) {
        exec(QStringLiteral("insert into TPerson (PersonName) values (") + jet::quoted(name) + ")");
    }
    qint64 personId(const QString& name) {
        return scalarInt(QStringLiteral("select Id from TPerson where PersonName=") + jet::quoted(name) +
                         QStringLiteral(" order by Id"));
    }
    // Name, password and level of every rights row, sorted.
    QStringList rights() {
        QStringList rows;
        db::Query q;
        q.reopen(QStringLiteral("select * from TAuthority"));
        for (; !q.eof(); q.next())
            rows << q.field(QStringLiteral("UserName")).asString() + u'/' +
                        q.field(QStringLiteral("Passward")).asString() + u'/' +
                        q.field(QStringLiteral("Authority")).asString();
        rows.sort();
        return rows;
    }
    QStringList persons() {
        QStringList names;
        db::Query q;
        q.reopen(QStringLiteral("select * from TPerson"));
        for (; !q.eof(); q.next())
            names << q.field(QStringLiteral("Id")).asString() + u'/' + q.field(QStringLiteral("PersonName")).asString();
        return names;
    }

    Operators operators;
};

TEST_F(OperatorRulesTest, NewOperatorNeedsItsRightsRowFirst) {
    const QStringList before = persons();
    EXPECT_EQ(operators.add(QStringLiteral("赵六")), OperatorRefusal::NoRights);
    EXPECT_EQ(persons(), before);
    ASSERT_EQ(operators.setLevel(QStringLiteral("赵六"), 2), std::nullopt);
    EXPECT_EQ(operators.add(QStringLiteral("赵六")), std::nullopt);
    EXPECT_EQ(count(QStringLiteral("TPerson"), QStringLiteral("where PersonName=\"赵六\"")), 1);
    // The name of an operator with rights adds a second person of that name.
    EXPECT_EQ(operators.add(QStringLiteral("张三")), std::nullopt);
    EXPECT_EQ(count(QStringLiteral("TPerson"), QStringLiteral("where PersonName=\"张三\"")), 2);
}

struct RenameCase {
    const char* what;
    bool namesake;  // another person carries the old name
    const char* from;
    const char* to;
    std::vector<const char*> rightsAfter;  // besides the untouched rows of 李四 and the super user
};

class OperatorRenameTest : public OperatorRulesTest, public ::testing::WithParamInterface<RenameCase> {};

TEST_P(OperatorRenameTest, RightsRowFollowsTheNameOrIsCopiedForANamesake) {
    const RenameCase& c = GetParam();
    if (c.namesake) addPerson(QString::fromUtf8(c.from));
    const qint64 id = personId(QString::fromUtf8(c.from));
    operators.rename(id, QString::fromUtf8(c.to));
    EXPECT_EQ(scalarText(QStringLiteral("select PersonName from TPerson where Id=") + QString::number(id)),
              QString::fromUtf8(c.to));
    QStringList expected{QStringLiteral("李四/xyz/2"), QStringLiteral("超级用户/123456/0")};
    for (const char* row : c.rightsAfter) expected << QString::fromUtf8(row);
    expected.sort();
    EXPECT_EQ(rights(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OperatorRenameTest,
    ::testing::Values(RenameCase{"SoleHolder", false, "张三", "张三丰", {"张三丰/abc/1"}},
                      RenameCase{"Namesake", true, "张三", "张小三", {"张三/abc/1", "张小三/abc/1"}},
                      RenameCase{"NewNameHasRightsOfItsOwn", false, "张三", "李四", {"张三/abc/1"}},
                      RenameCase{"NoRights", false, "王五", "王六", {"张三/abc/1"}},
                      RenameCase{"SameName", false, "张三", "张三", {"张三/abc/1"}}),
    [](const ::testing::TestParamInfo<RenameCase>& info) { return std::string(info.param.what); });

TEST_F(OperatorRulesTest, RemoveTakesEveryRightsRowOfTheName) {
    exec(QStringLiteral("insert into TAuthority (UserName, Passward, Authority) values (\"张三\", \"x\", 0)"));
    operators.remove(personId(QStringLiteral("张三")));
    EXPECT_EQ(count(QStringLiteral("TPerson"), QStringLiteral("where PersonName=\"张三\"")), 0);
    EXPECT_EQ(rights(), (QStringList{QStringLiteral("李四/xyz/2"), QStringLiteral("超级用户/123456/0")}));
    EXPECT_EQ(count(QStringLiteral("TPerson")), 3);
}

TEST_F(OperatorRulesTest, LevelsAndPasswords) {
    struct Case {
        const char* what;
        const char* name;
        int level;
        std::optional<OperatorRefusal> refusal;
        const char* rowAfter;  // the name's rights row afterwards, nullptr for none
    };
    const Case cases[] = {
        {"a stored row keeps its password", "张三", 2, std::nullopt, "张三/abc/2"},
        {"a name without rights gets the initial password", "王五", 1, std::nullopt, "王五/862/1"},
        {"the super user stays at level 0", "超级用户", 1, OperatorRefusal::SuperUserLevelFixed, "超级用户/123456/0"},
        {"the super user may be saved at level 0", "超级用户", 0, std::nullopt, "超级用户/123456/0"},
        {"a blank name is no name", "  ", 2, OperatorRefusal::NoName, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString name = QString::fromUtf8(c.name);
        EXPECT_EQ(operators.setLevel(name, c.level), c.refusal);
        QStringList mine;
        for (const QString& row : rights())
            if (row.startsWith(name + u'/')) mine << row;
        EXPECT_EQ(mine, c.rowAfter ? QStringList{QString::fromUtf8(c.rowAfter)} : QStringList{});
    }

    EXPECT_EQ(operators.setPassword(QStringLiteral("李四"), QStringLiteral(" a B ")), std::nullopt);
    EXPECT_EQ(scalarText(QStringLiteral("select Passward from TAuthority where UserName=\"李四\"")),
              QStringLiteral(" a B "));
    const QStringList before = rights();
    EXPECT_EQ(operators.setPassword(QStringLiteral("无此人"), QStringLiteral("x")), OperatorRefusal::NoRights);
    EXPECT_EQ(rights(), before);
}

// Each action that writes several rows, with the engine refusing its last statement: the database is as before.
struct InjectedCase {
    const char* what;
    const char* trigger;
    std::function<void(OperatorRulesTest&)> action;
    std::function<void(OperatorRulesTest&)> arrange = [](OperatorRulesTest&) {};  // before the action, kept
};

class OperatorFailureTest : public OperatorRulesTest, public ::testing::WithParamInterface<InjectedCase> {};

TEST_P(OperatorFailureTest, LeavesTheDatabaseAsItWas) {
    GetParam().arrange(*this);
    const QStringList before = persons() + rights();
    db::Connection::shared().execEngine(QStringLiteral("CREATE TEMP TRIGGER injected ") +
                                        QString::fromUtf8(GetParam().trigger) +
                                        QStringLiteral(" BEGIN SELECT RAISE(ABORT,'injected'); END"));
    EXPECT_THROW(GetParam().action(*this), db::Error);
    EXPECT_EQ(persons() + rights(), before);
    // Nothing of the action is left open: once the engine accepts, the same action goes through.
    db::Connection::shared().execEngine(QStringLiteral("DROP TRIGGER injected"));
    GetParam().action(*this);
    EXPECT_NE(persons() + rights(), before);
}

void renameZhangSan(OperatorRulesTest& t) {
    t.operators.rename(t.personId(QStringLiteral("张三")), QStringLiteral("张小三"));
}

INSTANTIATE_TEST_SUITE_P(
    EachAction, OperatorFailureTest,
    ::testing::Values(
        // The rights window saved the rights row before, as an action of its own.
        InjectedCase{
            "NewOperator", "BEFORE INSERT ON TPerson",
            [](OperatorRulesTest& t) { ASSERT_EQ(t.operators.add(QStringLiteral("赵六")), std::nullopt); },
            [](OperatorRulesTest& t) { ASSERT_EQ(t.operators.setLevel(QStringLiteral("赵六"), 2), std::nullopt); }},
        InjectedCase{"Rename", "BEFORE UPDATE ON TPerson", renameZhangSan},
        InjectedCase{"RenameCopyingTheRights", "BEFORE UPDATE ON TPerson", renameZhangSan,
                     [](OperatorRulesTest& t) { t.addPerson(QStringLiteral("张三")); }},
        InjectedCase{"RenameInTheGrid", "BEFORE UPDATE ON TPerson",
                     [](OperatorRulesTest&) {
                         TPersonFm list;
                         ui::GridModel* model = list.dxDBGrid5->model();
                         ASSERT_TRUE(model->setData(model->index(0, 0), QStringLiteral("张四"), Qt::EditRole));
                         list.Qperson->post();
                     }},
        InjectedCase{"Delete", "BEFORE DELETE ON TPerson",
                     [](OperatorRulesTest& t) { t.operators.remove(t.personId(QStringLiteral("张三"))); }}),
    [](const ::testing::TestParamInfo<InjectedCase>& info) { return std::string(info.param.what); });

}  // namespace
