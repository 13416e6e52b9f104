// Clearing groups of data for a fresh start, as rules on a database and through the dialog.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "MaintenanceSupport.h"
#include "app/TProjectMainFm.h"
#include "app/Views.h"
#include "common/Session.h"
#include "db/Connection.h"
#include "db/Errors.h"
#include "inventory/TCdResourceFm.h"
#include "members/TCdMemberFm.h"
#include "rental/TCdRentBackFm.h"
#include "settings/Initialisation.h"
#include "settings/TSystemInitialFm.h"
#include "support/Fixture.h"

using maintenance_test::dumpTables;
using maintenance_test::fillShop;
using settings::Initialisation;
using settings::InitialisationGroups;
using testing_support::AppTest;

namespace {

class InitialisationTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        fillShop();
    }
    qint64 rows(const char* table, const char* where = "") {
        return count(QString::fromUtf8(table), QString::fromUtf8(where));
    }
    // Stock counts that differ from the count bought, titles and volumes together.
    qint64 stockOff() {
        return rows("TCdResource", "where stock<>BuySeriesCount") + rows("Sitcom", "where Stock<>BuySeriesCount");
    }
};

TEST_F(InitialisationTest, EachGroupClearsItsOwnTablesAndNoOther) {
    struct Expect {
        qint64 titles, volumes, sheets, items, sales, members, schemes, renewals, persons, rights, types, charges;
        qint64 stockOff;
        const char* cycle;
        const char* deposit;
    };
    const Expect untouched{2, 2, 2, 2, 2, 1, 1, 1, 2, 2, 2, 2, 3, "3", "20"};
    struct Case {
        const char* name;
        InitialisationGroups groups;
        Expect after;
        bool rentalsCleared;
    };
    auto only = [](bool InitialisationGroups::*group) {
        InitialisationGroups g;
        g.*group = true;
        return g;
    };
    const Case cases[] = {
        {"nothing", {}, untouched, false},
        {"titles", only(&InitialisationGroups::resources), {0, 0, 0, 0, 0, 1, 1, 1, 2, 2, 2, 2, 0, "3", "20"}, true},
        {"rentals", only(&InitialisationGroups::rentals), {2, 2, 0, 0, 2, 1, 1, 1, 2, 2, 2, 2, 0, "3", "20"}, true},
        {"sales", only(&InitialisationGroups::sales), {2, 2, 2, 2, 0, 1, 1, 1, 2, 2, 2, 2, 0, "3", "20"}, false},
        {"members", only(&InitialisationGroups::members), {2, 2, 2, 2, 2, 0, 0, 1, 2, 2, 2, 2, 3, "3", "20"}, false},
        {"settings", only(&InitialisationGroups::settings), {2, 2, 2, 2, 2, 1, 1, 1, 1, 1, 1, 1, 3, "1", "10"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        exec(QStringLiteral("delete * from TCdResource"));  // each case starts from the same shop
        for (const char* t : {"Sitcom", "CdSalesDiscard", "TRentOperation", "TRentList", "TMemberSystem",
                              "TMemberResource", "TMemberKeepOnToll"})
            exec(QStringLiteral("delete * from ") + QString::fromLatin1(t));
        exec(QStringLiteral("delete * from TPerson where PersonName<>\"超级用户\""));
        exec(QStringLiteral("delete * from TAuthority where UserName<>\"超级用户\""));
        exec(QStringLiteral("delete * from TCdType where CdTypes<>\"其它类型\""));
        exec(QStringLiteral("delete * from TChargeStandard where ChargeName<>\"默认标准\""));
        fillShop();

        EXPECT_EQ(Initialisation(db::Connection::shared()).run(c.groups), c.rentalsCleared);
        const Expect& e = c.after;
        EXPECT_EQ(rows("TCdResource"), e.titles);
        EXPECT_EQ(rows("Sitcom"), e.volumes);
        EXPECT_EQ(rows("TRentOperation"), e.sheets);
        EXPECT_EQ(rows("TRentList"), e.items);
        EXPECT_EQ(rows("CdSalesDiscard"), e.sales);
        EXPECT_EQ(rows("TMemberResource"), e.members);
        EXPECT_EQ(rows("TMemberSystem"), e.schemes);
        EXPECT_EQ(rows("TMemberKeepOnToll"), e.renewals);
        EXPECT_EQ(rows("TPerson"), e.persons);
        EXPECT_EQ(rows("TAuthority"), e.rights);
        EXPECT_EQ(rows("TCdType"), e.types);
        EXPECT_EQ(rows("TChargeStandard"), e.charges);
        EXPECT_EQ(stockOff(), e.stockOff);
        EXPECT_EQ(scalarText(QStringLiteral("select Cycle from CdCycle")), QString::fromUtf8(e.cycle));
        EXPECT_EQ(scalarText(QStringLiteral("select MortagageSum from TbMortagage")), QString::fromUtf8(e.deposit));
        // The fixed rows and the settings the groups do not name always stay.
        EXPECT_EQ(rows("TPerson", "where PersonName=\"超级用户\""), 1);
        EXPECT_EQ(rows("TAuthority", "where UserName=\"超级用户\""), 1);
        EXPECT_EQ(rows("TCdType", "where CdTypes=\"其它类型\""), 1);
        EXPECT_EQ(rows("TChargeStandard", "where ChargeName=\"默认标准\""), 1);
        EXPECT_EQ(rows("Timelimited"), 1);
        EXPECT_EQ(rows("TbAwoke"), 1);
    }
}

TEST_F(InitialisationTest, TitlesTakeTheirRentalAndSaleRecordsAlong) {
    InitialisationGroups titles;
    titles.resources = true;
    const InitialisationGroups all = Initialisation::withDependencies(titles);
    EXPECT_TRUE(all.rentals);
    EXPECT_TRUE(all.sales);
    EXPECT_FALSE(all.members);
    EXPECT_FALSE(all.settings);
}

TEST_F(InitialisationTest, AFailingStatementLeavesEveryGroupAsItWas) {
    const QStringList before = dumpTables();
    // The settings group runs last but one; its failure must take back the groups before it.
    db::Connection::shared().execEngine(QStringLiteral(
        "CREATE TEMP TRIGGER refuse BEFORE DELETE ON TChargeStandard BEGIN SELECT RAISE(ABORT,'injected'); END"));
    InitialisationGroups everything;
    everything.resources = everything.members = everything.settings = true;
    EXPECT_THROW(Initialisation(db::Connection::shared()).run(everything), db::Error);
    db::Connection::shared().execEngine(QStringLiteral("DROP TRIGGER refuse"));
    EXPECT_EQ(dumpTables(), before);
}

// The dialog over the rules, opened from the main window's menu.
class InitialisationDialogTest : public InitialisationTest {
protected:
    void choose(const std::function<void(TSystemInitialFm*)>& act) {
        dialogs->on(QStringLiteral("TSystemInitialFm"), [act](QDialog* d) { act(static_cast<TSystemInitialFm*>(d)); });
    }
};

TEST_F(InitialisationDialogTest, ShowsItsTextsAndTheTitleBoxLocksTheTwoThatDependOnIt) {
    bool looked = false;
    choose([&](TSystemInitialFm* fm) {
        looked = true;
        EXPECT_EQ(fm->windowTitle(), QStringLiteral("系统初始化"));
        EXPECT_EQ(fm->LabelWarning->text(), QStringLiteral("警告：系统初始化将删除所有光盘资料记录和出租记录！"));
        EXPECT_EQ(fm->LabelPrompt->text(), QStringLiteral("请选择你在系统初始化时要删除的资料:"));
        for (QCheckBox* b : {fm->ResourceCheck, fm->RentCheck, fm->MemberCheck, fm->SettingCheck, fm->SaleCheck})
            EXPECT_FALSE(b->isChecked()) << b->objectName().toStdString();
        fm->ResourceCheck->click();
        EXPECT_TRUE(fm->RentCheck->isChecked() && fm->SaleCheck->isChecked());
        EXPECT_FALSE(fm->RentCheck->isEnabled() || fm->SaleCheck->isEnabled());
        fm->ResourceCheck->click();
        EXPECT_TRUE(fm->RentCheck->isChecked() && fm->SaleCheck->isChecked());
        EXPECT_TRUE(fm->RentCheck->isEnabled() && fm->SaleCheck->isEnabled());
        fm->Btncancle->click();
    });
    startViews();
    mainWindow->MenuInitial->trigger();
    EXPECT_TRUE(looked);
    EXPECT_EQ(rows("TRentList"), 2);
}

TEST_F(InitialisationDialogTest, CancellingTheQuestionDeletesNothingAndKeepsTheDialogOpen) {
    const QStringList before = dumpTables();
    bool stillOpen = false;
    choose([&](TSystemInitialFm* fm) {
        fm->ResourceCheck->click();
        fm->MemberCheck->click();
        fm->BtnOk->click();
        stillOpen = fm->isVisible();
        fm->Btncancle->click();
    });
    messages->expect(mkConfirm, QStringLiteral("系统初始化将删除你所选择的资料,删除后只能从备份中恢复,是否继续?"),
                     false);
    startViews();
    mainWindow->MenuInitial->trigger();
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(dumpTables(), before);
}

TEST_F(InitialisationDialogTest, ClearingRentalsRefreshesTheListsAndZeroesTheDeskCounters) {
    startViews();
    AppViews& v = views();
    auto* counter = new QLabel(QStringLiteral("2条"), v.cdRentBack);
    counter->setObjectName(QStringLiteral("RecordCount"));
    v.cdRentBack->Q->reopen(QStringLiteral("select * from TRentOperation"));
    v.cdMember->Q2->reopen(QStringLiteral("select * from TMemberResource"));
    ASSERT_EQ(v.cdRentBack->Q->recordCount(), 2);
    choose([](TSystemInitialFm* fm) {
        fm->RentCheck->click();
        fm->MemberCheck->click();
        fm->BtnOk->click();
    });
    messages->expect(mkConfirm, QStringLiteral("系统初始化将删除你所选择的资料,删除后只能从备份中恢复,是否继续?"));
    mainWindow->MenuInitial->trigger();
    EXPECT_EQ(v.cdRentBack->Q->recordCount(), 0);
    EXPECT_EQ(v.cdRentBack->Q->sqlText(), QStringLiteral("select * from TRentOperation"));
    EXPECT_EQ(v.cdMember->Q2->recordCount(), 0);
    EXPECT_EQ(counter->text(), QStringLiteral("0条"));
    EXPECT_EQ(stockOff(), 0);
}

TEST_F(InitialisationDialogTest, OnlyTheSuperUserMayRestoreOrInitialise) {
    startViews();
    const QStringList before = dumpTables();
    for (int level : {kAdministrator, kOperator}) {
        SCOPED_TRACE(level);
        loginAs(QStringLiteral("李四"), level);
        for (QAction* item : {mainWindow->MenuInitial, mainWindow->MenuRestore}) {
            messages->expect(mkNotice, QString::fromUtf8(kSuperUserOnlyText));
            item->trigger();
        }
    }
    EXPECT_EQ(dialogs->opened(QStringLiteral("TSystemInitialFm")), 0);
    EXPECT_EQ(dialogs->opened(QStringLiteral("TBackupFm")), 0);
    EXPECT_EQ(dumpTables(), before);
    // Backing up stays open to every level.
    dialogs->on(QStringLiteral("TBackupFm"), [](QDialog* d) { d->reject(); });
    mainWindow->MenuBak->trigger();
    EXPECT_EQ(dialogs->opened(QStringLiteral("TBackupFm")), 1);
}

}  // namespace
