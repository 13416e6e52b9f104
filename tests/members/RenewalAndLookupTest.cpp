#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "common/MyMessageBox.h"
#include "members/MemberTestSupport.h"
#include "members/TFindMemberFm.h"
#include "members/TMemberKponTollFm.h"

using members_test::MemberDataTest;
using members_test::u8;

namespace {

const char* const kDay = "按天数优惠";
const char* const kCount = "按部数优惠";

class RenewalTest : public MemberDataTest {
protected:
    void SetUp() override {
        MemberDataTest::SetUp();
        addScheme(u8("月卡"), u8(kDay), u8("50"), 30);
        addScheme(u8("十张卡"), u8(kCount), u8("12.5"), 10);
        addMember(u8("A01"), u8("张三"), u8("十张卡"), 10, 5, u8("2026-10-31"));
    }
    std::unique_ptr<TMemberKponTollFm> openFor(const QString& number) {
        return std::make_unique<TMemberKponTollFm>(number);
    }
};

TEST_F(RenewalTest, OpensWithTheMemberAndTheSchemeList) {
    auto dialog = openFor(u8("A01"));
    EXPECT_EQ(dialog->windowTitle(), u8("会员续费"));
    EXPECT_EQ(dialog->MId->text(), u8("A01"));
    EXPECT_EQ(dialog->Mname->text(), u8("张三"));
    ASSERT_EQ(dialog->PickEditmembersystem->count(), 2);
    EXPECT_EQ(dialog->PickEditmembersystem->itemText(0), u8("月卡"));
    EXPECT_EQ(dialog->PickEditmembersystem->itemText(1), u8("十张卡"));
    EXPECT_EQ(dialog->PickEditmembersystem->currentText(), QString());
}

TEST_F(RenewalTest, ChoosingASchemeShowsItsGrantUnitAndFee) {
    auto dialog = openFor(u8("A01"));
    struct Case {
        const char* typed;
        const char* grant;
        const char* unit;
        const char* fee;
    };
    for (const Case& c :
         {Case{"十张卡", "10", "部", "12.5"}, Case{"月卡", "30", "天", "50"}, Case{"没有的卡", "0", "天", "0"}}) {
        dialog->PickEditmembersystem->setCurrentText(u8(c.typed));
        EXPECT_EQ(dialog->AllowS->text(), u8(c.grant)) << c.typed;
        EXPECT_EQ(dialog->Label4->text(), u8(c.unit)) << c.typed;
        EXPECT_EQ(dialog->Labeltoll->text(), u8(c.fee)) << c.typed;
    }
}

TEST_F(RenewalTest, AddsTheGrantToTheRemainderAndRecordsThePayment) {
    auto dialog = openFor(u8("A01"));
    dialog->PickEditmembersystem->setCurrentText(u8("月卡"));
    dialog->EnterBtn->click();

    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(memberInt(u8("A01"), "AllowDaysOrCounts"), 30);
    EXPECT_EQ(memberInt(u8("A01"), "RemainDaysOrCounts"), 35);
    EXPECT_EQ(memberText(u8("A01"), "AttributeType"), u8("月卡"));
    EXPECT_EQ(memberText(u8("A01"), "OpenAccountDate"), u8("2026-10-31"));
    EXPECT_EQ(memberText(u8("A01"), "MemberName"), u8("张三"));
    EXPECT_EQ(count(u8("TMemberKeepOnToll")), 1);
    EXPECT_EQ(count(u8("TMemberKeepOnToll"), u8("where PersonId=\"A01\" and MemberName=\"张三\" and PayCash=50 and "
                                                "AttributeType=\"月卡\" and AllowDaysOrCounts=30 and "
                                                "KeeponDate=#2026-12-10#")),
              1);
}

TEST_F(RenewalTest, UsedUpMemberGetsExactlyTheGrant) {
    exec(u8("update TMemberResource set RemainDaysOrCounts=0"));
    auto dialog = openFor(u8("A01"));
    dialog->PickEditmembersystem->setCurrentText(u8("十张卡"));
    dialog->EnterBtn->click();
    EXPECT_EQ(memberInt(u8("A01"), "RemainDaysOrCounts"), 10);
    EXPECT_EQ(scalarMoney(u8("select PayCash from TMemberKeepOnToll")), db::Money::fromUnits(125000));
}

TEST_F(RenewalTest, NameFromTheBoxGoesToThePaymentRowAndTheNumberFromTheOpener) {
    auto dialog = openFor(u8("A01"));
    dialog->Mname->setText(u8("张老三"));
    dialog->MId->setText(u8("ZZZ"));
    dialog->PickEditmembersystem->setCurrentText(u8("月卡"));
    dialog->EnterBtn->click();
    EXPECT_EQ(memberText(u8("A01"), "MemberName"), u8("张三"));
    EXPECT_EQ(memberInt(u8("A01"), "RemainDaysOrCounts"), 35);
    EXPECT_EQ(count(u8("TMemberKeepOnToll"), u8("where PersonId=\"A01\" and MemberName=\"张老三\"")), 1);
    EXPECT_EQ(count(u8("TMemberResource"), u8("where PersonId=\"ZZZ\"")), 0);
}

TEST_F(RenewalTest, EmptySchemeTextIsRefusedAtOnceAndOnConfirm) {
    auto dialog = openFor(u8("A01"));
    dialog->PickEditmembersystem->setCurrentText(u8("月"));
    messages->expect(mkNotice, u8("请输入该会员本次续费类型!."));
    dialog->PickEditmembersystem->setCurrentText(QString());
    messages->expect(mkNotice, u8("请输入该会员本次续费类型!."));
    dialog->EnterBtn->click();
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(memberInt(u8("A01"), "RemainDaysOrCounts"), 5);
    EXPECT_EQ(count(u8("TMemberKeepOnToll")), 0);
}

TEST_F(RenewalTest, UnknownSchemeNameRecordsARenewalOfNothing) {
    auto dialog = openFor(u8("A01"));
    dialog->PickEditmembersystem->setCurrentText(u8("没有的卡"));
    dialog->EnterBtn->click();
    EXPECT_EQ(memberInt(u8("A01"), "RemainDaysOrCounts"), 5);
    EXPECT_EQ(memberText(u8("A01"), "AttributeType"), u8("没有的卡"));
    EXPECT_EQ(count(u8("TMemberKeepOnToll"), u8("where PayCash=0 and AllowDaysOrCounts=0")), 1);
}

TEST_F(RenewalTest, NumberThatNoMemberHasIsRefusedAndNothingIsWritten) {
    for (const QString& number : {QString(), u8("X99")}) {
        auto dialog = openFor(number);
        EXPECT_EQ(dialog->Mname->text(), QString());
        dialog->PickEditmembersystem->setCurrentText(u8("月卡"));
        messages->expect(mkNotice, u8("对不起,没有该编号的会员,不能进行续费!"));
        dialog->EnterBtn->click();
        EXPECT_NE(dialog->result(), QDialog::Accepted);
    }
    EXPECT_EQ(count(u8("TMemberResource")), 1);
    EXPECT_EQ(count(u8("TMemberKeepOnToll")), 0);
}

TEST_F(RenewalTest, QuotesInTheNumberAndNameAreOrdinaryText) {
    addMember(u8("Q\"1'"), u8("O'Brien \"Bob\""), u8("月卡"), 30, 1);
    auto dialog = openFor(u8("Q\"1'"));
    EXPECT_EQ(dialog->Mname->text(), u8("O'Brien \"Bob\""));
    dialog->PickEditmembersystem->setCurrentText(u8("月卡"));
    dialog->EnterBtn->click();
    EXPECT_EQ(memberInt(u8("Q\"1'"), "RemainDaysOrCounts"), 31);
    EXPECT_EQ(count(u8("TMemberKeepOnToll"), u8("where PersonId=") + jet::quoted(u8("Q\"1'")) + u8(" and MemberName=") +
                                                 jet::quoted(u8("O'Brien \"Bob\""))),
              1);
}

TEST_F(RenewalTest, CancelWritesNothing) {
    auto dialog = openFor(u8("A01"));
    dialog->PickEditmembersystem->setCurrentText(u8("月卡"));
    dialog->RzBitBtn1->click();
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(memberInt(u8("A01"), "RemainDaysOrCounts"), 5);
    EXPECT_EQ(count(u8("TMemberKeepOnToll")), 0);
}

class LookupTest : public MemberDataTest {
protected:
    void SetUp() override {
        MemberDataTest::SetUp();
        TFindMemberFm::resetResult();
        addMember(u8("A01"), u8("张三"), u8("月卡"), 30, 0);
        addMember(u8("B01"), u8("李四"), u8("月卡"), 30, 1);
        addMember(u8("C01"), u8("王五"), u8("月卡"), 30, -10);
    }
    void TearDown() override {
        TFindMemberFm::resetResult();
        MemberDataTest::TearDown();
    }
    // Picks a member in the open lookup by clicking its row.
    static void pick(TFindMemberFm* dialog, const QString& number) {
        ui::GridModel* model = dialog->dxDBGrid1->model();
        for (int row = 0; row < model->rowCount(); ++row)
            if (model->data(model->index(row, 0), Qt::DisplayRole).toString() == number)
                dialog->dxDBGrid1->clickRow(model->index(row, 0));
    }
};

TEST_F(LookupTest, ListsAllMembersReadOnlyAndSortable) {
    TFindMemberFm dialog;
    EXPECT_EQ(dialog.windowTitle(), u8("选择会员"));
    EXPECT_EQ(dialog.Q->recordCount(), 3);
    const ui::GridOptions& o = dialog.dxDBGrid1->options();
    EXPECT_FALSE(o.editable);
    EXPECT_FALSE(o.insertDelete);
    EXPECT_TRUE(o.sorting);
    EXPECT_FALSE(o.groupPanel);
    EXPECT_EQ(dialog.dxDBGrid1->model()->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), u8("开户日期"));
    dialog.dxDBGrid1->sortBy(u8("RemainDaysOrCounts"), Qt::DescendingOrder);
    EXPECT_EQ(dialog.dxDBGrid1->model()->data(dialog.dxDBGrid1->model()->index(0, 0), Qt::DisplayRole).toString(),
              u8("B01"));
}

