// Operators, their rights rows, the rights window and the password dialog.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/TProjectMainFm.h"
#include "app/TpasswordFm.h"
#include "app/Views.h"
#include "common/Session.h"
#include "settings/SettingsActions.h"
#include "settings/TAddPersonFm.h"
#include "settings/TAuthorityFm.h"
#include "settings/TManagePassFm.h"
#include "settings/TPersonFm.h"
#include "settings/TcdsetFm.h"
#include "support/Fixture.h"
#include "ui/DataGrid.h"

using testing_support::AppTest;

namespace {

const QString kSuper = QStringLiteral("超级用户");

class OperatorsTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        TAuthorityFm::forgetRememberedMode();
    }

    // An operator with a TPerson row and a rights row.
    void addOperator(const QString& name, const QString& password, int level) {
        exec(QStringLiteral("insert into TPerson (PersonName) values (") + jet::quoted(name) + ")");
        exec(QStringLiteral("insert into TAuthority (UserName, Passward, Authority) values (") + jet::quoted(name) +
             ", " + jet::quoted(password) + ", " + QString::number(level) + ")");
    }
    qint64 personId(const QString& name) {
        return scalarInt(QStringLiteral("select Id from TPerson where PersonName=") + jet::quoted(name));
    }
    qint64 rightsRows(const QString& name) {
        return count(QStringLiteral("TAuthority"), QStringLiteral("where UserName=") + jet::quoted(name));
    }
    QString passwordOf(const QString& name) {
        return scalarText(QStringLiteral("select Passward from TAuthority where UserName=") + jet::quoted(name));
    }
    qint64 levelOf(const QString& name) {
        return scalarInt(QStringLiteral("select Authority from TAuthority where UserName=") + jet::quoted(name));
    }
    // The login window as the operator uses it; 1 when the name and password are accepted.
    int logIn(const QString& name, const QString& password) {
        TpasswordFm login;
        const int index = login.userlabel->findText(name);
        EXPECT_GE(index, 0) << "not in the login list: " << name.toStdString();
        login.userlabel->setCurrentIndex(index);
        login.paslabel->setText(password);
        login.ButtonYes->click();
        return login.loginResult();
    }
    static QStringList listed(QComboBox* box) {
        QStringList names;
        for (int i = 0; i < box->count(); ++i) names << box->itemText(i);
        return names;
    }
};

TEST_F(OperatorsTest, NewOperatorEndToEndThenLogsInWithTheInitialPassword) {
    TProjectMainFm* main = startViews();
    main->CdProjectButton->click();
    views().cdset->PersonManage->click();
    TPersonFm* list = views().person;
    EXPECT_FALSE(list->PbtnDel->isEnabled());

    dialogs->on(QStringLiteral("TAddPersonFm"), [](QDialog* d) {
        auto* fm = static_cast<TAddPersonFm*>(d);
        EXPECT_EQ(fm->windowTitle(), QStringLiteral("新增经手人员记录"));
        EXPECT_TRUE(fm->Label2->isVisible());
        EXPECT_EQ(fm->Label2->text(), QStringLiteral("(新增用户初始密码均为:862)"));
        fm->PersonName->setText(QStringLiteral("张三"));
        fm->AuthorityManage->click();
        fm->EnterButton->click();
    });
    dialogs->on(QStringLiteral("TAuthorityFm"), [](QDialog* d) {
        auto* fm = static_cast<TAuthorityFm*>(d);
        EXPECT_EQ(fm->windowTitle(), QStringLiteral("用户权限"));
        EXPECT_TRUE(fm->isFullMode());
        EXPECT_EQ(fm->PersonCombox->currentText(), QStringLiteral("张三"));
        // The name has no rights row yet, so it shows level 0.
        EXPECT_TRUE(fm->EpCheckBox1->isChecked());
        EXPECT_TRUE(fm->EpCheckBox3->isEnabled());
        fm->EpCheckBox3->click();
        EXPECT_FALSE(fm->EpCheckBox1->isChecked());
        fm->BtnOk->click();
    });
    // Then the main menu's "权限管理" shows the new operator with the level just given.
    dialogs->on(QStringLiteral("TAuthorityFm"), [](QDialog* d) {
        auto* fm = static_cast<TAuthorityFm*>(d);
        EXPECT_TRUE(fm->isFullMode());
        EXPECT_EQ(fm->PersonCombox->findText(QStringLiteral("张三")), 0);
        EXPECT_EQ(fm->PersonCombox->findText(QStringLiteral("超级用户")), -1);
        fm->PersonCombox->setCurrentIndex(0);
        EXPECT_EQ(fm->chosenLevel(), 2);
        fm->BtnCancel->click();
    });
    list->PBtnNew->click();

    EXPECT_EQ(count(QStringLiteral("TPerson"), QStringLiteral("where PersonName=\"张三\"")), 1);
    EXPECT_EQ(passwordOf(QStringLiteral("张三")), QStringLiteral("862"));
    EXPECT_EQ(levelOf(QStringLiteral("张三")), 2);
    ASSERT_EQ(list->Qperson->recordCount(), 1);
    EXPECT_EQ(list->Qperson->field(QStringLiteral("PersonName")).asString(), QStringLiteral("张三"));
    EXPECT_TRUE(list->PbtnDel->isEnabled());
    main->MenuAuthor->trigger();
    EXPECT_EQ(dialogs->opened(QStringLiteral("TAuthorityFm")), 2);

    messages->expect(mkNotice, QStringLiteral("对不起,密码错误,请重新输入!"));
    EXPECT_EQ(logIn(QStringLiteral("张三"), QStringLiteral("123")), 0);
    EXPECT_EQ(logIn(QStringLiteral("张三"), QStringLiteral("862")), 1);
    EXPECT_EQ(CurrentUserName, QStringLiteral("张三"));
    EXPECT_EQ(CurrentAuthority, 2);
}

