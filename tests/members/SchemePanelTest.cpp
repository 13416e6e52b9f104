#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include "common/MyMessageBox.h"
#include "members/MemberTestSupport.h"
#include "members/TCdMemberFm.h"

using members_test::MemberViewTest;
using members_test::u8;

namespace {

const char* const kDay = "按天数优惠";
const char* const kCount = "按部数优惠";

TEST_F(MemberViewTest, OpensOnSchemeTabWithGridsAndButtonsAsForBrowsing) {
    addScheme(u8("金卡"), u8(kDay), u8("50"), 30);
    addMember(u8("A01"), u8("张三"), u8("金卡"), 30, 12, u8("2026-11-20"));
    addMember(u8("A02"), u8("李四"), u8("金卡"), 30, 30);
    openView();

    EXPECT_EQ(view->PageControl->currentIndex(), 1);
    EXPECT_EQ(view->PageControl->tabText(0), u8("会员资料管理"));
    EXPECT_EQ(view->PageControl->tabText(1), u8("会员制度管理"));
    EXPECT_EQ(view->windowTitle(), u8("会员资料及制度管理"));

    const QStringList memberCaptions{u8("会员编号"),     u8("会员名称"),       u8("最新续费日期"),
                                     u8("所属制度类型"), u8("允许天数或部数"), u8("剩余天数或部数")};
    const QStringList schemeCaptions{u8("制度名称"), u8("制度类型(按天数或部数)"), u8("需交纳会费金额"),
                                     u8("允许的天数或部数")};
    for (auto [grid, captions] :
         {std::pair{view->dxDBGrid1, memberCaptions}, std::pair{view->GridMain, schemeCaptions}}) {
        ASSERT_EQ(grid->model()->columnCount(), captions.size());
        for (int c = 0; c < captions.size(); ++c)
            EXPECT_EQ(grid->model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(), captions[c]);
        const ui::GridOptions& o = grid->options();
        EXPECT_TRUE(o.editable && o.insertDelete && o.sorting && o.groupPanel && o.striped);
    }
    // The current row is drawn selected; the one below it in the odd-row colour.
    EXPECT_EQ(view->dxDBGrid1->cellStyle(view->dxDBGrid1->model()->index(1, 0)).backgroundBrush.color(),
              ui::kOddRowColor);

    // Schemes: browsing, boxes closed.
    EXPECT_TRUE(view->AddSystemBtn->isEnabled());
    EXPECT_FALSE(view->SaveSystemBtn->isEnabled());
    EXPECT_FALSE(view->CancleSystemBtn->isEnabled());
    EXPECT_TRUE(view->RzBitBtn4->isEnabled());
    for (QWidget* box : {static_cast<QWidget*>(view->SystemName), static_cast<QWidget*>(view->SystemTypes),
                         static_cast<QWidget*>(view->CdSystemPrice), static_cast<QWidget*>(view->CdRewardDays)})
        EXPECT_FALSE(box->isEnabled()) << box->objectName().toStdString();
    // Members: browsing, the current member's figures shown.
    EXPECT_TRUE(view->BtnAddMember->isEnabled());
    EXPECT_FALSE(view->BtnSaveMember->isEnabled());
    EXPECT_FALSE(view->BtnCancelMember->isEnabled());
    EXPECT_TRUE(view->EpButton2->isEnabled());
    EXPECT_TRUE(view->MemberkponToll->isEnabled());
    EXPECT_FALSE(view->SystemType->isEnabled());
    EXPECT_FALSE(view->AllowCounts->isEnabled());
    EXPECT_FALSE(view->RemainCounts->isEnabled());
    EXPECT_EQ(view->OpenDate->text(), u8("2026-11-20"));
    EXPECT_EQ(view->AllowCounts->text(), u8("30"));
    EXPECT_EQ(view->RemainCounts->text(), u8("12"));
}

TEST_F(MemberViewTest, EmptyListsDisableTheDeleteButtons) {
    openView();
    EXPECT_FALSE(view->RzBitBtn4->isEnabled());
    EXPECT_FALSE(view->EpButton2->isEnabled());
}

TEST_F(MemberViewTest, NewSchemeOpensTheBoxesAndSetsTheButtons) {
    addScheme(u8("金卡"), u8(kDay), u8("50"), 30);
    openView();
    view->AddSystemBtn->click();
    EXPECT_EQ(view->Q->state(), db::Query::Insert);
    EXPECT_TRUE(view->SystemName->isEnabled());
    EXPECT_TRUE(view->CdRewardDays->isEnabled());
    EXPECT_FALSE(view->AddSystemBtn->isEnabled());
    EXPECT_TRUE(view->SaveSystemBtn->isEnabled());
    EXPECT_TRUE(view->CancleSystemBtn->isEnabled());
    EXPECT_FALSE(view->RzBitBtn4->isEnabled());
    EXPECT_EQ(view->SystemTypes->text(), u8(kDay));

    view->CancleSystemBtn->click();
    EXPECT_EQ(view->Q->state(), db::Query::Browse);
    EXPECT_EQ(count(u8("TMemberSystem")), 1);
    EXPECT_TRUE(view->AddSystemBtn->isEnabled());
    EXPECT_FALSE(view->SaveSystemBtn->isEnabled());
    EXPECT_FALSE(view->CancleSystemBtn->isEnabled());
    EXPECT_TRUE(view->RzBitBtn4->isEnabled());
    // A saved scheme cannot be changed through the boxes.
    EXPECT_FALSE(view->SystemName->isEnabled());
}

TEST_F(MemberViewTest, SavedSchemeIsStoredAndTheBoxesClose) {
    openView();
    enterScheme(u8("次卡\"VIP'"), u8(kCount), u8("25.5"), u8("10"));
    EXPECT_EQ(
        count(u8("TMemberSystem"), u8("where SystemName=") + jet::quoted(u8("次卡\"VIP'")) + u8(" and SystemType=") +
                                       jet::quoted(u8(kCount)) + u8(" and PayCash=25.5 and RewardDaysOrCounts=10")),
        1);
    EXPECT_EQ(view->Q->state(), db::Query::Browse);
    EXPECT_TRUE(view->AddSystemBtn->isEnabled());
    EXPECT_FALSE(view->SaveSystemBtn->isEnabled());
    EXPECT_TRUE(view->RzBitBtn4->isEnabled());
    EXPECT_FALSE(view->CdSystemPrice->isEnabled());

    // No check looks for a scheme of the same name.
    enterScheme(u8("次卡\"VIP'"), u8(kDay), u8("5"), u8("3"));
    EXPECT_EQ(count(u8("TMemberSystem")), 2);
}

TEST_F(MemberViewTest, EnterOnAButtonClicksItAndElsewhereMovesOn) {
    openView();
    view->AddSystemBtn->setFocus();
    QTest::keyClick(view->AddSystemBtn, Qt::Key_Return);
    EXPECT_EQ(view->Q->state(), db::Query::Insert);
    ASSERT_EQ(QApplication::focusWidget(), view->SystemName);
    QTest::keyClick(view->SystemName, Qt::Key_Return);
    EXPECT_EQ(view->Q->state(), db::Query::Insert);
    EXPECT_NE(QApplication::focusWidget(), view->SystemName);
}

struct SchemeCase {
    const char* what;
    const char* name;
    const char* type;
    const char* fee;
    const char* grant;  // nullptr: the spin box's text emptied
    const char* message;
    const char* focus;
};

class SchemeCheckTest : public MemberViewTest, public ::testing::WithParamInterface<SchemeCase> {};

TEST_P(SchemeCheckTest, RefusesTheFirstFaultAndKeepsTheRowPending) {
    const SchemeCase& c = GetParam();
    openView();
    view->AddSystemBtn->click();
    view->SystemName->setFieldText(u8(c.name));
    view->SystemTypes->setFieldText(u8(c.type));
    view->CdSystemPrice->setFieldText(u8(c.fee));
    if (c.grant)
        view->CdRewardDays->setFieldText(u8(c.grant));
    else
        view->CdRewardDays->findChild<QLineEdit*>()->clear();
    messages->expect(mkNotice, u8(c.message));
    view->SaveSystemBtn->click();

    EXPECT_EQ(count(u8("TMemberSystem")), 0);
    EXPECT_EQ(view->Q->state(), db::Query::Insert);
    EXPECT_TRUE(view->SaveSystemBtn->isEnabled());
    EXPECT_EQ(QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(), u8(c.focus));
}

// In the order the checks run: each case is right up to its fault.
INSTANTIATE_TEST_SUITE_P(
    InOrder, SchemeCheckTest,
    ::testing::Values(
        SchemeCase{"NoName", "", "", "", "0", "请输入该会员制度名称,已保证会员制度资料数据录入的完整性.", "SystemName"},
        SchemeCase{"NoType", "金卡", "", "", "0", "请选择该会员制度所属类型,已保证会员资料数据录入时可进行选择!",
                   "SystemTypes"},
        SchemeCase{"NoGrant", "金卡", kDay, "", nullptr, "请输入允许的天数或部数,否则不能发生出租操作!",
                   "CdRewardDays"},
        SchemeCase{"ZeroGrant", "金卡", kDay, "", "0", "错误输入，允许天数或部数的值小于0，请修改!", "CdRewardDays"},
        SchemeCase{"NegativeGrant", "金卡", kDay, "50", "-5", "错误输入，允许天数或部数的值小于0，请修改!",
                   "CdRewardDays"},
        SchemeCase{"NoFee", "金卡", kDay, "", "30", "交纳的会费未输入,请重新输入!", "CdSystemPrice"},
        SchemeCase{"ZeroFee", "金卡", kCount, "0", "30", "交纳的会费未输入,请重新输入!", "CdSystemPrice"}),
    [](const ::testing::TestParamInfo<SchemeCase>& info) { return std::string(info.param.what); });

// What the operator types into the grant box with the keyboard; the box shows 0 for a new scheme already.
TEST_F(MemberViewTest, GrantTypedAsZeroIsAValueAndAnEmptiedBoxIsNone) {
    struct Case {
        const char* keys;  // typed over the selected text; "" erases it
        const char* message;
    };
    const Case cases[] = {
        {"0", "错误输入，允许天数或部数的值小于0，请修改!"},
        {"", "请输入允许的天数或部数,否则不能发生出租操作!"},
        {"-2", "错误输入，允许天数或部数的值小于0，请修改!"},
    };
    openView();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        view->AddSystemBtn->click();
        view->SystemName->setFieldText(u8("金卡"));
        view->CdSystemPrice->setFieldText(u8("50"));
        ASSERT_EQ(view->CdRewardDays->text(), u8("0"));
        view->CdRewardDays->setFocus();
        view->CdRewardDays->selectAll();
        if (*c.keys)
            QTest::keyClicks(view->CdRewardDays, u8(c.keys));
        else
            QTest::keyClick(view->CdRewardDays, Qt::Key_Backspace);
        messages->expect(mkNotice, u8(c.message));
        view->SaveSystemBtn->click();
        EXPECT_EQ(count(u8("TMemberSystem")), 0);
        view->CancleSystemBtn->click();
    }
}

