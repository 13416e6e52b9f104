#include <gtest/gtest.h>

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include "app/TAboutFm.h"
#include "app/TDenyFm.h"
#include "app/TProjectMainFm.h"
#include "app/Views.h"
#include "common/MyMessageBox.h"
#include "common/Platform.h"
#include "common/Session.h"
#include "inventory/TCdResourceFm.h"
#include "members/TCdMemberFm.h"
#include "rental/TAwokeFm.h"
#include "rental/TCdRentBackFm.h"
#include "settings/TcdsetFm.h"
#include "stats/TReportFm.h"
#include "support/Fixture.h"
#include "ui/DockArea.h"

using testing_support::AppTest;

namespace {

class MainWindowTest : public AppTest {
protected:
    QPushButton* button(Module module) {
        switch (module) {
            case Module::CdResource:
                return mainWindow->CdResourceButton;
            case Module::CdRent:
                return mainWindow->CdRentBackButton;
            case Module::CdMember:
                return mainWindow->CdMemberButton;
            case Module::CdSetting:
                return mainWindow->CdProjectButton;
            case Module::CdAwoke:
                return mainWindow->CdAwokeButton;
            case Module::CdReport:
                return mainWindow->CdReportButton;
        }
        return nullptr;
    }
    QWidget* shown() const { return mainWindow->PanelMain->current(); }
};

TEST_F(MainWindowTest, StartsWithTheRentalDeskDockedAndAnEmptyTitleStrip) {
    loginAs(QStringLiteral("张三"), kOperator);
    startViews();
    EXPECT_EQ(mainWindow->windowTitle(),
              QStringLiteral("Orvane---光盘出租管理系统(T1.1(BUILD20030827)版)---当前用户\"张三\""));
    EXPECT_EQ(shown(), static_cast<QWidget*>(views().cdRentBack));
    EXPECT_TRUE(mainWindow->LabTitle->text().isEmpty());
    EXPECT_TRUE(mainWindow->LabExplain->text().isEmpty());
    QStringList captions;
    for (QPushButton* b : mainWindow->PanelLeft->findChildren<QPushButton*>()) captions << b->text();
    EXPECT_EQ(captions, (QStringList{"光盘资料管理", "光盘出租管理", "会员管理", "项目设置", "逾期提醒", "统计数据"}));
    QStringList menus;
    for (QAction* a : mainWindow->menuBar()->actions()) menus << a->text();
    // Each with its letter for Alt.
    EXPECT_EQ(menus, (QStringList{"文件(&F)", "功能选择(&M)", "维护与设置(&T)", "帮助(&H)"}));
}

TEST_F(MainWindowTest, CreatesTheSixteenViewsWithTheirNames) {
    startViews();
    for (const char* name : {"TCdResourceFm", "TCdRentBackFm", "TCdMemberFm", "TReportFm", "TReportSaleFm",
                             "TReportSortFm", "TAwokeFm", "TQueryFm", "TDenyFm", "TcdsetFm", "TPersonFm", "TcdTypeFm",
                             "TChargefm", "TMortagageFm", "TTimelimitFm", "TCycleFm"})
        EXPECT_NE(mainWindow->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
}

// Which levels each module refuses, and what the title strip shows then.
TEST_F(MainWindowTest, ModulesAreRefusedByRightsLevel) {
    const struct {
        Module module;
        bool allowed[3];  // levels 0, 1, 2
        const char* title;
        bool refusalClearsStrip;
    } table[] = {
        {Module::CdResource, {true, true, false}, "光盘资料管理", false},
        {Module::CdRent, {true, true, true}, "光盘出租管理", true},
        {Module::CdMember, {true, false, false}, "会员制度管理", true},
        {Module::CdSetting, {true, false, false}, "项目设置", true},
        {Module::CdAwoke, {true, true, true}, "到期提醒", true},
        {Module::CdReport, {true, false, false}, "统计报表", true},
    };
    startViews();
    for (int level = 0; level < 3; ++level) {
        loginAs(QStringLiteral("x"), level);
        for (const auto& row : table) {
            SCOPED_TRACE(std::string(row.title) + " at level " + std::to_string(level));
            mainWindow->LabTitle->setText(QStringLiteral("之前"));
            mainWindow->LabExplain->setText(QStringLiteral("之前的说明"));
            button(row.module)->click();
            const bool refused = shown() == static_cast<QWidget*>(views().deny);
            EXPECT_EQ(refused, !row.allowed[level]);
            if (!refused) {
                EXPECT_EQ(mainWindow->LabTitle->text().toStdString(), std::string(row.title));
                EXPECT_FALSE(mainWindow->LabExplain->text().isEmpty());
            } else if (row.refusalClearsStrip) {
                EXPECT_TRUE(mainWindow->LabTitle->text().isEmpty());
                EXPECT_TRUE(mainWindow->LabExplain->text().isEmpty());
            } else {
                EXPECT_EQ(mainWindow->LabTitle->text(), QStringLiteral("之前"));
                EXPECT_EQ(mainWindow->LabExplain->text(), QStringLiteral("之前的说明"));
            }
        }
    }
}

TEST_F(MainWindowTest, MenuItemsActAsTheirButtons) {
    startViews();
    mainWindow->MenuMember->trigger();
    EXPECT_EQ(shown(), static_cast<QWidget*>(views().cdMember));
    EXPECT_EQ(mainWindow->LabExplain->text(),
              QStringLiteral("管理会员的各项优惠制度,定义各种会员所应缴纳的会费,租金,押金."));
    mainWindow->MenuCall->trigger();
    EXPECT_EQ(shown(), static_cast<QWidget*>(views().awoke));
    mainWindow->MenuReport->trigger();
    EXPECT_EQ(shown(), static_cast<QWidget*>(views().report));
}

TEST_F(MainWindowTest, ADockedViewComesBackAsItWasLeft) {
    startViews();
    auto* marker = new QLabel(QStringLiteral("operator's work"), views().cdResource);
    mainWindow->CdResourceButton->click();
    mainWindow->CdMemberButton->click();
    mainWindow->CdResourceButton->click();
    EXPECT_EQ(shown(), static_cast<QWidget*>(views().cdResource));
    EXPECT_EQ(marker->parentWidget(), static_cast<QWidget*>(views().cdResource));
}

TEST_F(MainWindowTest, TheAboutBoxShowsTheProductLines) {
    startViews();
    QStringList lines;
    dialogs->on(QStringLiteral("TAboutFm"), [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("关于本软件"));
        for (QLabel* l : d->findChildren<QLabel*>()) lines << l->text();
        static_cast<TAboutFm*>(d)->BtnClose->click();
    });
    mainWindow->MenuAbout->trigger();
    EXPECT_EQ(dialogs->opened(QStringLiteral("TAboutFm")), 1);
    EXPECT_TRUE(lines.contains(QStringLiteral("内部版本:T1.00(BUILD20030323)")));
    EXPECT_TRUE(lines.contains(QStringLiteral("适用系统:Windows 9x/NT/2000/XP")));
}

TEST_F(MainWindowTest, ClosingAsksTheExitReminderAndCancelKeepsRunning) {
    startViews();
    int asked = 0, answer = -1;
    TProjectMainFm::setExitReminder([&] {
        ++asked;
        return answer;
    });
    QCloseEvent keep;
    QApplication::sendEvent(mainWindow, &keep);
    EXPECT_FALSE(keep.isAccepted());
    answer = 0;
    QCloseEvent end;
    QApplication::sendEvent(mainWindow, &end);
    EXPECT_TRUE(end.isAccepted());
    EXPECT_EQ(asked, 2);
    TProjectMainFm::setExitReminder({});
}

TEST_F(MainWindowTest, AControlDisabledWithTheFocusPassesItOnWithinItsViewNotToTheModuleButtons) {
    startViews();
    mainWindow->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(mainWindow));
    // A save button is often the last control of its view and is disabled by the save it runs.
    for (Module module :
         {Module::CdResource, Module::CdRent, Module::CdMember, Module::CdSetting, Module::CdAwoke, Module::CdReport}) {
        mainWindow->selectModule(module);
        QWidget* view = shown();
        SCOPED_TRACE(view->objectName().toStdString());
        // The last of the view's own controls in the focus chain, which starts at the view itself.
        QWidgetList controls;
        for (QWidget* w = view->nextInFocusChain(); w != view; w = w->nextInFocusChain())
            if (view->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && w->isVisible() &&
                w->isEnabled() && !w->focusProxy())
                controls << w;
        if (controls.size() < 2) continue;  // nothing else in the view could take the focus
        QWidget* last = controls.last();
        last->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), last);
        last->setEnabled(false);
        QWidget* focus = QApplication::focusWidget();
        EXPECT_TRUE(focus && view->isAncestorOf(focus)) << (focus ? focus->objectName().toStdString() : "none");
        last->setEnabled(true);
    }
}

}  // namespace

namespace {

class RememberedPathTest : public AppTest {};

TEST_F(RememberedPathTest, TheLastBackupPathIsKeptInTheTestsOwnFile) {
    EXPECT_TRUE(rememberedBackupPath().isEmpty());
    rememberBackupPath(database->folder() + QStringLiteral("/data/BackData.bak"));
    EXPECT_EQ(rememberedBackupPath(), database->folder() + QStringLiteral("/data/BackData.bak"));
    EXPECT_TRUE(QFile::exists(database->folder() + QStringLiteral("/settings.ini")));
}

}  // namespace
