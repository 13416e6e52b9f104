// The member rules on a fresh database, without any view.
#include <gtest/gtest.h>

#include <functional>

#include "db/Errors.h"
#include "members/MemberTestSupport.h"
#include "members/Membership.h"

using members::MemberRefusal;
using members::Membership;
using members::SchemeRefusal;
using members_test::MemberDataTest;
using members_test::u8;

namespace {

const char* const kDay = "按天数优惠";
const char* const kCount = "按部数优惠";

// Two schemes, three members and their payment rows; B01 once paid under the gold scheme.
class MembershipTest : public MemberDataTest {
protected:
    void SetUp() override {
        MemberDataTest::SetUp();
        addScheme(u8("金卡"), u8(kDay), u8("50"), 30);
        addScheme(u8("银卡"), u8(kCount), u8("20"), 10);
        addMember(u8("A01"), u8("张三"), u8("金卡"), 30, 5);
        addMember(u8("A02"), u8("李四"), u8("金卡"), 30, 0);
        addMember(u8("B01"), u8("王五"), u8("银卡"), 10, 10);
        for (int i = 0; i < 3; ++i) addPayment(u8("A01"), u8("张三"), u8("金卡"), 30);
        addPayment(u8("A02"), u8("李四"), u8("金卡"), 30);
        addPayment(u8("B01"), u8("王五"), u8("银卡"), 10);
        addPayment(u8("B01"), u8("王五"), u8("金卡"), 30);
    }

public:
    qint64 memberId(const char* number) {
        return scalarInt(u8("select id from TMemberResource where PersonId=") + jet::quoted(u8(number)));
    }
    qint64 schemeId(const char* name) {
        return scalarInt(u8("select Id from TMemberSystem where SystemName=") + jet::quoted(u8(name)));
    }
    qint64 payments(const QString& where) { return count(u8("TMemberKeepOnToll"), where); }

