// The member view when the engine refuses a statement in the middle of an action: the error box shows the engine's
// text, nothing of the action stays and the lists show the stored rows.
#include <gtest/gtest.h>

#include "common/MyMessageBox.h"
#include "members/MemberTestSupport.h"
#include "members/TCdMemberFm.h"

using members_test::MemberViewTest;
using members_test::u8;

namespace {

const char* const kDay = "按天数优惠";

class MemberActionFailureTest : public MemberViewTest {
protected:
    void SetUp() override {
        MemberViewTest::SetUp();
        addScheme(u8("金卡"), u8(kDay), u8("50"), 30);
        addScheme(u8("银卡"), u8(kDay), u8("20"), 10);
        addMember(u8("A01"), u8("张三"), u8("金卡"), 30, 30);
        addMember(u8("B01"), u8("李四"), u8("银卡"), 10, 4);
        for (int i = 0; i < 3; ++i) addPayment(u8("A01"), u8("张三"), u8("金卡"), 30);
        addPayment(u8("B01"), u8("李四"), u8("银卡"), 10);
        openView();
        before = memberTables();
    }
    // What a grid shows, row by row.
    static QStringList shown(ui::DataGrid* grid) {
        QStringList rows;
        ui::GridModel* model = grid->model();
        for (int r = 0; r < model->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < model->columnCount(); ++c)
                cells << model->data(model->index(r, c), Qt::DisplayRole).toString();
            rows << cells.join(u'|');
        }
        return rows;
    }
    QStringList before;
};

TEST_F(MemberActionFailureTest, SchemeDeleteRefusedMidwayKeepsEverythingAndTheListsShowIt) {
    const QStringList schemesShown = shown(view->GridMain);
    const QStringList membersShown = shown(view->dxDBGrid1);
    refuseEngine("BEFORE DELETE ON TMemberKeepOnToll");
    messages->expect(mkConfirm,
                     u8("确认是否删除,因删除后会员资料及会员续费资料中的属于该会员类型的记录也将被删除,请谨慎决择!"));
    messages->expect(kErrorBoxKind, u8("injected"));
    view->RzBitBtn4->click();
    EXPECT_EQ(memberTables(), before);
    EXPECT_EQ(shown(view->GridMain), schemesShown);
    EXPECT_EQ(shown(view->dxDBGrid1), membersShown);
    EXPECT_EQ(view->Q->state(), db::Query::Browse);
    EXPECT_TRUE(view->RzBitBtn4->isEnabled());
}

TEST_F(MemberActionFailureTest, MemberDeleteRefusedMidwayKeepsTheMemberListed) {
    toMemberTab();
    clickMember(u8("A01"));
    const QStringList membersShown = shown(view->dxDBGrid1);
    refuseEngine("BEFORE DELETE ON TMemberKeepOnToll");
    messages->expect(mkConfirm, u8("确认是否删除,因删除后会员资料及会员续费资料记录也将被删除,请谨慎决择!"));
    messages->expect(kErrorBoxKind, u8("injected"));
    view->EpButton2->click();
    EXPECT_EQ(memberTables(), before);
    EXPECT_EQ(shown(view->dxDBGrid1), membersShown);
}

// The payment rows are written before the member row; the refused member row takes them back.
struct SaveCase {
    const char* what;
    const char* when;
    bool newMember;
};

class MemberSaveFailureTest : public MemberActionFailureTest, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(MemberSaveFailureTest, RefusedMemberRowTakesItsPaymentRowsBack) {
    toMemberTab();
    refuseEngine(GetParam().when);
    messages->expect(kErrorBoxKind, u8("injected"));
    if (GetParam().newMember) {
        enterMember(u8("王五"), u8("C01"), u8("金卡"));
        EXPECT_EQ(view->Q2->state(), db::Query::Insert);
    } else {
        clickMember(u8("A01"));
        view->dxDBEdit1->setFieldText(u8("A09"));
        view->MemberName->setFieldText(u8("张三丰"));
        view->BtnSaveMember->click();
        EXPECT_EQ(view->Q2->state(), db::Query::Edit);
    }
    EXPECT_EQ(memberTables(), before);
    // The row stays pending for the operator to save again once the engine takes it.
    stopRefusing();
    view->BtnSaveMember->click();
    EXPECT_EQ(view->Q2->state(), db::Query::Browse);
    EXPECT_EQ(count(u8("TMemberKeepOnToll")), GetParam().newMember ? 5 : 4);
    EXPECT_EQ(
        count(u8("TMemberKeepOnToll"), GetParam().newMember ? u8("where PersonId=\"C01\"")
                                                            : u8("where PersonId=\"A09\" and MemberName=\"张三丰\"")),
        GetParam().newMember ? 1 : 3);
}

INSTANTIATE_TEST_SUITE_P(EachSave, MemberSaveFailureTest,
                         ::testing::Values(SaveCase{"Joining", "BEFORE INSERT ON TMemberResource", true},
                                           SaveCase{"Renumbering", "BEFORE UPDATE ON TMemberResource", false}),
                         [](const ::testing::TestParamInfo<SaveCase>& info) { return std::string(info.param.what); });

}  // namespace