TEST_F(LookupTest, RefusesAMemberWithNothingLeftAndAcceptsOneWithOne) {
    dialogs->on(u8("TFindMemberFm"), [](QDialog* d) {
        auto* dialog = static_cast<TFindMemberFm*>(d);
        for (const char* number : {"A01", "C01"}) {
            pick(dialog, u8(number));
            dialog->BtnEnter->click();
            EXPECT_TRUE(dialog->isVisible()) << number;
        }
        pick(dialog, u8("B01"));
        dialog->BtnEnter->click();
    });
    messages->expect(mkNotice, u8("对不起,此会员已无允许的天数或部数,不能进行租借操作!"));
    messages->expect(mkNotice, u8("对不起,此会员已无允许的天数或部数,不能进行租借操作!"));
    EXPECT_EQ(TFindMemberFm::choose(), u8("B01"));
    EXPECT_EQ(TFindMemberFm::result(), u8("B01"));
}

TEST_F(LookupTest, ResultIsKeptForTheRunUntilCancelled) {
    dialogs->on(u8("TFindMemberFm"), [](QDialog* d) {
        auto* dialog = static_cast<TFindMemberFm*>(d);
        pick(dialog, u8("B01"));
        dialog->BtnEnter->click();
    });
    // Closed by its close box: no result of its own.
    dialogs->on(u8("TFindMemberFm"), [](QDialog* d) { d->reject(); });
    dialogs->on(u8("TFindMemberFm"), [](QDialog* d) { static_cast<TFindMemberFm*>(d)->Btncancel->click(); });

    EXPECT_EQ(TFindMemberFm::choose(), u8("B01"));
    EXPECT_EQ(TFindMemberFm::choose(), u8("B01"));
    EXPECT_EQ(TFindMemberFm::choose(), QString());
    EXPECT_EQ(dialogs->opened(u8("TFindMemberFm")), 3);
}

}  // namespace