TEST_F(OperatorsTest, OperatorDialogRefusals) {
    messages->expect(mkNotice, QStringLiteral("请输入新增人员的姓名后再进行权限设置!"));
    messages->expect(mkNotice, QStringLiteral("对不起你没有对该操作人员进行权限管理的设置!"));
    TAddPersonFm dialog(0);
    dialog.show();
    dialog.PersonName->setText(QStringLiteral("   "));
    dialog.AuthorityManage->click();
    EXPECT_EQ(dialogs->opened(QStringLiteral("TAuthorityFm")), 0);
    dialog.PersonName->setText(QStringLiteral("李四"));
    dialog.EnterButton->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(count(QStringLiteral("TPerson")), 1);
    EXPECT_EQ(count(QStringLiteral("TAuthority")), 1);
}

TEST_F(OperatorsTest, BlanksAroundANewNameAreDropped) {
    // The login trims the picked name, so a name saved with blanks could never find its rights row.
    dialogs->on(QStringLiteral("TAuthorityFm"), [](QDialog* d) {
        auto* fm = static_cast<TAuthorityFm*>(d);
        EXPECT_EQ(fm->PersonCombox->currentText(), QStringLiteral("王五"));
        fm->EpCheckBox2->click();
        fm->BtnOk->click();
    });
    TAddPersonFm dialog(0);
    dialog.show();
    dialog.PersonName->setText(QStringLiteral(" 王五  "));
    dialog.AuthorityManage->click();
    dialog.EnterButton->click();
    EXPECT_EQ(count(QStringLiteral("TPerson"), QStringLiteral("where PersonName=\"王五\"")), 1);
    EXPECT_EQ(logIn(QStringLiteral("王五"), QStringLiteral("862")), 1);
    EXPECT_EQ(CurrentAuthority, 1);
}

TEST_F(OperatorsTest, NameOfAnOperatorWithRightsAddsASecondPersonRow) {
    addOperator(QStringLiteral("张三"), QStringLiteral("1"), 1);
    TAddPersonFm dialog(0);
    dialog.show();
    dialog.PersonName->setText(QStringLiteral("张三"));
    dialog.EnterButton->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(count(QStringLiteral("TPerson"), QStringLiteral("where PersonName=\"张三\"")), 2);
}

TEST_F(OperatorsTest, ChangeModeShowsTheNameAndHidesTheHint) {
    addOperator(QStringLiteral("张三"), QStringLiteral("1"), 1);
    TAddPersonFm dialog(personId(QStringLiteral("张三")));
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("修改经手人员记录"));
    EXPECT_EQ(dialog.PersonName->text(), QStringLiteral("张三"));
    EXPECT_FALSE(dialog.Label2->isVisible());
}