    Membership membership;
};

struct SchemeCheckCase {
    const char* what;
    members::SchemeEntry scheme;
    std::optional<SchemeRefusal> refusal;
};

TEST_F(MembershipTest, SchemeChecksRefuseTheFirstFault) {
    const db::Money fifty = db::Money::fromInt(50);
    const SchemeCheckCase cases[] = {
        {"complete", {u8("季卡"), u8(kDay), 90, fifty}, std::nullopt},
        {"no name", {u8(""), u8(""), std::nullopt, db::Money()}, SchemeRefusal::NoName},
        {"no type", {u8("季卡"), u8(""), 90, fifty}, SchemeRefusal::NoType},
        {"no grant", {u8("季卡"), u8(kDay), std::nullopt, fifty}, SchemeRefusal::NoGrant},
        {"grant 0 is a value, and not allowed", {u8("季卡"), u8(kDay), 0, fifty}, SchemeRefusal::GrantNotPositive},
        {"negative grant", {u8("季卡"), u8(kCount), -5, fifty}, SchemeRefusal::GrantNotPositive},
        {"no fee", {u8("季卡"), u8(kCount), 1, db::Money()}, SchemeRefusal::NoFee},
        {"a tiny fee is a fee", {u8("季卡"), u8(kCount), 1, db::Money::fromUnits(1)}, std::nullopt},
    };
    for (const SchemeCheckCase& c : cases) EXPECT_EQ(Membership::checkScheme(c.scheme), c.refusal) << c.what;
}

TEST_F(MembershipTest, MemberChecksTellANewMemberFromAChangedOne) {
    struct Case {
        const char* what;
        members::MemberEntry member;
        std::optional<MemberRefusal> refusal;
    };
    const qint64 a01 = memberId("A01");
    const Case cases[] = {
        {"new, complete", {0, u8("C01"), u8("赵六"), u8("金卡")}, std::nullopt},
        {"no name", {0, u8(""), u8(""), u8("")}, MemberRefusal::NoName},
        {"no number", {0, u8(""), u8("赵六"), u8("")}, MemberRefusal::NoNumber},
        {"no scheme", {0, u8("C01"), u8("赵六"), u8("")}, MemberRefusal::NoScheme},
        {"new with a stored number in another case",
         {0, u8("b01"), u8("赵六"), u8("金卡")},
         MemberRefusal::NumberExists},
        {"changed to another member's number",
         {a01, u8("a02"), u8("张三"), u8("金卡")},
         MemberRefusal::NumberOfAnother},
        {"changed, keeping its own number", {a01, u8("a01"), u8("张三丰"), u8("金卡")}, std::nullopt},
        {"changed to a free number", {a01, u8("\"A'"), u8("张三"), u8("金卡")}, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(membership.checkMember(c.member), c.refusal) << c.what;
}

TEST_F(MembershipTest, ChangedMemberCarriesItsPaymentRowsOnly) {
    membership.followMember({memberId("A01"), u8("A\"9'"), u8("张三丰"), u8("金卡")});
    EXPECT_EQ(payments(u8("where PersonId=") + jet::quoted(u8("A\"9'")) + u8(" and MemberName=\"张三丰\"")), 3);
    EXPECT_EQ(payments(u8("where PersonId=\"A01\"")), 0);
    EXPECT_EQ(payments(u8("where PersonId=\"A02\" and MemberName=\"李四\"")), 1);
    EXPECT_EQ(payments(u8("where PersonId=\"B01\" and MemberName=\"王五\"")), 2);
}

TEST_F(MembershipTest, JoiningRowHoldsWhatWasShownAndNoFee) {
    membership.recordJoining({u8("C\"1"), u8("赵'六"), u8("银卡"), QDate(2026, 12, 10), 10});
    EXPECT_EQ(
        payments(u8("where PersonId=") + jet::quoted(u8("C\"1")) + u8(" and MemberName=") + jet::quoted(u8("赵'六")) +
                 u8(" and AttributeType=\"银卡\" and AllowDaysOrCounts=10 and KeeponDate=#2026-12-10# and "
                    "PayCash is null")),
        1);
    // A row started without a date or grant shown keeps them empty.
    membership.recordJoining({u8("C02"), u8("钱七"), u8("银卡"), QDate(), std::nullopt});
    EXPECT_EQ(payments(u8("where PersonId=\"C02\" and KeeponDate is null and AllowDaysOrCounts is null")), 1);
}

TEST_F(MembershipTest, DeletingAMemberTakesOnlyItsOwnPaymentRows) {
    membership.deleteMember(memberId("A01"));
    EXPECT_EQ(count(u8("TMemberResource")), 2);
    EXPECT_EQ(count(u8("TMemberResource"), u8("where PersonId=\"A01\"")), 0);
    EXPECT_EQ(payments(u8("where PersonId=\"A01\"")), 0);
    EXPECT_EQ(payments(u8("")), 3);  // A02 of the same scheme keeps its row, B01 both of its rows
    // A member already gone changes nothing.
    membership.deleteMember(12345);
    EXPECT_EQ(count(u8("TMemberResource")), 2);
}

TEST_F(MembershipTest, DeletingASchemeTakesEverythingUnderItsName) {
    membership.deleteScheme(schemeId("金卡"));
    EXPECT_EQ(count(u8("TMemberSystem")), 1);
    EXPECT_EQ(count(u8("TMemberResource")), 1);
    EXPECT_EQ(count(u8("TMemberResource"), u8("where PersonId=\"B01\"")), 1);
    // B01's payment under the gold scheme goes with it.
    EXPECT_EQ(payments(u8("")), 1);
    EXPECT_EQ(payments(u8("where AttributeType=\"银卡\"")), 1);
}

TEST_F(MembershipTest, RenewalAddsTheGrantAndRecordsThePayment) {
    struct Case {
        const char* what;
        const char* number;
        const char* scheme;
        qint64 allow, remain;
        const char* fee;
    };
    const Case cases[] = {
        {"remainder 5 plus 30", "A01", "金卡", 30, 35, "50"},
        {"used up: exactly the grant", "A02", "银卡", 10, 10, "20"},
        {"a name no scheme has renews nothing", "B01", "无此卡", 0, 10, "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const qint64 before = payments(u8(""));
        EXPECT_EQ(membership.renew({u8(c.number), u8("付款人"), u8(c.scheme)}), std::nullopt);
        EXPECT_EQ(memberInt(u8(c.number), "AllowDaysOrCounts"), c.allow);
        EXPECT_EQ(memberInt(u8(c.number), "RemainDaysOrCounts"), c.remain);
        EXPECT_EQ(memberText(u8(c.number), "AttributeType"), u8(c.scheme));
        EXPECT_EQ(memberText(u8(c.number), "OpenAccountDate"), u8("2026-11-01"));
        EXPECT_EQ(payments(u8("")), before + 1);
        EXPECT_EQ(payments(u8("where PersonId=") + jet::quoted(u8(c.number)) +
                           u8(" and MemberName=\"付款人\" and KeeponDate=#2026-12-10# and AttributeType=") +
                           jet::quoted(u8(c.scheme)) + u8(" and AllowDaysOrCounts=") + QString::number(c.allow) +
                           u8(" and PayCash=") + u8(c.fee)),
                  1);
    }
}

TEST_F(MembershipTest, RenewalRefusalsWriteNothing) {
    EXPECT_EQ(membership.renew({u8("A01"), u8("张三"), u8("")}), members::RenewalRefusal::NoScheme);
    EXPECT_EQ(membership.renew({u8("Z99"), u8("张三"), u8("金卡")}), members::RenewalRefusal::NoMember);
    EXPECT_EQ(memberInt(u8("A01"), "RemainDaysOrCounts"), 5);
    EXPECT_EQ(payments(u8("")), 6);
}

// Each action that writes several rows, with the engine refusing its last statement: the database is as before.
struct InjectedCase {
    const char* what;
    const char* trigger;  // when the engine refuses
    std::function<void(MembershipTest&)> action;
};

class MembershipFailureTest : public MembershipTest, public ::testing::WithParamInterface<InjectedCase> {};

TEST_P(MembershipFailureTest, LeavesTheDatabaseAsItWas) {
    const QStringList before = memberTables();
    refuseEngine(GetParam().trigger);
    EXPECT_THROW(GetParam().action(*this), db::Error);
    EXPECT_EQ(memberTables(), before);
    // Nothing of the action is left open: once the engine accepts, the same action goes through.
    stopRefusing();
    GetParam().action(*this);
    EXPECT_NE(memberTables(), before);
}

INSTANTIATE_TEST_SUITE_P(
    EachAction, MembershipFailureTest,
    ::testing::Values(InjectedCase{"DeleteScheme", "BEFORE DELETE ON TMemberKeepOnToll",
                                   [](MembershipTest& t) { t.membership.deleteScheme(t.schemeId("金卡")); }},
                      InjectedCase{"DeleteMember", "BEFORE DELETE ON TMemberKeepOnToll",
                                   [](MembershipTest& t) { t.membership.deleteMember(t.memberId("A01")); }},
                      InjectedCase{"Renewal", "BEFORE INSERT ON TMemberKeepOnToll",
                                   [](MembershipTest& t) {
                                       t.membership.renew({u8("A01"), u8("张三"), u8("银卡")});
                                   }}),
    [](const ::testing::TestParamInfo<InjectedCase>& info) { return std::string(info.param.what); });

}  // namespace
