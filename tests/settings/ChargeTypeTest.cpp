// Charge standards and disc types: the two lists and their dialogs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include "app/Views.h"
#include "inventory/TCdResourceFm.h"
#include "settings/TAddChargeStandardFm.h"
#include "settings/TAddTypesFm.h"
#include "settings/TChargefm.h"
#include "settings/TcdTypeFm.h"
#include "support/Fixture.h"
#include "ui/DataGrid.h"

using db::Money;
using testing_support::AppTest;

namespace {

QStringList shownColumn(ui::DataGrid* grid, int column = 0) {
    QStringList texts;
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        texts << grid->model()->data(grid->model()->index(r, column), Qt::DisplayRole).toString();
    return texts;
}

class ChargeTypeTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        // The dialogs type what the test sets here and press "确定"; each records the caption and texts it opened with.
        dialogs->on(QStringLiteral("TAddChargeStandardFm"), [this](QDialog* d) {
            auto* fm = static_cast<TAddChargeStandardFm*>(d);
            caption = fm->windowTitle();
            shownName = fm->ChargeName->text();
            shownAmount = fm->RentSum->text();
            fm->ChargeName->setText(name);
            fm->RentSum->setText(amount);
            fm->BtnOk->click();
        });
        dialogs->on(QStringLiteral("TAddTypesFm"), [this](QDialog* d) {
            auto* fm = static_cast<TAddTypesFm*>(d);
            caption = fm->windowTitle();
            shownName = fm->TypeName->text();
            fm->TypeName->setText(name);
            fm->EnterButton->click();
        });
    }
    void typeStandard(QPushButton* button, const QString& n, const QString& a) {
        name = n;
        amount = a;
        button->click();
    }
    void typeType(QPushButton* button, const QString& n) {
        name = n;
        button->click();
    }

    QString name, amount, caption, shownName, shownAmount;
};

TEST_F(ChargeTypeTest, StandardNewAndChangeMode) {
    TChargefm view;
    EXPECT_TRUE(shownColumn(view.dxDBGrid6).isEmpty());
    typeStandard(view.chargeadd, QStringLiteral("新片"), QStringLiteral("3"));
    EXPECT_EQ(caption, QStringLiteral("新增资费标准名称"));
    EXPECT_EQ(shownAmount, QStringLiteral("0"));
    typeStandard(view.chargeadd, QStringLiteral("旧片"), QStringLiteral("1.5"));
    EXPECT_EQ(shownColumn(view.dxDBGrid6), (QStringList{QStringLiteral("新片"), QStringLiteral("旧片")}));
    EXPECT_EQ(shownColumn(view.dxDBGrid6, 1), (QStringList{QStringLiteral("3"), QStringLiteral("1.5")}));

    view.Qcharge->moveTo(1);
    typeStandard(view.chargemodify, QStringLiteral("老片"), QStringLiteral("1.25"));
    EXPECT_EQ(caption, QStringLiteral("修改资费标准名称"));
    EXPECT_EQ(shownName, QStringLiteral("旧片"));
    EXPECT_EQ(shownAmount, QStringLiteral("1.5"));
    EXPECT_EQ(scalarMoney(QStringLiteral("select RentSum from TChargeStandard where ChargeName=\"老片\"")),
              Money::fromUnits(12500));
    EXPECT_EQ(count(QStringLiteral("TChargeStandard")), 3);  // with the hidden "默认标准"
    EXPECT_EQ(shownColumn(view.dxDBGrid6), (QStringList{QStringLiteral("新片"), QStringLiteral("老片")}));
}

TEST_F(ChargeTypeTest, StandardAmountTextsAndErrors) {
    TChargefm view;
    typeStandard(view.chargeadd, QStringLiteral("空价"), QString());
    EXPECT_EQ(scalarText(QStringLiteral("select RentSum from TChargeStandard where ChargeName=\"空价\"")), QString());
    typeStandard(view.chargeadd, QStringLiteral("负价"), QStringLiteral("-2"));
    EXPECT_EQ(scalarMoney(QStringLiteral("select RentSum from TChargeStandard where ChargeName=\"负价\"")),
              Money::fromInt(-2));
    messages->expect(kErrorBoxKind, QStringLiteral("'1.2.3' is not a valid floating point value for field 'RentSum'"));
    typeStandard(view.chargeadd, QStringLiteral("坏价"), QStringLiteral("1.2.3"));
    EXPECT_EQ(count(QStringLiteral("TChargeStandard"), QStringLiteral("where ChargeName=\"坏价\"")), 0);
    EXPECT_EQ(view.Qcharge->recordCount(), 2);
}

TEST_F(ChargeTypeTest, ChangeOnAnEmptyListAddsARow) {
    TChargefm charges;
    TcdTypeFm types;
    typeStandard(charges.chargemodify, QStringLiteral("周末"), QStringLiteral("4"));
    EXPECT_EQ(caption, QStringLiteral("新增资费标准名称"));
    typeType(types.RzBitBtn2, QStringLiteral("动作片"));
    EXPECT_EQ(caption, QStringLiteral("新增光盘类型名称"));
    EXPECT_EQ(shownColumn(charges.dxDBGrid6), QStringList{QStringLiteral("周末")});
    EXPECT_EQ(shownColumn(types.dxDBGrid7), QStringList{QStringLiteral("动作片")});
}