TEST_F(OperatorsTest, RenamedOperatorKeepsPasswordAndLevel) {
    addOperator(QStringLiteral("张三"), QStringLiteral("abc"), 1);
    TPersonFm list;
    dialogs->on(QStringLiteral("TAddPersonFm"), [](QDialog* d) {
        auto* fm = static_cast<TAddPersonFm*>(d);
        fm->PersonName->setText(QStringLiteral("张三丰"));
        fm->EnterButton->click();
    });
    list.PBtnmodify->click();
    EXPECT_EQ(list.Qperson->field(QStringLiteral("PersonName")).asString(), QStringLiteral("张三丰"));
    EXPECT_EQ(rightsRows(QStringLiteral("张三")), 0);
    EXPECT_EQ(passwordOf(QStringLiteral("张三丰")), QStringLiteral("abc"));
    EXPECT_EQ(levelOf(QStringLiteral("张三丰")), 1);
    EXPECT_EQ(logIn(QStringLiteral("张三丰"), QStringLiteral("abc")), 1);
    EXPECT_EQ(CurrentAuthority, 1);
}

TEST_F(OperatorsTest, NameChangedInTheGridTakesItsRightsRowAlong) {
    addOperator(QStringLiteral("张三"), QStringLiteral("abc"), 1);
    TPersonFm list;
    ui::GridModel* model = list.dxDBGrid5->model();
    ASSERT_TRUE(model->setData(model->index(0, 0), QStringLiteral("张四"), Qt::EditRole));
    list.Qperson->post();
    EXPECT_EQ(rightsRows(QStringLiteral("张三")), 0);
    EXPECT_EQ(passwordOf(QStringLiteral("张四")), QStringLiteral("abc"));
    // A change given up leaves the rights where they are.
    ASSERT_TRUE(model->setData(model->index(0, 0), QStringLiteral("张五"), Qt::EditRole));
    list.Qperson->cancel();
    EXPECT_EQ(rightsRows(QStringLiteral("张四")), 1);
}

TEST_F(OperatorsTest, RenamingOneOfTwoNamesakesCopiesTheRightsRow) {
    addOperator(QStringLiteral("张三"), QStringLiteral("abc"), 2);
    exec(QStringLiteral("insert into TPerson (PersonName) values (\"张三\")"));
    TAddPersonFm dialog(personId(QStringLiteral("张三")));
    dialog.show();
    dialog.PersonName->setText(QStringLiteral("张小三"));
    dialog.EnterButton->click();
    EXPECT_EQ(rightsRows(QStringLiteral("张三")), 1);
    EXPECT_EQ(passwordOf(QStringLiteral("张小三")), QStringLiteral("abc"));
    EXPECT_EQ(levelOf(QStringLiteral("张小三")), 2);
}

TEST_F(OperatorsTest, DeletingAnOperatorTakesItsRightsRows) {
    addOperator(QStringLiteral("张三"), QStringLiteral("1"), 2);
    addOperator(QStringLiteral("李四"), QStringLiteral("2"), 1);
    exec(QStringLiteral("insert into TAuthority (UserName, Passward, Authority) values (\"张三\", \"x\", 0)"));
    TPersonFm list;
    ASSERT_EQ(list.Qperson->field(QStringLiteral("PersonName")).asString(), QStringLiteral("张三"));
    list.PbtnDel->click();  // no question is asked
    EXPECT_EQ(count(QStringLiteral("TPerson"), QStringLiteral("where PersonName=\"张三\"")), 0);
    EXPECT_EQ(rightsRows(QStringLiteral("张三")), 0);
    EXPECT_EQ(rightsRows(QStringLiteral("李四")), 1);
    TpasswordFm login;
    EXPECT_EQ(listed(login.userlabel), (QStringList{kSuper, QStringLiteral("李四")}));
}

TEST_F(OperatorsTest, DeletingDuringAnUnsavedNameChangeTakesTheStoredNamesRights) {
    addOperator(QStringLiteral("张三"), QStringLiteral("1"), 2);
    addOperator(QStringLiteral("李四"), QStringLiteral("2"), 1);
    TPersonFm list;
    ui::GridModel* model = list.dxDBGrid5->model();
    // The name of another operator typed over 张三's and not saved.
    ASSERT_TRUE(model->setData(model->index(0, 0), QStringLiteral("李四"), Qt::EditRole));
    list.PbtnDel->click();
    EXPECT_EQ(count(QStringLiteral("TPerson"), QStringLiteral("where PersonName=\"张三\"")), 0);
    EXPECT_EQ(rightsRows(QStringLiteral("张三")), 0);
    EXPECT_EQ(rightsRows(QStringLiteral("李四")), 1);
    EXPECT_EQ(list.Qperson->recordCount(), 1);
    EXPECT_EQ(list.Qperson->field(QStringLiteral("PersonName")).asString(), QStringLiteral("李四"));
}