TEST_F(MemberViewTest, FeeNoticeClosedByItsCloseBoxSavesTheSchemeWithFeeZero) {
    openView();
    messages->expect(mkNotice, u8("交纳的会费未输入,请重新输入!"), false);
    enterScheme(u8("体验卡"), u8(kDay), u8(""), u8("7"));
    EXPECT_EQ(view->Q->state(), db::Query::Browse);
    EXPECT_EQ(count(u8("TMemberSystem"), u8("where SystemName=\"体验卡\" and PayCash=0 and RewardDaysOrCounts=7")), 1);
}

class SchemeDeleteTest : public MemberViewTest {
protected:
    void SetUp() override {
        MemberViewTest::SetUp();
        addScheme(u8("金卡"), u8(kDay), u8("50"), 30);
        addScheme(u8("银卡"), u8(kCount), u8("20"), 10);
        addMember(u8("A01"), u8("张三"), u8("金卡"), 30, 30);
        addMember(u8("A02"), u8("李四"), u8("金卡"), 30, 3);
        addMember(u8("B01"), u8("王五"), u8("银卡"), 10, 10);
        addPayment(u8("A01"), u8("张三"), u8("金卡"), 30);
        addPayment(u8("A02"), u8("李四"), u8("金卡"), 30);
        addPayment(u8("B01"), u8("王五"), u8("银卡"), 10);
        // Paid under the gold scheme before moving to silver: goes with the gold scheme.
        addPayment(u8("B01"), u8("王五"), u8("金卡"), 30);
        openView();
    }
    const QString question =
        u8("确认是否删除,因删除后会员资料及会员续费资料中的属于该会员类型的记录也将被删除,请谨慎决择!");
};

