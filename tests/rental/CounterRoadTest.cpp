#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/TProjectMainFm.h"
#include "app/Views.h"
#include "db/Clock.h"
#include "members/TCdMemberFm.h"
#include "members/TFindMemberFm.h"
#include "rental/RentalTestSupport.h"
#include "rental/TCdRentBackFm.h"
#include "rental/TCdRentListFm.h"
#include "rental/TRechoningAllFm.h"
#include "rental/TReckoningFm.h"
#include "rental/TServalRecordRentFm.h"

using rental_tests::ShopTest;

namespace {

// The counter as the operator works it: lend to a walk-in customer and a member from the desk, come back days later,
// return part, then the rest, and see the desk, stock, the member's remainder and the deposit follow.
class CounterRoadTest : public ShopTest {
protected:
    void SetUp() override {
        ShopTest::SetUp();
        TFindMemberFm::resetResult();
    }
    static void enter(QLineEdit* box, const QString& text) {
        box->setText(text);
        QTest::keyClick(box, Qt::Key_Return);
    }
    static void lend(TCdRentListFm* sheet, const QString& number) {
        sheet->BtnAdd->click();
        enter(sheet->SearchId, number);
        sheet->BtnSave->click();
    }
    static void tickRow(TCdRentListFm* sheet, const QString& number) {
        for (int row = 0; row < sheet->Q->recordCount(); ++row) {
            sheet->Q->moveTo(row);
            if (sheet->Q->field("CdCountId_TCdResource").asString() != number) continue;
            auto* model = sheet->dxDBGrid1->model();
            model->setData(model->indexOfSourceRow(row, 0), Qt::Checked, Qt::CheckStateRole);
            return;
        }
        ADD_FAILURE() << "no item " << number.toStdString();
    }
    // Makes the sheet with this ID current on the desk, as a click does.
    void selectSheet(qint64 id) {
        TCdRentBackFm* desk = views().cdRentBack;
        for (int row = 0; row < desk->Q->recordCount(); ++row) {
            desk->Q->moveTo(row);
            if (desk->Q->field("ID").asInteger() == id) return;
        }
        ADD_FAILURE() << "no sheet " << id;
    }
    qint64 memberRemainShown() {
        db::Query* list = views().cdMember->Q2;
        for (int row = 0; row < list->recordCount(); ++row)
            if (list->displayText(row, list->columnIndex("PersonId")) == "M1")
                return list->displayText(row, list->columnIndex("RemainDaysOrCounts")).toLongLong();
        return -1;
    }
};

TEST_F(CounterRoadTest, LendToAWalkInAndAMemberThenReturnPartAndTheRestWithSettlement) {
    addTitle("A1", "英雄", 2, "2");
    addTitle("B2", "无间道", 1, "3");
    const qint64 series = addTitle("S1", "天龙八部", 2, "1.5", "是");
    addVolume(series, "S1-12", "天龙八部", 2);
    addMember("M1", "按部数优惠", 10, 10);
    startViews();
    std::function<void(TCdRentListFm*)> atSheet;
    dialogs->on("TCdRentListFm", [&](QDialog* d) { atSheet(static_cast<TCdRentListFm*>(d)); });
    TCdRentBackFm* desk = views().cdRentBack;
    ASSERT_EQ(desk->RecordCount->text(), "0条");

    // A walk-in customer takes two discs and a series volume.
    dialogs->on("TServalRecordRentFm", [](QDialog* d) { static_cast<TServalRecordRentFm*>(d)->BtnOk->click(); });
    atSheet = [&](TCdRentListFm* sheet) {
        lend(sheet, "A1");
        lend(sheet, "B2");
        lend(sheet, "S1");
        sheet->CdPrice->setText("50");
        sheet->BtnEnter->click();
    };
    desk->BtnAddNew->click();
    const qint64 walkIn = scalarInt("select max(ID) from TRentOperation");
    EXPECT_EQ(desk->Q->recordCount(), 1);
    EXPECT_EQ(desk->RecordCount->text(), "1");
    EXPECT_EQ(desk->NotBackCount->text(), "3");
    EXPECT_EQ(desk->SubQ->recordCount(), 3);
    EXPECT_EQ(stockOf("A1"), 1);
    EXPECT_EQ(stockOf("B2"), 0);
    EXPECT_EQ(volumeStock("S1-12"), 1);

    // A member, found through the member lookup, takes one disc; the member list follows.
    dialogs->on("TFindMemberFm", [](QDialog* d) { static_cast<TFindMemberFm*>(d)->BtnEnter->click(); });
    atSheet = [&](TCdRentListFm* sheet) {
        sheet->RentPerson->setEditText("会员");
        sheet->findmember->click();
        EXPECT_EQ(sheet->PersonId->text(), "M1");
        lend(sheet, "A1");
        sheet->BtnEnter->click();
    };
    desk->BtnAddNew->click();
    EXPECT_EQ(desk->Q->recordCount(), 2);
    EXPECT_EQ(desk->NotBackCount->text(), "4");
    EXPECT_EQ(remainOf("M1"), 9);
    EXPECT_EQ(memberRemainShown(), 9);
    EXPECT_EQ(stockOf("A1"), 0);

    // Three days later the walk-in customer brings back A1 and B2: 3 days of 2 + 3 = 15, taken from the deposit.
    db::Clock::setFixed(kNow.addDays(3));
    dialogs->on("TReckoningFm", [](QDialog* d) { static_cast<TReckoningFm*>(d)->BtnClose->click(); });
    atSheet = [&](TCdRentListFm* sheet) {
        EXPECT_EQ(sheet->Q->recordCount(), 3);
        tickRow(sheet, "A1");
        tickRow(sheet, "B2");
        sheet->BtnBack->click();
        EXPECT_EQ(sheet->CdPrice->text(), "35");
        EXPECT_EQ(sheet->LabelCount->text(), "1");
        sheet->BtnEnter->click();
    };
    selectSheet(walkIn);
    desk->BtnAddOld->click();
    EXPECT_EQ(scalarMoney("select Deposit from TRentOperation where ID=" + QString::number(walkIn)),
              db::Money::fromInt(35));
    EXPECT_EQ(count("TRentList", "where RentPrice=7.5 and Back=true"), 2);
    EXPECT_EQ(stockOf("A1"), 1);
    EXPECT_EQ(stockOf("B2"), 1);
    EXPECT_EQ(desk->NotBackCount->text(), "2");

    // Four days after lending the volume comes back: 4 x 1.5 = 6 due, 35 - 6 = 29 to hand back; the sheet settles.
    db::Clock::setFixed(kNow.addDays(4));
    dialogs->on("TRechoningAllFm", [](QDialog* d) {
        auto* all = static_cast<TRechoningAllFm*>(d);
        EXPECT_EQ(all->InSum->text(), "6");
        EXPECT_EQ(all->OutSum->text(), "29");
        all->BtnClose->click();
    });
    atSheet = [&](TCdRentListFm* sheet) {
        tickRow(sheet, "S1-12");
        sheet->BtnBack->click();
        EXPECT_FALSE(sheet->isVisible());
    };
    selectSheet(walkIn);
    Q_EMIT desk->GridMain->rowDoubleClicked();
    EXPECT_EQ(volumeStock("S1-12"), 2);
    EXPECT_EQ(scalarText("select BackStatus from TRentOperation where ID=" + QString::number(walkIn)), "是");
    EXPECT_EQ(scalarMoney("select RentPrice from TRentList where CdCountId_TCdResource=\"S1-12\""),
              db::Money::fromInt(6));
    EXPECT_EQ(desk->Q->recordCount(), 1);
    EXPECT_EQ(desk->RecordCount->text(), "1");
    EXPECT_EQ(desk->NotBackCount->text(), "1");
    EXPECT_EQ(dialogs->opened("TCdRentListFm"), 4);
}

}  // namespace