TEST_F(OperatorsTest, ChangeOnAnEmptyListOpensANewOperator) {
    TPersonFm list;
    dialogs->on(QStringLiteral("TAddPersonFm"), [](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("新增经手人员记录"));
        d->reject();
    });
    list.PBtnmodify->click();
    EXPECT_EQ(dialogs->opened(QStringLiteral("TAddPersonFm")), 1);
}

TEST_F(OperatorsTest, FullModeListsOperatorsAndSetsAnyNamesLevel) {
    addOperator(QStringLiteral("张三"), QStringLiteral("1"), 2);
    addOperator(QStringLiteral("李四"), QStringLiteral("2"), 1);
    TAuthorityFm rights;
    EXPECT_TRUE(rights.isFullMode());
    EXPECT_EQ(listed(rights.PersonCombox), (QStringList{QStringLiteral("张三"), QStringLiteral("李四")}));
    EXPECT_EQ(rights.PersonCombox->currentText(), QString());
    EXPECT_EQ(rights.chosenLevel(), 0);
    EXPECT_TRUE(rights.PersonCombox->isEnabled());

    struct Case {
        QString name;
        int shown;
    };
    for (const Case& c : {Case{QStringLiteral("李四"), 1}, Case{QStringLiteral("张三"), 2}, Case{kSuper, 0},
                          Case{QStringLiteral("王五"), 0}}) {
        rights.PersonCombox->setEditText(c.name);
        EXPECT_EQ(rights.chosenLevel(), c.shown) << c.name.toStdString();
    }

    // A typed name without a rights row gets one with the initial password.
    rights.EpCheckBox2->click();
    rights.BtnOk->click();
    EXPECT_EQ(passwordOf(QStringLiteral("王五")), QStringLiteral("862"));
    EXPECT_EQ(levelOf(QStringLiteral("王五")), 1);

    TAuthorityFm again;
    again.PersonCombox->setCurrentIndex(0);
    EXPECT_EQ(again.PersonCombox->currentText(), QStringLiteral("张三"));
    EXPECT_EQ(again.chosenLevel(), 2);
    again.EpCheckBox1->click();
    again.BtnOk->click();
    EXPECT_EQ(levelOf(QStringLiteral("张三")), 0);
    EXPECT_EQ(rightsRows(QStringLiteral("张三")), 1);
    EXPECT_EQ(passwordOf(QStringLiteral("张三")), QStringLiteral("1"));
}

TEST_F(OperatorsTest, CancelInTheRightsWindowSavesNothing) {
    addOperator(QStringLiteral("张三"), QStringLiteral("1"), 2);
    TAuthorityFm rights(QStringLiteral("张三"), nullptr);
    EXPECT_EQ(rights.chosenLevel(), 2);
    rights.EpCheckBox1->click();
    rights.BtnCancel->click();
    EXPECT_EQ(levelOf(QStringLiteral("张三")), 2);
}

TEST_F(OperatorsTest, OwnAccountModeChangesOnlyTheViewersOwnPassword) {
    for (int level : {kAdministrator, kOperator}) {
        SCOPED_TRACE(level);
        const QString me = QStringLiteral("操作员%1").arg(level);
        addOperator(me, QStringLiteral("old"), level);
        loginAs(me, level);
        bool seen = false;
        dialogs->on(QStringLiteral("TAuthorityFm"), [&](QDialog* d) {
            auto* fm = static_cast<TAuthorityFm*>(d);
            seen = true;
            EXPECT_FALSE(fm->isFullMode());
            EXPECT_EQ(fm->PersonCombox->currentText(), me);
            EXPECT_EQ(fm->PersonCombox->count(), 0);
            // The name is fixed: no other operator's (nor the super user's) password can be reached.
            EXPECT_FALSE(fm->PersonCombox->isEnabled());
            EXPECT_EQ(fm->chosenLevel(), level);
            for (QCheckBox* box : {fm->EpCheckBox1, fm->EpCheckBox2, fm->EpCheckBox3}) EXPECT_FALSE(box->isEnabled());
            fm->BtnPass->click();
            fm->BtnOk->click();
        });
        dialogs->on(QStringLiteral("TManagePassFm"), [](QDialog* d) {
            auto* fm = static_cast<TManagePassFm*>(d);
            EXPECT_EQ(fm->windowTitle(), QStringLiteral("密码修改:"));
            EXPECT_EQ(fm->OldPass->text(), QStringLiteral("old"));
            EXPECT_FALSE(fm->OldPass->isEnabled());
            EXPECT_EQ(fm->OldPass->echoMode(), QLineEdit::Password);
            fm->NewPass->setText(QStringLiteral("new"));
            fm->BtnOk->click();
        });
        showAuthorityWindow(nullptr);
        EXPECT_TRUE(seen);
        EXPECT_EQ(passwordOf(me), QStringLiteral("new"));
        EXPECT_EQ(levelOf(me), level);
        EXPECT_EQ(passwordOf(kSuper), QStringLiteral("123456"));
        EXPECT_EQ(count(QStringLiteral("TAuthority")), level == kAdministrator ? 2 : 3);
    }
}