TEST_F(SchemeDeleteTest, ConfirmedDeleteRemovesTheSchemeItsMembersAndItsPayments) {
    messages->expect(mkConfirm, question, true);
    view->RzBitBtn4->click();  // the first scheme is current
    EXPECT_EQ(count(u8("TMemberSystem")), 1);
    EXPECT_EQ(count(u8("TMemberSystem"), u8("where SystemName=\"银卡\"")), 1);
    EXPECT_EQ(count(u8("TMemberResource")), 1);
    EXPECT_EQ(count(u8("TMemberResource"), u8("where PersonId=\"B01\"")), 1);
    EXPECT_EQ(count(u8("TMemberKeepOnToll")), 1);
    EXPECT_EQ(count(u8("TMemberKeepOnToll"), u8("where AttributeType=\"银卡\"")), 1);
    // The member list shows the result at once.
    EXPECT_EQ(view->Q2->recordCount(), 1);
    EXPECT_EQ(view->Q->recordCount(), 1);
}

TEST_F(SchemeDeleteTest, DeleteNotConfirmedChangesNothing) {
    messages->expect(mkConfirm, question, false);
    view->RzBitBtn4->click();
    EXPECT_EQ(count(u8("TMemberSystem")), 2);
    EXPECT_EQ(count(u8("TMemberResource")), 3);
    EXPECT_EQ(count(u8("TMemberKeepOnToll")), 4);
}

