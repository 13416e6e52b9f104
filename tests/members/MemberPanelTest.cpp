#include <gtest/gtest.h>

#include "app/TProjectMainFm.h"
#include "app/Views.h"
#include "common/MyMessageBox.h"
#include "members/MemberTestSupport.h"
#include "members/TCdMemberFm.h"
#include "members/TMemberKponTollFm.h"
#include "ui/DockArea.h"

using members_test::MemberViewTest;
using members_test::u8;

namespace {

const char* const kDay = "按天数优惠";
const char* const kCount = "按部数优惠";
const char* const kDeleteQuestion = "确认是否删除,因删除后会员资料及会员续费资料记录也将被删除,请谨慎决择!";

class MemberPanelTest : public MemberViewTest {
protected:
    void SetUp() override {
        MemberViewTest::SetUp();
        addScheme(u8("金卡"), u8(kDay), u8("50"), 30);
        addScheme(u8("次卡"), u8(kCount), u8("20"), 10);
    }
    void openOnMembers() {
        openView();
        toMemberTab();
    }
};

TEST_F(MemberPanelTest, SwitchingToTheMemberTabReloadsTheSchemeList) {
    openView();
    EXPECT_EQ(view->SystemType->count(), 0);
    toMemberTab();
    ASSERT_EQ(view->SystemType->count(), 2);
    EXPECT_EQ(view->SystemType->itemText(0), u8("金卡"));
    EXPECT_EQ(view->SystemType->itemText(1), u8("次卡"));

    toSchemeTab();
    enterScheme(u8("季卡"), u8(kDay), u8("100"), u8("90"));
    toMemberTab();
    EXPECT_EQ(view->SystemType->count(), 3);
}

TEST_F(MemberPanelTest, NewMemberShowsTodayAndTheChosenSchemesGrant) {
    openOnMembers();
    view->BtnAddMember->click();
    EXPECT_EQ(view->Q2->state(), db::Query::Insert);
    EXPECT_TRUE(view->SystemType->isEnabled());
    EXPECT_EQ(view->OpenDate->text(), u8("2026-12-10"));
    EXPECT_EQ(view->AllowCounts->text(), QString());
    EXPECT_EQ(view->RemainCounts->text(), QString());
    EXPECT_FALSE(view->BtnAddMember->isEnabled());
    EXPECT_TRUE(view->BtnSaveMember->isEnabled());
    EXPECT_TRUE(view->BtnCancelMember->isEnabled());
    EXPECT_FALSE(view->EpButton2->isEnabled());
    EXPECT_FALSE(view->MemberkponToll->isEnabled());

    view->SystemType->setFieldText(u8("次卡"));
    EXPECT_EQ(view->AllowCounts->text(), u8("10"));
    EXPECT_EQ(view->RemainCounts->text(), u8("10"));
    view->SystemType->setFieldText(u8("金卡"));
    EXPECT_EQ(view->AllowCounts->text(), u8("30"));
    EXPECT_EQ(view->RemainCounts->text(), u8("30"));
}

TEST_F(MemberPanelTest, JoiningWritesTheMemberAndOnePaymentRowWithoutFee) {
    openOnMembers();
    enterMember(u8("张三"), u8("A01"), u8("金卡"));

    EXPECT_EQ(count(u8("TMemberResource")), 1);
    EXPECT_EQ(memberText(u8("A01"), "MemberName"), u8("张三"));
    EXPECT_EQ(memberText(u8("A01"), "AttributeType"), u8("金卡"));
    EXPECT_EQ(memberText(u8("A01"), "OpenAccountDate"), u8("2026-12-10"));
    EXPECT_EQ(memberInt(u8("A01"), "AllowDaysOrCounts"), 30);
    EXPECT_EQ(memberInt(u8("A01"), "RemainDaysOrCounts"), 30);
    EXPECT_EQ(count(u8("TMemberKeepOnToll")), 1);
    EXPECT_EQ(count(u8("TMemberKeepOnToll"),
                    u8("where PersonId=\"A01\" and MemberName=\"张三\" and AttributeType=\"金卡\" and "
                       "AllowDaysOrCounts=30 and KeeponDate=#2026-12-10# and PayCash is null")),
              1);

    // Back to browsing.
    EXPECT_EQ(view->Q2->state(), db::Query::Browse);
    EXPECT_FALSE(view->SystemType->isEnabled());
    EXPECT_FALSE(view->AllowCounts->isEnabled());
    EXPECT_TRUE(view->BtnAddMember->isEnabled());
    EXPECT_FALSE(view->BtnSaveMember->isEnabled());
    EXPECT_FALSE(view->BtnCancelMember->isEnabled());
    EXPECT_TRUE(view->EpButton2->isEnabled());
    EXPECT_TRUE(view->MemberkponToll->isEnabled());
    EXPECT_EQ(view->Q2->recordCount(), 1);
}

TEST_F(MemberPanelTest, QuotesInNamesAndNumbersAreOrdinaryText) {
    openOnMembers();
    enterMember(u8("O'Neil \"Jr\""), u8("Q\"1'"), u8("金卡"));
    EXPECT_EQ(memberText(u8("Q\"1'"), "MemberName"), u8("O'Neil \"Jr\""));
    EXPECT_EQ(count(u8("TMemberKeepOnToll"), u8("where PersonId=") + jet::quoted(u8("Q\"1'"))), 1);
    messages->expect(mkNotice, u8("对不起,该会员编号已存在,请重新输入,若需续费,请取消该操作!."));
    enterMember(u8("别人"), u8("q\"1'"), u8("金卡"));
    EXPECT_EQ(count(u8("TMemberResource")), 1);
}

TEST_F(MemberPanelTest, CancelDropsTheNewMember) {
    addMember(u8("A01"), u8("张三"), u8("金卡"), 30, 8);
    openOnMembers();
    view->BtnAddMember->click();
    view->MemberName->setFieldText(u8("李四"));
    view->BtnCancelMember->click();
    EXPECT_EQ(count(u8("TMemberResource")), 1);
    EXPECT_EQ(view->Q2->state(), db::Query::Browse);
    EXPECT_TRUE(view->BtnAddMember->isEnabled());
    EXPECT_FALSE(view->BtnSaveMember->isEnabled());
    EXPECT_FALSE(view->BtnCancelMember->isEnabled());
    // The renewal button stays as "新增会员" left it.
    EXPECT_FALSE(view->MemberkponToll->isEnabled());
    EXPECT_EQ(view->RemainCounts->text(), u8("8"));
}

TEST_F(MemberPanelTest, LeavingANewMemberRowInTheGridEndsTheEntry) {
    addMember(u8("A01"), u8("张三"), u8("金卡"), 30, 8);
    openOnMembers();
    view->BtnAddMember->click();
    clickMember(u8("A01"));  // nothing typed: the new row is dropped
    EXPECT_EQ(view->Q2->state(), db::Query::Browse);
    EXPECT_EQ(count(u8("TMemberResource")), 1);
    EXPECT_FALSE(view->SystemType->isEnabled());
    EXPECT_TRUE(view->BtnAddMember->isEnabled());
    EXPECT_EQ(view->RemainCounts->text(), u8("8"));
    EXPECT_EQ(view->OpenDate->text(), u8("2026-11-01"));
}

struct MemberCase {
    const char* what;
    const char* name;
    const char* number;
    const char* scheme;
    const char* message;
    const char* focus;
};

class NewMemberCheckTest : public MemberPanelTest, public ::testing::WithParamInterface<MemberCase> {};

TEST_P(NewMemberCheckTest, RefusesTheFirstFaultAndKeepsTheRowPending) {
    const MemberCase& c = GetParam();
    addMember(u8("a01"), u8("老会员"), u8("金卡"), 30, 30);
    openOnMembers();
    messages->expect(mkNotice, u8(c.message));
    enterMember(u8(c.name), u8(c.number), u8(c.scheme));
    EXPECT_EQ(count(u8("TMemberResource")), 1);
    EXPECT_EQ(count(u8("TMemberKeepOnToll")), 0);
    EXPECT_EQ(view->Q2->state(), db::Query::Insert);
    EXPECT_TRUE(view->BtnSaveMember->isEnabled());
    EXPECT_EQ(QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(), u8(c.focus));
}

INSTANTIATE_TEST_SUITE_P(
    InOrder, NewMemberCheckTest,
    ::testing::Values(
        MemberCase{"NoName", "", "", "", "请输入该会员的名称,已保证会员资料数据录入的完整性.", "MemberName"},
        MemberCase{"NoNumber", "张三", "", "", "请输入该会员的编号,已保证会员资料数据录入的完整性.", "dxDBEdit1"},
        MemberCase{"NoScheme", "张三", "B01", "",
                   "请输入该会员属的会员制度类型,系统会自动计算天数或部数.若你尚未增加会员制度类型，请点击取消，然后在"
                   "会员制度管理中去新增！",
                   "SystemType"},
        MemberCase{"DuplicateNumberOtherCase", "张三", "A01", "金卡",
                   "对不起,该会员编号已存在,请重新输入,若需续费,请取消该操作!.", "dxDBEdit1"}),
    [](const ::testing::TestParamInfo<MemberCase>& info) { return std::string(info.param.what); });

class ChangedMemberTest : public MemberPanelTest {
protected:
    void SetUp() override {
        MemberPanelTest::SetUp();
        addMember(u8("A01"), u8("张三"), u8("金卡"), 30, 30);
        addMember(u8("B01"), u8("李四"), u8("金卡"), 30, 20);
        for (int i = 0; i < 3; ++i) addPayment(u8("A01"), u8("张三"), u8("金卡"), 30);
        addPayment(u8("B01"), u8("李四"), u8("金卡"), 30);
        openOnMembers();
        clickMember(u8("A01"));
    }
};

TEST_F(ChangedMemberTest, RenamingRewritesTheNameInEveryPaymentRowOfTheMember) {
    view->MemberName->setFieldText(u8("张三丰"));
    EXPECT_EQ(view->Q2->state(), db::Query::Edit);
    EXPECT_FALSE(view->BtnAddMember->isEnabled());
    EXPECT_TRUE(view->BtnSaveMember->isEnabled());
    view->BtnSaveMember->click();
    EXPECT_EQ(memberText(u8("A01"), "MemberName"), u8("张三丰"));
    EXPECT_EQ(count(u8("TMemberKeepOnToll"), u8("where PersonId=\"A01\" and MemberName=\"张三丰\"")), 3);
    EXPECT_EQ(count(u8("TMemberKeepOnToll"), u8("where PersonId=\"B01\" and MemberName=\"李四\"")), 1);
    EXPECT_EQ(view->Q2->state(), db::Query::Browse);
}

TEST_F(ChangedMemberTest, RenumberingCarriesThePaymentRowsToTheNewNumber) {
    view->dxDBEdit1->setFieldText(u8("A\"9'"));
    view->BtnSaveMember->click();
    EXPECT_EQ(count(u8("TMemberResource"), u8("where PersonId=") + jet::quoted(u8("A\"9'"))), 1);
    EXPECT_EQ(count(u8("TMemberKeepOnToll"), u8("where PersonId=") + jet::quoted(u8("A\"9'"))), 3);
    EXPECT_EQ(count(u8("TMemberKeepOnToll"), u8("where PersonId=\"A01\"")), 0);
    EXPECT_EQ(count(u8("TMemberKeepOnToll"), u8("where PersonId=\"B01\"")), 1);
}

TEST_F(ChangedMemberTest, NumberOfAnotherMemberIsRefusedInAnyLetterCase) {
    view->dxDBEdit1->setFieldText(u8("b01"));
    messages->expect(mkNotice, u8("对不起,你输入的会员编号有重复,请重新输入!"));
    view->BtnSaveMember->click();
    EXPECT_EQ(view->Q2->state(), db::Query::Edit);
    EXPECT_EQ(count(u8("TMemberResource"), u8("where PersonId=\"A01\"")), 1);
    EXPECT_EQ(count(u8("TMemberKeepOnToll"), u8("where PersonId=\"A01\"")), 3);

    // Its own number, even retyped in another case, is no duplicate.
    view->dxDBEdit1->setFieldText(u8("a01"));
    view->BtnSaveMember->click();
    EXPECT_EQ(view->Q2->state(), db::Query::Browse);
}

TEST_F(ChangedMemberTest, ChangeInTheGridPassesTheSameChecks) {
    ui::GridModel* model = view->dxDBGrid1->model();
    const QModelIndex number = model->indexOfSourceRow(view->Q2->currentRow(), 0);
    ASSERT_TRUE(model->setData(number, u8("B01"), Qt::EditRole));
    messages->expect(mkNotice, u8("对不起,你输入的会员编号有重复,请重新输入!"));
    view->BtnSaveMember->click();
    EXPECT_EQ(count(u8("TMemberResource"), u8("where PersonId=\"B01\"")), 1);
}

TEST_F(ChangedMemberTest, ClickingARowShowsItsFigures) {
    clickMember(u8("B01"));
    EXPECT_EQ(view->OpenDate->text(), u8("2026-11-01"));
    EXPECT_EQ(view->AllowCounts->text(), u8("30"));
    EXPECT_EQ(view->RemainCounts->text(), u8("20"));
}

TEST_F(ChangedMemberTest, DeleteRemovesTheMemberAndOnlyItsPaymentRows) {
    messages->expect(mkConfirm, u8(kDeleteQuestion), true);
    view->EpButton2->click();
    EXPECT_EQ(count(u8("TMemberResource")), 1);
    EXPECT_EQ(count(u8("TMemberResource"), u8("where PersonId=\"B01\"")), 1);
    EXPECT_EQ(count(u8("TMemberKeepOnToll")), 1);
    EXPECT_EQ(count(u8("TMemberKeepOnToll"), u8("where PersonId=\"B01\"")), 1);
    EXPECT_EQ(view->Q2->field(u8("PersonId")).asString(), u8("B01"));
    EXPECT_TRUE(view->EpButton2->isEnabled());

    messages->expect(mkConfirm, u8(kDeleteQuestion), false);
    view->EpButton2->click();
    EXPECT_EQ(count(u8("TMemberResource")), 1);

    messages->expect(mkConfirm, u8(kDeleteQuestion), true);
    view->EpButton2->click();
    EXPECT_EQ(count(u8("TMemberResource")), 0);
    EXPECT_EQ(count(u8("TMemberKeepOnToll")), 0);
    EXPECT_FALSE(view->EpButton2->isEnabled());
}

TEST_F(MemberPanelTest, MemberDeleteOnAnEmptyListShowsANotice) {
    openView();
    view->AddSystemBtn->click();  // enables the member "删除" on an empty list
    view->CancleSystemBtn->click();
    ASSERT_TRUE(view->EpButton2->isEnabled());
    messages->expect(mkNotice, u8("当前没有会员资料,无法删除!"));
    view->EpButton2->click();
}

TEST_F(MemberPanelTest, RenewalOpensForTheCurrentMemberAndTheListShowsTheResult) {
    addMember(u8("A01"), u8("张三"), u8("次卡"), 10, 5);
    addMember(u8("B01"), u8("李四"), u8("次卡"), 10, 2);
    openOnMembers();
    clickMember(u8("B01"));
    QString openedFor;
    dialogs->on(u8("TMemberKponTollFm"), [&](QDialog* d) {
        auto* dialog = static_cast<TMemberKponTollFm*>(d);
        openedFor = dialog->MId->text();
        dialog->PickEditmembersystem->setCurrentText(u8("金卡"));
        dialog->EnterBtn->click();
    });
    view->MemberkponToll->click();
    EXPECT_EQ(openedFor, u8("B01"));
    EXPECT_EQ(memberInt(u8("B01"), "RemainDaysOrCounts"), 32);
    EXPECT_EQ(view->Q2->recordCount(), 2);
    ui::GridModel* model = view->dxDBGrid1->model();
    const QModelIndex remain = model->indexOfSourceRow(view->Q2->currentRow(), 5);
    EXPECT_EQ(model->data(remain.siblingAtColumn(0), Qt::DisplayRole).toString(), u8("B01"));
    EXPECT_EQ(model->data(remain, Qt::DisplayRole).toString(), u8("32"));
}

// Define the schemes, enrol, renew, rename and delete, as the operator would from the main window.
TEST_F(MemberViewTest, SuperUserWorksThroughTheMemberModule) {
    startViews();
    views().main->CdMemberButton->click();
    TCdMemberFm* members = views().cdMember;
    ASSERT_EQ(views().main->PanelMain->current(), members);
    EXPECT_EQ(members->PageControl->currentIndex(), 1);

    auto defineScheme = [&](const char* name, const char* type, const char* fee, const char* grant) {
        members->AddSystemBtn->click();
        members->SystemName->setFieldText(u8(name));
        members->SystemTypes->setFieldText(u8(type));
        members->CdSystemPrice->setFieldText(u8(fee));
        members->CdRewardDays->setFieldText(u8(grant));
        members->SaveSystemBtn->click();
    };
    defineScheme("月卡", kDay, "30", "30");
    defineScheme("十张卡", kCount, "40", "10");
    members->PageControl->setCurrentIndex(0);

    members->BtnAddMember->click();
    members->MemberName->setFieldText(u8("王五"));
    members->dxDBEdit1->setFieldText(u8("M001"));
    members->SystemType->setFieldText(u8("十张卡"));
    members->BtnSaveMember->click();
    EXPECT_EQ(memberInt(u8("M001"), "RemainDaysOrCounts"), 10);

    dialogs->on(u8("TMemberKponTollFm"), [&](QDialog* d) {
        auto* dialog = static_cast<TMemberKponTollFm*>(d);
        dialog->PickEditmembersystem->setCurrentText(u8("月卡"));
        EXPECT_EQ(dialog->Label4->text(), u8("天"));
        dialog->EnterBtn->click();
    });
    members->MemberkponToll->click();
    EXPECT_EQ(memberInt(u8("M001"), "RemainDaysOrCounts"), 40);
    EXPECT_EQ(memberText(u8("M001"), "AttributeType"), u8("月卡"));
    EXPECT_EQ(scalarMoney(u8("select Sum(PayCash) from TMemberKeepOnToll")), db::Money::fromInt(30));

    members->MemberName->setFieldText(u8("王五郎"));
    members->BtnSaveMember->click();
    EXPECT_EQ(count(u8("TMemberKeepOnToll"), u8("where MemberName=\"王五郎\"")), 2);

    messages->expect(mkConfirm, u8(kDeleteQuestion), true);
    members->EpButton2->click();
    EXPECT_EQ(count(u8("TMemberResource")), 0);
    EXPECT_EQ(count(u8("TMemberKeepOnToll")), 0);
    EXPECT_EQ(count(u8("TMemberSystem")), 2);
}

}  // namespace
