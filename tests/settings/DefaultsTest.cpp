// Default deposit, time limit with its reminder switch, and billing cycle.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <memory>

#include "settings/SettingsValues.h"
#include "settings/TCycleFm.h"
#include "settings/TMortagageFm.h"
#include "settings/TSetCycleFm.h"
#include "settings/TSetMortagageFm.h"
#include "settings/TSetTimelimitedFm.h"
#include "settings/TTimelimitFm.h"
#include "support/Fixture.h"
#include "ui/DataGrid.h"

using db::Money;
using testing_support::AppTest;

namespace {

class DefaultsTest : public AppTest {
protected:
    // The text shown in the first cell of a settings grid.
    static QString firstCell(ui::DataGrid* grid) {
        return grid->model()->data(grid->model()->index(0, 0), Qt::DisplayRole).toString();
    }
    // Each "设置" dialog types `typed` and presses "确定"; `shown` is the text it opened with.
    void SetUp() override {
        AppTest::SetUp();
        dialogs->on(QStringLiteral("TSetMortagageFm"), [this](QDialog* d) {
            auto* fm = static_cast<TSetMortagageFm*>(d);
            act(fm->CaleMortagage, fm->BtnEnter);
        });
        dialogs->on(QStringLiteral("TSetTimelimitedFm"), [this](QDialog* d) {
            auto* fm = static_cast<TSetTimelimitedFm*>(d);
            act(fm->SetTimelimited, fm->BtnOk);
        });
        dialogs->on(QStringLiteral("TSetCycleFm"), [this](QDialog* d) {
            auto* fm = static_cast<TSetCycleFm*>(d);
            act(fm->SetCycle, fm->BtnEnter);
        });
    }
    void act(QLineEdit* box, QPushButton* ok) {
        shown = box->text();
        box->setText(typed);
        ok->click();
    }
    QString press(QPushButton* set, const QString& text) {
        typed = text;
        set->click();
        return shown;
    }
    QString setDeposit(TMortagageFm& view, const QString& text) { return press(view.MortagageSet, text); }
    QString setTimelimit(TTimelimitFm& view, const QString& text) { return press(view.TimeSet, text); }
    QString setCycle(TCycleFm& view, const QString& text) { return press(view.CycleSet, text); }