TEST_F(MemberViewTest, SchemeDeleteOnAnEmptyListShowsANotice) {
    openView();
    view->AddSystemBtn->click();
    view->CancleSystemBtn->click();  // enables the scheme "删除" on an empty list
    ASSERT_TRUE(view->RzBitBtn4->isEnabled());
    messages->expect(mkNotice, u8("当前没有会员制度,无法删除!"));
    view->RzBitBtn4->click();
    EXPECT_EQ(count(u8("TMemberSystem")), 0);
}

TEST_F(MemberViewTest, SchemeNameWithQuotesDeletesItsOwnMembersOnly) {
    addScheme(u8("A\"B'"), u8(kDay), u8("5"), 5);
    addScheme(u8("AB"), u8(kDay), u8("5"), 5);
    addMember(u8("Q1"), u8("一"), u8("A\"B'"), 5, 5);
    addMember(u8("Q2"), u8("二"), u8("AB"), 5, 5);
    openView();
    messages->expect(mkConfirm,
                     u8("确认是否删除,因删除后会员资料及会员续费资料中的属于该会员类型的记录也将被删除,请谨慎决择!"));
    view->RzBitBtn4->click();
    EXPECT_EQ(count(u8("TMemberResource")), 1);
    EXPECT_EQ(count(u8("TMemberResource"), u8("where PersonId=\"Q2\"")), 1);
}

}  // namespace