TEST_F(OperatorsTest, OpeningWithANameKeepsTheModeOfTheLastMenuOpening) {
    addOperator(QStringLiteral("张三"), QStringLiteral("1"), 2);
    loginAs(QStringLiteral("张三"), kOperator);
    { TAuthorityFm fromMenu; }
    TAuthorityFm withName(kSuper, nullptr);
    EXPECT_FALSE(withName.isFullMode());
    EXPECT_EQ(withName.PersonCombox->currentText(), QStringLiteral("张三"));
    EXPECT_FALSE(withName.PersonCombox->isEnabled());
}

TEST_F(OperatorsTest, PasswordIsStoredExactlyAsTyped) {
    addOperator(QStringLiteral("张三"), QStringLiteral("1"), 2);
    for (const QString& typed : {QStringLiteral(" a B "), QString()}) {
        TManagePassFm dialog(QStringLiteral("张三"));
        dialog.NewPass->setText(typed);
        dialog.BtnOk->click();
        EXPECT_EQ(passwordOf(QStringLiteral("张三")), typed);
    }
    EXPECT_EQ(logIn(QStringLiteral("张三"), QString()), 1);
    // The super user is reached by typing its name in full mode.
    TAuthorityFm rights;
    rights.PersonCombox->setEditText(kSuper);
    dialogs->on(QStringLiteral("TManagePassFm"), [](QDialog* d) {
        auto* fm = static_cast<TManagePassFm*>(d);
        EXPECT_EQ(fm->OldPass->text(), QStringLiteral("123456"));
        fm->NewPass->setText(QStringLiteral("s3cret"));
        fm->BtnOk->click();
    });
    rights.BtnPass->click();
    EXPECT_EQ(passwordOf(kSuper), QStringLiteral("s3cret"));
}

TEST_F(OperatorsTest, NoRightsRowIsMadeWithoutAName) {
    addOperator(QStringLiteral("张三"), QStringLiteral("1"), 2);
    const qint64 before = count(QStringLiteral("TAuthority"));
    // The rights window refuses an empty name box.
    TAuthorityFm rights;
    rights.PersonCombox->setEditText(QString());
    messages->expect(mkNotice, QStringLiteral("请选择或输入操作人员的姓名!"));
    rights.BtnOk->click();
    // A new password for a name without a rights row would be stored under no name.
    TManagePassFm password(QStringLiteral("无此人"));
    password.NewPass->setText(QStringLiteral("x"));
    messages->expect(mkNotice, QStringLiteral("对不起你没有对该操作人员进行权限管理的设置!"));
    password.BtnOk->click();
    EXPECT_EQ(count(QStringLiteral("TAuthority")), before);
    EXPECT_EQ(count(QStringLiteral("TAuthority"), QStringLiteral("where UserName is null or UserName=\"\"")), 0);
}

TEST_F(OperatorsTest, TheSuperUserKeepsLevelZero) {
    TAuthorityFm rights;
    rights.PersonCombox->setEditText(kSuper);
    rights.EpCheckBox3->click();
    messages->expect(mkNotice, QStringLiteral("超级用户的权限不能更改!"));
    rights.BtnOk->click();
    EXPECT_EQ(levelOf(kSuper), 0);
    rights.EpCheckBox1->click();
    rights.BtnOk->click();
    EXPECT_EQ(levelOf(kSuper), 0);
}

}  // namespace