TEST_F(ChargeTypeTest, TypeNewAndChangeModeAndTheFixedRowStaysHidden) {
    TcdTypeFm view;
    typeType(view.RzBitBtn1, QStringLiteral("爱情片"));
    EXPECT_EQ(caption, QStringLiteral("新增光盘类型名称"));
    EXPECT_EQ(shownName, QString());
    typeType(view.RzBitBtn2, QStringLiteral("文艺片"));
    EXPECT_EQ(caption, QStringLiteral("修改光盘类型名称"));
    EXPECT_EQ(shownName, QStringLiteral("爱情片"));
    typeType(view.RzBitBtn1, QStringLiteral("其它类型"));
    EXPECT_EQ(shownColumn(view.dxDBGrid7), QStringList{QStringLiteral("文艺片")});
    EXPECT_EQ(count(QStringLiteral("TCdType"), QStringLiteral("where CdTypes=\"其它类型\"")), 2);
}

TEST_F(ChargeTypeTest, DeleteButtonsRemoveAtOnceAndFollowTheList) {
    TChargefm charges;
    TcdTypeFm types;
    EXPECT_FALSE(charges.chargedel->isEnabled());
    EXPECT_FALSE(types.RzBitBtn3->isEnabled());
    typeStandard(charges.chargeadd, QStringLiteral("新片"), QStringLiteral("3"));
    typeType(types.RzBitBtn1, QStringLiteral("动作片"));
    EXPECT_TRUE(charges.chargedel->isEnabled());
    EXPECT_TRUE(types.RzBitBtn3->isEnabled());
    charges.chargedel->click();  // no question is asked
    types.RzBitBtn3->click();
    EXPECT_EQ(count(QStringLiteral("TChargeStandard")), 1);
    EXPECT_EQ(count(QStringLiteral("TCdType")), 1);
    EXPECT_FALSE(charges.chargedel->isEnabled());
    EXPECT_FALSE(types.RzBitBtn3->isEnabled());
}

TEST_F(ChargeTypeTest, CtrlDeleteAsksFirst) {
    TcdTypeFm view;
    typeType(view.RzBitBtn1, QStringLiteral("动作片"));
    QTreeView* grid = view.dxDBGrid7->view();
    grid->setFocus();
    messages->expect(mkConfirm, QStringLiteral("Delete record?"), false);
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(count(QStringLiteral("TCdType")), 2);
    messages->expect(mkConfirm, QStringLiteral("Delete record?"), true);
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(count(QStringLiteral("TCdType")), 1);
    EXPECT_FALSE(view.RzBitBtn3->isEnabled());
}

TEST_F(ChargeTypeTest, EnterAfterTheNameMovesToTheAmountAndThenSaves) {
    TAddChargeStandardFm dialog(0);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    dialog.ChargeName->setFocus();
    QTest::keyClicks(dialog.ChargeName, QStringLiteral("VIP"));
    QTest::keyClick(dialog.ChargeName, Qt::Key_Return);
    EXPECT_EQ(count(QStringLiteral("TChargeStandard")), 1);
    ASSERT_TRUE(dialog.RentSum->hasFocus());
    QTest::keyClicks(dialog.RentSum, QStringLiteral("3"));
    QTest::keyClick(dialog.RentSum, Qt::Key_Return);
    EXPECT_EQ(scalarMoney(QStringLiteral("select RentSum from TChargeStandard where ChargeName=\"VIP\"")),
              Money::fromInt(3));
}

TEST_F(ChargeTypeTest, CancelLeavesTheTablesAlone) {
    exec(QStringLiteral("insert into TCdType (CdTypes) values (\"动作片\")"));
    TAddTypesFm dialog(scalarInt(QStringLiteral("select Id from TCdType where CdTypes=\"动作片\"")));
    dialog.show();
    dialog.TypeName->setText(QStringLiteral("喜剧片"));
    dialog.CancelButton->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(count(QStringLiteral("TCdType"), QStringLiteral("where CdTypes=\"动作片\"")), 1);
    EXPECT_EQ(count(QStringLiteral("TCdType")), 2);
}

TEST_F(ChargeTypeTest, ASavedTypeIsOfferedByTheCatalogueAtOnce) {
    startViews();
    TcdTypeFm* types = views().cdType;
    typeType(types->RzBitBtn1, QStringLiteral("武侠片"));
    QStringList offered;
    for (int i = 0; i < views().cdResource->CdType1->count(); ++i) offered << views().cdResource->CdType1->itemText(i);
    EXPECT_EQ(offered, (QStringList{QStringLiteral("其它类型"), QStringLiteral("武侠片")}));
}

}  // namespace