    QString typed;
    QString shown;
};

TEST_F(DefaultsTest, DepositIsSavedAsTypedAndShownInTheGrid) {
    TMortagageFm view;
    EXPECT_EQ(firstCell(view.dxDBGrid8), QStringLiteral("10"));
    struct Case {
        const char* typed;
        const char* stored;
    };
    for (const Case& c : {Case{"20", "20"}, Case{"2.5", "2.5"}, Case{"0", "0"}, Case{"-3", "-3"}}) {
        setDeposit(view, QString::fromUtf8(c.typed));
        EXPECT_EQ(scalarMoney(QStringLiteral("select * from TbMortagage")).toString(), QString::fromUtf8(c.stored));
        EXPECT_EQ(firstCell(view.dxDBGrid8), QString::fromUtf8(c.stored)) << c.typed;
    }
    EXPECT_EQ(count(QStringLiteral("TbMortagage")), 1);
}

TEST_F(DefaultsTest, NewRentalSheetDepositIsReadFromTheTable) {
    TMortagageFm view;
    EXPECT_EQ(settings::defaultDeposit(), Money::fromInt(10));
    setDeposit(view, QStringLiteral("20"));
    EXPECT_EQ(settings::defaultDeposit(), Money::fromInt(20));
    exec(QStringLiteral("delete * from TbMortagage"));
    EXPECT_EQ(settings::defaultDeposit(), Money());
}

TEST_F(DefaultsTest, DepositDialogReadsTheTableAfreshWhileTheViewKeepsWhatItRead) {
    TMortagageFm view;
    exec(QStringLiteral("update TbMortagage set MortagageSum=35"));
    EXPECT_EQ(firstCell(view.dxDBGrid8), QStringLiteral("10"));
    EXPECT_EQ(setDeposit(view, QStringLiteral("35")), QStringLiteral("35"));
}

TEST_F(DefaultsTest, TextsThatAreNotNumbersSaveNothing) {
    TMortagageFm deposit;
    TTimelimitFm limit;
    TCycleFm cycle;
    messages->expect(kErrorBoxKind, QStringLiteral("'abc' is not a valid floating point value"));
    messages->expect(kErrorBoxKind, QStringLiteral("'' is not a valid floating point value"));
    messages->expect(kErrorBoxKind, QStringLiteral("'3天' is not a valid integer value"));
    messages->expect(kErrorBoxKind, QStringLiteral("'2.5' is not a valid integer value"));
    messages->expect(kErrorBoxKind, QStringLiteral("'' is not a valid integer value"));
    setDeposit(deposit, QStringLiteral("abc"));
    setDeposit(deposit, QString());
    setTimelimit(limit, QStringLiteral("3天"));
    setTimelimit(limit, QStringLiteral("2.5"));
    setCycle(cycle, QString());
    EXPECT_EQ(scalarMoney(QStringLiteral("select * from TbMortagage")), Money::fromInt(10));
    EXPECT_EQ(scalarInt(QStringLiteral("select * from Timelimited")), 7);
    EXPECT_EQ(scalarInt(QStringLiteral("select * from CdCycle")), 1);
    EXPECT_EQ(count(QStringLiteral("TbMortagage")), 1);
    EXPECT_EQ(count(QStringLiteral("CdCycle")), 1);
}

TEST_F(DefaultsTest, ErrorKeepsTheDialogOpenAndTheNextOkSaves) {
    TCycleFm view;
    TSetCycleFm dialog;
    messages->expect(kErrorBoxKind, QStringLiteral("'x' is not a valid integer value"));
    dialog.show();
    dialog.SetCycle->setText(QStringLiteral("x"));
    dialog.BtnEnter->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(scalarInt(QStringLiteral("select * from CdCycle")), 1);
    dialog.SetCycle->setText(QStringLiteral("3"));
    dialog.BtnEnter->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(scalarInt(QStringLiteral("select * from CdCycle")), 3);
}

TEST_F(DefaultsTest, TimeLimitAndCycleTakeZeroAndNegatives) {
    TTimelimitFm limit;
    TCycleFm cycle;
    EXPECT_EQ(setTimelimit(limit, QStringLiteral("0")), QStringLiteral("7"));
    EXPECT_EQ(scalarInt(QStringLiteral("select * from Timelimited")), 0);
    EXPECT_EQ(setTimelimit(limit, QStringLiteral("-2")), QStringLiteral("0"));
    EXPECT_EQ(scalarInt(QStringLiteral("select * from Timelimited")), -2);
    EXPECT_EQ(firstCell(limit.dxDBGrid10), QStringLiteral("-2"));
    EXPECT_EQ(setCycle(cycle, QStringLiteral("0")), QStringLiteral("1"));
    EXPECT_EQ(scalarInt(QStringLiteral("select * from CdCycle")), 0);
}

TEST_F(DefaultsTest, SentenceKeepsTheLimitItReadAtCreation) {
    TTimelimitFm view;
    EXPECT_EQ(view.Label2->text(), QStringLiteral("7"));
    setTimelimit(view, QStringLiteral("3"));
    EXPECT_EQ(firstCell(view.dxDBGrid10), QStringLiteral("3"));
    EXPECT_EQ(view.Label2->text(), QStringLiteral("7"));
    TTimelimitFm nextRun;
    EXPECT_EQ(nextRun.Label2->text(), QStringLiteral("3"));
}

TEST_F(DefaultsTest, ReminderSwitchIsStoredAtOnce) {
    TTimelimitFm view;
    EXPECT_TRUE(view.AwokeCheckBox->isChecked());
    view.AwokeCheckBox->click();
    EXPECT_EQ(scalarText(QStringLiteral("select Awoke from TbAwoke")), QStringLiteral("否"));
    view.AwokeCheckBox->click();
    EXPECT_EQ(scalarText(QStringLiteral("select Awoke from TbAwoke")), QStringLiteral("是"));
    exec(QStringLiteral("update TbAwoke set Awoke=\"否\""));
    TTimelimitFm off;
    EXPECT_FALSE(off.AwokeCheckBox->isChecked());
    EXPECT_EQ(count(QStringLiteral("TbAwoke")), 1);
}

TEST_F(DefaultsTest, EmptiedTablesReadAsZeroAndGetTheirRowBack) {
    exec(QStringLiteral("delete * from CdCycle"));
    exec(QStringLiteral("delete * from Timelimited"));
    exec(QStringLiteral("delete * from TbMortagage"));
    exec(QStringLiteral("delete * from TbAwoke"));
    TCycleFm cycle;
    TTimelimitFm limit;
    TMortagageFm deposit;
    EXPECT_EQ(limit.Label2->text(), QStringLiteral("0"));
    EXPECT_FALSE(limit.AwokeCheckBox->isChecked());
    EXPECT_EQ(setCycle(cycle, QStringLiteral("2")), QStringLiteral("0"));
    EXPECT_EQ(setTimelimit(limit, QStringLiteral("5")), QStringLiteral("0"));
    EXPECT_EQ(setDeposit(deposit, QStringLiteral("15")), QStringLiteral("0"));
    limit.AwokeCheckBox->click();
    EXPECT_EQ(scalarInt(QStringLiteral("select * from CdCycle")), 2);
    EXPECT_EQ(scalarInt(QStringLiteral("select * from Timelimited")), 5);
    EXPECT_EQ(scalarMoney(QStringLiteral("select * from TbMortagage")), Money::fromInt(15));
    EXPECT_EQ(scalarText(QStringLiteral("select Awoke from TbAwoke")), QStringLiteral("是"));
    for (const char* table : {"CdCycle", "Timelimited", "TbMortagage", "TbAwoke"})
        EXPECT_EQ(count(QString::fromUtf8(table)), 1) << table;
    EXPECT_EQ(firstCell(cycle.dxDBGrid9), QStringLiteral("2"));
}

TEST_F(DefaultsTest, CycleRowDeletedInTheGridAfterTheQuestion) {
    TCycleFm view;
    view.dxDBGrid9->view()->setFocus();
    messages->expect(mkConfirm, QStringLiteral("Delete record?"), false);
    messages->expect(mkConfirm, QStringLiteral("Delete record?"), true);
    QTest::keyClick(view.dxDBGrid9->view(), Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(count(QStringLiteral("CdCycle")), 1);
    QTest::keyClick(view.dxDBGrid9->view(), Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(count(QStringLiteral("CdCycle")), 0);
    EXPECT_EQ(setCycle(view, QStringLiteral("1")), QStringLiteral("0"));
    EXPECT_EQ(count(QStringLiteral("CdCycle")), 1);
}

TEST_F(DefaultsTest, CancelSavesNothing) {
    TSetMortagageFm dialog;
    dialog.show();
    dialog.CaleMortagage->setText(QStringLiteral("99"));
    dialog.BtnCancel->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(scalarMoney(QStringLiteral("select * from TbMortagage")), Money::fromInt(10));
}

}  // namespace
