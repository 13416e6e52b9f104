#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/TpasswordFm.h"
#include "common/Session.h"
#include "db/Connection.h"
#include "db/Errors.h"
#include "support/Fixture.h"

using testing_support::AppTest;

namespace {

class LoginTest : public AppTest {
protected:
    void addOperator(const QString& name, const QString& password, int level) {
        exec(QStringLiteral("insert into TPerson (PersonName) values (") + jet::quoted(name) + ")");
        exec(QStringLiteral("insert into TAuthority (UserName, Passward, Authority) values (%1, %2, %3)")
                 .arg(jet::quoted(name), jet::quoted(password))
                 .arg(level));
    }
    // Picks the name, types the password and presses "确定"; returns the login's result.
    int tryLogin(TpasswordFm& window, const QString& name, const QString& password) {
        window.userlabel->setCurrentIndex(window.userlabel->findText(name));
        window.paslabel->setText(password);
        window.ButtonYes->click();
        return window.loginResult();
    }
};

TEST_F(LoginTest, ListsEveryOperatorWithTheFirstSelected) {
    addOperator(QStringLiteral("张三"), QStringLiteral("1"), 2);
    TpasswordFm window;
    ASSERT_EQ(window.userlabel->count(), 2);
    EXPECT_EQ(window.userlabel->itemText(0), QStringLiteral("超级用户"));
    EXPECT_EQ(window.userlabel->itemText(1), QStringLiteral("张三"));
    EXPECT_EQ(window.userlabel->currentIndex(), 0);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("密码验证"));
    EXPECT_EQ(window.paslabel->echoMode(), QLineEdit::Password);
}

TEST_F(LoginTest, AcceptsTheStoredPasswordIgnoringOuterBlanksOnly) {
    addOperator(QStringLiteral("Admin"), QStringLiteral(" Pa ss "), 1);
    const struct {
        const char* typed;
        bool accepted;
    } cases[] = {{"Pa ss", true}, {"  Pa ss  ", true}, {"pa ss", false}, {"Pass", false}, {"", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        TpasswordFm window;
        if (!c.accepted) messages->expect(mkNotice, QStringLiteral("对不起,密码错误,请重新输入!"));
        EXPECT_EQ(tryLogin(window, QStringLiteral("Admin"), QString::fromUtf8(c.typed)), c.accepted ? 1 : 0);
        if (c.accepted) {
            EXPECT_EQ(CurrentUserName, QStringLiteral("Admin"));
            EXPECT_EQ(CurrentAuthority, 1);
        } else {
            EXPECT_EQ(window.paslabel->text(), QString::fromUtf8(c.typed));  // kept for another try
        }
    }
}

TEST_F(LoginTest, TheSuperUserLogsInWithTheFreshPassword) {
    TpasswordFm window;
    EXPECT_EQ(tryLogin(window, QStringLiteral("超级用户"), QStringLiteral("123456")), 1);
    EXPECT_EQ(CurrentAuthority, kSuperUser);
    EXPECT_EQ(CurrentUserName, QStringLiteral("超级用户"));
}

TEST_F(LoginTest, WrongPasswordMayBeRetriedWithoutLimit) {
    TpasswordFm window;
    for (int i = 0; i < 3; ++i) {
        messages->expect(mkNotice, QStringLiteral("对不起,密码错误,请重新输入!"));
        EXPECT_EQ(tryLogin(window, QStringLiteral("超级用户"), QStringLiteral("x")), 0);
    }
    EXPECT_EQ(tryLogin(window, QStringLiteral("超级用户"), QStringLiteral("123456")), 1);
}

TEST_F(LoginTest, AfterAWrongPasswordTheRetypedOneReplacesIt) {
    TpasswordFm window;
    messages->expect(mkNotice, QStringLiteral("对不起,密码错误,请重新输入!"));
    QTest::keyClicks(window.paslabel, QStringLiteral("12345x"));
    window.ButtonYes->click();
    EXPECT_EQ(window.loginResult(), 0);
    EXPECT_EQ(window.paslabel->selectedText(), QStringLiteral("12345x"));
    QTest::keyClicks(window.paslabel, QStringLiteral("123456"));
    EXPECT_EQ(window.paslabel->text(), QStringLiteral("123456"));
    window.ButtonYes->click();
    EXPECT_EQ(window.loginResult(), 1);
}

TEST_F(LoginTest, AnOperatorWithoutARightsRowIsRefused) {
    exec(QStringLiteral("insert into TPerson (PersonName) values (\"无权限\")"));
    TpasswordFm window;
    messages->expect(mkNotice, QStringLiteral("对不起,该用户没有权限记录,不能登录,请与超级用户联系!"));
    EXPECT_EQ(tryLogin(window, QStringLiteral("无权限"), QString()), 0);
    EXPECT_EQ(CurrentUserName, QStringLiteral("超级用户"));  // unchanged from the fixture's login
}

TEST_F(LoginTest, EmptyOperatorTableGivesAnEmptyList) {
    exec(QStringLiteral("delete * from TPerson"));
    TpasswordFm window;
    EXPECT_EQ(window.userlabel->count(), 0);
}

TEST_F(LoginTest, CancelEndsWithoutALogin) {
    TpasswordFm window;
    window.paslabel->setText(QStringLiteral("123456"));
    window.Buttoncancel->click();
    EXPECT_EQ(window.loginResult(), 0);
}

TEST_F(LoginTest, WithoutADatabaseTheListIsEmptyAndEveryTryShowsWhy) {
    db::Connection::shared().close();
    QString reason;
    try {
        db::Connection::shared().open(database->folder() + QStringLiteral("/nothing.mdb"));
    } catch (const db::Error& error) {
        reason = error.message();
    }
    messages->expect(kErrorBoxKind, reason);
    TpasswordFm window;
    EXPECT_EQ(window.userlabel->count(), 0);
    messages->expect(kErrorBoxKind, reason);
    window.ButtonYes->click();
    messages->expect(kErrorBoxKind, reason);
    window.ButtonYes->click();
    EXPECT_EQ(window.loginResult(), 0);
}

}  // namespace
