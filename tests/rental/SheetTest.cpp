#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "db/Connection.h"
#include "rental/RentalTestSupport.h"
#include "rental/TCdRentListFm.h"
#include "rental/TRechoningAllFm.h"
#include "rental/TReckoningFm.h"
#include "rental/TSelectcdFm.h"
#include "rental/TServalRecordRentFm.h"
#include "support/Fixture.h"

using rental_tests::ShopTest;

namespace {

const QString kAskCancel = QStringLiteral("是否确定取消,此操作会删除你已录入了的子记录!");
const QString kBadAmount = QStringLiteral("对不起,你输入的金额格式不对!");
const QString kNegativeReceived = QStringLiteral("对不起,实收租金不能为负数!");

class SheetTest : public ShopTest {
protected:
    void TearDown() override {
        sheet.reset();
        ShopTest::TearDown();
    }

    TCdRentListFm* open(qint64 id) {
        sheet.reset();
        CurrentRentOperationId = id;
        sheet = std::make_unique<TCdRentListFm>();
        sheet->show();
        return sheet.get();
    }
    void enter(QLineEdit* box, const QString& text) {
        box->setText(text);
        QTest::keyClick(box, Qt::Key_Return);
    }
    // "新增记录", a lookup by number and "保存".
    void lend(const QString& number) {
        sheet->BtnAdd->click();
        enter(sheet->SearchId, number);
        sheet->BtnSave->click();
    }
    void tick(int row) {
        auto* model = sheet->dxDBGrid1->model();
        model->setData(model->indexOfSourceRow(row, 0), Qt::Checked, Qt::CheckStateRole);
    }
    bool entryShown() const { return sheet->SearchId->isVisible(); }

    std::unique_ptr<TCdRentListFm> sheet;
};

TEST_F(SheetTest, ANewSheetOpensWithTheDefaultDepositForAWalkInCustomer) {
    exec("update TbMortagage set MortagageSum=45.5");
    open(0);
    EXPECT_EQ(sheet->CdPrice->text(), "45.5");
    EXPECT_EQ(sheet->RentPerson->currentText(), "零客户");
    EXPECT_EQ(sheet->HandlePerson->text(), "超级用户");
    EXPECT_EQ(sheet->LabelCount->text(), "0");
    EXPECT_FALSE(sheet->PersonId->isEnabled());
    EXPECT_FALSE(sheet->findmember->isVisible());
    EXPECT_FALSE(sheet->BtnBack->isVisible());
    EXPECT_FALSE(sheet->BtnAllCheck->isVisible());
    EXPECT_FALSE(entryShown());
    EXPECT_TRUE(sheet->BtnAdd->isEnabled());
    EXPECT_FALSE(sheet->BtnSave->isEnabled());
    EXPECT_FALSE(sheet->BtnCancel->isEnabled());
    EXPECT_FALSE(sheet->BtnDel->isEnabled());
}

TEST_F(SheetTest, AContinuedSheetShowsItsHeaderItsMemberAndTheReturnButtons) {
    addMember("M1", "按部数优惠", 10, 7);
    const qint64 id = addSheet("会员", "20", "M1");
    addItem(id, "A1", "0", 1);
    addItem(id, "A2", "0", 1, true);
    open(id);
    EXPECT_EQ(sheet->RentPerson->currentText(), "会员");
    EXPECT_EQ(sheet->PersonId->text(), "M1");
    EXPECT_FALSE(sheet->PersonId->isEnabled());
    EXPECT_TRUE(sheet->findmember->isVisible());
    EXPECT_EQ(sheet->CdPrice->text(), "20");
    EXPECT_EQ(sheet->Allow->text(), "10");
    EXPECT_EQ(sheet->Remain->text(), "7");
    EXPECT_EQ(sheet->LabelCount->text(), "1");
    EXPECT_EQ(sheet->Q->recordCount(), 1);
    EXPECT_TRUE(sheet->BtnBack->isVisible());
    EXPECT_TRUE(sheet->BtnDel->isEnabled());
}

TEST_F(SheetTest, LendingTwoDiscsAndConfirmingMakesTheSheetAndTellsTheDesk) {
    addTitle("A1", "英雄", 2, "2.5", "否", "动作片");
    addTitle("B7", "无间道", 1, "3");
    open(0);
    QSignalSpy lists(sheet.get(), &TCdRentListFm::deskListsChanged);
    QSignalSpy notBack(sheet.get(), &TCdRentListFm::deskNotBackCountChanged);
    sheet->BtnAdd->click();
    EXPECT_TRUE(entryShown());
    EXPECT_EQ(sheet->LabelCycle->text(), "元每1天");
    EXPECT_EQ(sheet->OccurDate->text(), "2026-12-10");
    enter(sheet->SearchId, "a");
    EXPECT_EQ(sheet->SearchId->text(), "A1");
    EXPECT_EQ(sheet->CdName->text(), "英雄");
    EXPECT_EQ(sheet->CdType->text(), "动作片");
    EXPECT_EQ(sheet->RentPrice->text(), "2.5");
    sheet->BtnSave->click();
    EXPECT_FALSE(entryShown());
    EXPECT_EQ(sheet->LabelCount->text(), "1");
    lend("B7");
    EXPECT_EQ(sheet->LabelCount->text(), "2");
    EXPECT_EQ(sheet->Q->recordCount(), 2);
    EXPECT_EQ(stockOf("B7"), 0);

    sheet->OtherMortagage->setText("身份证");
    sheet->BtnEnter->click();
    EXPECT_FALSE(sheet->isVisible());
    const qint64 id = scalarInt("select max(ID) from TRentOperation");
    EXPECT_EQ(count("TRentList", "where Id_RentOperation=" + QString::number(id)), 2);
    EXPECT_EQ(scalarText("select RentCount from TRentOperation"), "2");
    EXPECT_EQ(scalarText("select OtherMortagage from TRentOperation"), "身份证");
    EXPECT_EQ(lists.count(), 1);
    ASSERT_EQ(notBack.count(), 1);
    EXPECT_EQ(notBack.at(0).at(0).toInt(), 2);
}

TEST_F(SheetTest, ConfirmingANewSheetWithoutItemsIsRefused) {
    open(0);
    messages->expect(mkNotice, "出租清单中必须有一个以上的出租记录!");
    sheet->BtnEnter->click();
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(count("TRentOperation"), 0);
}

TEST_F(SheetTest, NewItemRefusesAnUnknownOrSpentMemberWithTheFocusOnTheNumber) {
    addMember("M0", "按部数优惠", 10, 0);
    struct Case {
        const char* renter;
        const char* member;
        const char* message;
        const char* focus;
    } cases[] = {
        {"", "", "请你输入租借人信息,确定其属于零客户还是会员!", "RentPerson"},
        {"会员", "", "请你输入的租借人为会员,请输入其会员ID号!", "PersonId"},
        {"会员", "X1", "对不起,未能找到此会员编号,输入有误,请重新输入!", "PersonId"},
        {"会员", "M0", "该会员的会费到期,请续费,无法完成出租操作,点击取消退出操作!", ""},
    };
    open(0);
    sheet->activateWindow();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        sheet->RentPerson->setEditText(c.renter);
        sheet->PersonId->setText(c.member);
        sheet->BtnAdd->setFocus();
        messages->expect(mkNotice, c.message);
        sheet->BtnAdd->click();
        EXPECT_FALSE(entryShown());
        EXPECT_FALSE(sheet->BtnDel->isEnabled());
        if (*c.focus) {
            ASSERT_NE(sheet->focusWidget(), nullptr);
            EXPECT_EQ(sheet->focusWidget()->objectName(), c.focus);
        }
    }
}

TEST_F(SheetTest, AMemberItemIsFreeAndTheMemberIsFixedOnceTheEntryStarts) {
    addTitle("A1", "英雄", 2, "2.5");
    addMember("M1", "按天数优惠", 30, 30, kNow.date().addDays(-10));
    open(0);
    QSignalSpy members(sheet.get(), &TCdRentListFm::memberRemainChanged);
    sheet->RentPerson->setEditText("会员");
    EXPECT_TRUE(sheet->PersonId->isEnabled());
    sheet->PersonId->setText("M1");
    sheet->BtnAdd->click();
    EXPECT_FALSE(sheet->PersonId->isEnabled());
    EXPECT_FALSE(sheet->RentPrice->isEnabled());
    EXPECT_EQ(sheet->Allow->text(), "30");
    EXPECT_EQ(sheet->Remain->text(), "20");
    EXPECT_EQ(sheet->Label24->text(), "天");
    enter(sheet->SearchId, "A1");
    sheet->BtnSave->click();
    EXPECT_EQ(scalarText("select RentPrice from TRentList"), "0");
    EXPECT_EQ(remainOf("M1"), 19);
    EXPECT_EQ(members.count(), 1);
}

TEST_F(SheetTest, SavingBeforeALookupFilledThePriceIsRefused) {
    addTitle("A1", "英雄");
    open(0);
    sheet->BtnAdd->click();
    sheet->SearchId->setText("A1");
    messages->expect(mkNotice,
                     "请在查找的碟片编号或名称录入完毕后按回车键,系统会调出该碟片的资料!若放弃出租请点击取消键!");
    sheet->BtnSave->click();
    EXPECT_TRUE(entryShown());
    EXPECT_EQ(count("TRentList"), 0);
}

TEST_F(SheetTest, LookupByNumberFillsTheItemOrSaysWhy) {
    addTitle("A1", "英雄", 2, "2");
    addTitle("A10", "十面埋伏", 1, "3.5", "否", "动作片");
    addTitle("Z9", "空", 0, "2");
    struct Case {
        const char* typed;
        const char* message;  // empty: no message
        const char* number;
        const char* name;
        const char* price;
    } cases[] = {
        {"10", "", "A10", "十面埋伏", "3.5"},
        {"Q", "对不起,没有找到你所输入影片编号的记录,请重新输入!", "Q", "", ""},
        {"Z9", "对不起,你所输入影片编号的记录所有库存已全部出租!", "Z9", "", ""},
        {"", "", "", "", ""},
    };
    open(0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        sheet->BtnAdd->click();
        if (*c.message) messages->expect(mkNotice, c.message);
        enter(sheet->SearchId, c.typed);
        EXPECT_EQ(sheet->SearchId->text(), c.number);
        EXPECT_EQ(sheet->CdName->text(), c.name);
        EXPECT_EQ(sheet->RentPrice->text(), c.price);
        sheet->BtnCancel->click();
    }
    EXPECT_EQ(dialogs->opened("TSelectcdFm"), 0);
}

TEST_F(SheetTest, LookupByNameFillsTheNumberAndKeepsTheTypedName) {
    addTitle("A1", "英雄", 2, "2", "否", "动作片");
    addTitle("B1", "空城", 0, "2");
    struct Case {
        const char* typed;
        const char* message;
        const char* number;
        const char* price;
    } cases[] = {
        {"英", "", "A1", "2"},
        {"无此片", "对不起,没有找到你所输入影片名称的记录,请重新输入!", "", ""},
        {"空", "对不起,你所输入影片名称的记录的所有库存已全部出租!", "", ""},
    };
    open(0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        sheet->BtnAdd->click();
        if (*c.message) messages->expect(mkNotice, c.message);
        enter(sheet->CdName, c.typed);
        EXPECT_EQ(sheet->CdName->text(), c.typed);
        EXPECT_EQ(sheet->SearchId->text(), c.number);
        EXPECT_EQ(sheet->RentPrice->text(), c.price);
        sheet->BtnCancel->click();
    }
}

TEST_F(SheetTest, ASeriesChosenFromTheListOfAllTitlesLeadsToItsVolumes) {
    addTitle("A1", "英雄", 2, "2");
    const qint64 series = addTitle("S1", "天龙八部", 2, "1.5", "是", "武侠剧");
    addVolume(series, "S1-12", "天龙八部", 1);
    open(0);
    sheet->BtnAdd->click();
    dialogs->on("TSelectcdFm", [](QDialog* d) {
        auto* list = static_cast<TSelectcdFm*>(d);
        EXPECT_EQ(list->Q->recordCount(), 2);
        list->Q->moveTo(1);
        Q_EMIT list->dxDBGrid1->rowDoubleClicked();
    });
    dialogs->on("TServalRecordRentFm", [](QDialog* d) { static_cast<TServalRecordRentFm*>(d)->BtnOk->click(); });
    sheet->FindAll->click();
    EXPECT_EQ(dialogs->opened("TServalRecordRentFm"), 1);
    EXPECT_EQ(sheet->SearchId->text(), "S1-12");
    EXPECT_EQ(sheet->CdName->text(), "天龙八部");
    EXPECT_EQ(sheet->CdType->text(), "武侠剧");
    EXPECT_EQ(sheet->RentPrice->text(), "1.5");
    // Nothing is taken before the item is saved.
    EXPECT_EQ(volumeStock("S1-12"), 1);
    sheet->BtnSave->click();
    EXPECT_EQ(volumeStock("S1-12"), 0);
}

TEST_F(SheetTest, AnItemTheEngineRefusesLeavesStockListAndCountAsTheyWere) {
    addTitle("A1", "英雄", 2, "2");
    open(0);
    lend("A1");
    db::Connection::shared().execEngine(
        "CREATE TEMP TRIGGER injected BEFORE UPDATE ON TCdResource BEGIN SELECT RAISE(ABORT,'injected'); END");
    sheet->BtnAdd->click();
    enter(sheet->SearchId, "A1");
    messages->expect(kErrorBoxKind, "injected");
    sheet->BtnSave->click();
    db::Connection::shared().execEngine("DROP TRIGGER injected");
    EXPECT_EQ(count("TRentList"), 1);
    EXPECT_EQ(sheet->Q->recordCount(), 1);
    EXPECT_EQ(stockOf("A1"), 1);
    EXPECT_EQ(sheet->LabelCount->text(), "1");
}

TEST_F(SheetTest, SeveralMatchesOpenTheSelectionList) {
    addTitle("A1", "英雄", 2, "2");
    addTitle("A10", "英雄本色", 0, "3.5");
    open(0);
    sheet->BtnAdd->click();
    // The list is cancelled twice, then a title without stock is refused in it and the other one is taken.
    const auto cancel = [](QDialog* d) {
        auto* list = static_cast<TSelectcdFm*>(d);
        EXPECT_EQ(list->Q->recordCount(), 2);
        list->BtnCancel->click();
    };
    dialogs->on("TSelectcdFm", cancel);
    dialogs->on("TSelectcdFm", cancel);
    dialogs->on("TSelectcdFm", [this](QDialog* d) {
        auto* list = static_cast<TSelectcdFm*>(d);
        list->Q->moveTo(1);
        messages->expect(mkNotice, "对不起,此碟片已无库存,不能进行出租操作!");
        list->BtnOk->click();
        EXPECT_TRUE(list->isVisible());
        list->Q->moveTo(0);
        list->BtnOk->click();
    });
    // Cancelled after a number lookup: both boxes are emptied.
    sheet->CdName->setText("旧");
    enter(sheet->SearchId, "A1");
    EXPECT_EQ(sheet->SearchId->text(), "");
    EXPECT_EQ(sheet->CdName->text(), "");
    // Cancelled after a name lookup: the boxes keep what they held.
    enter(sheet->CdName, "英雄");
    EXPECT_EQ(sheet->CdName->text(), "英雄");
    enter(sheet->SearchId, "A1");
    EXPECT_EQ(sheet->SearchId->text(), "A1");
    EXPECT_EQ(sheet->CdName->text(), "英雄");
    EXPECT_EQ(sheet->RentPrice->text(), "2");
    EXPECT_EQ(dialogs->opened("TSelectcdFm"), 3);
}

TEST_F(SheetTest, ASeriesVolumeChosenIsTakenWithItsItemAndNeverWhenTheEntryIsAbandoned) {
    const qint64 series = addTitle("S1", "天龙八部", 2, "3", "是", "武侠剧");
    addVolume(series, "S1-12", "天龙八部", 2);
    addVolume(series, "S1-34", "天龙八部", 0);
    auto choose = [this](int row, bool refusedFirst = false) {
        dialogs->on("TServalRecordRentFm", [this, row, refusedFirst](QDialog* d) {
            auto* list = static_cast<TServalRecordRentFm*>(d);
            if (refusedFirst) {
                list->Q->moveTo(1);
                messages->expect(mkNotice, "对不起,连续剧的此集已无库存,不能进行出租操作!");
                list->BtnOk->click();
            }
            list->Q->moveTo(row);
            list->BtnOk->click();
        });
    };
    struct Case {
        const char* how;
        std::function<void()> abandon;
    } cases[] = {
        {"entry cancelled", [this] { sheet->BtnCancel->click(); }},
        {"renter becomes a member", [this] { sheet->RentPerson->setEditText("会员"); }},
        {"sheet closed by its frame", [this] { sheet->close(); }},
        {"sheet cancelled", [this] { sheet->BtnEnd->click(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        open(0);
        sheet->BtnAdd->click();
        choose(0, true);
        enter(sheet->SearchId, "S1");
        EXPECT_EQ(sheet->SearchId->text(), "S1-12");
        EXPECT_EQ(sheet->CdType->text(), "武侠剧");
        EXPECT_EQ(sheet->RentPrice->text(), "3");
        EXPECT_EQ(volumeStock("S1-12"), 2);
        c.abandon();
        EXPECT_EQ(volumeStock("S1-12"), 2);
        EXPECT_FALSE(entryShown());
    }
    // Saved: the item takes it, and the series title's own stock does not move.
    open(0);
    sheet->BtnAdd->click();
    choose(0);
    enter(sheet->SearchId, "S1");
    sheet->BtnSave->click();
    EXPECT_EQ(volumeStock("S1-12"), 1);
    EXPECT_EQ(stockOf("S1"), 2);
    EXPECT_EQ(scalarText("select CdCountId_TCdResource from TRentList"), "S1-12");
}

TEST_F(SheetTest, ASecondVolumeChosenInTheSameEntryGivesTheFirstBack) {
    const qint64 series = addTitle("S1", "天龙八部", 2, "3", "是");
    addVolume(series, "S1-12", "天龙八部", 2);
    addVolume(series, "S1-34", "天龙八部", 2);
    open(0);
    sheet->BtnAdd->click();
    dialogs->on("TServalRecordRentFm", [](QDialog* d) {
        static_cast<TServalRecordRentFm*>(d)->Q->moveTo(0);
        static_cast<TServalRecordRentFm*>(d)->BtnOk->click();
    });
    dialogs->on("TServalRecordRentFm", [](QDialog* d) {
        static_cast<TServalRecordRentFm*>(d)->Q->moveTo(1);
        static_cast<TServalRecordRentFm*>(d)->BtnOk->click();
    });
    enter(sheet->SearchId, "S1");
    enter(sheet->SearchId, "S1");
    EXPECT_EQ(sheet->SearchId->text(), "S1-34");
    sheet->BtnSave->click();
    EXPECT_EQ(volumeStock("S1-12"), 2);
    EXPECT_EQ(volumeStock("S1-34"), 1);
}

TEST_F(SheetTest, ANewSheetClosedByItsFrameAsksAndCancelsAsItsCancelButtonDoes) {
    addTitle("A1", "英雄", 3);
    open(0);
    lend("A1");
    lend("A1");
    EXPECT_EQ(stockOf("A1"), 1);
    messages->expect(mkConfirm, kAskCancel, false);
    sheet->close();
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(count("TRentList"), 2);
    messages->expect(mkConfirm, kAskCancel, true);
    sheet->close();
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(count("TRentList"), 0);
    EXPECT_EQ(stockOf("A1"), 3);
    // The next customer's sheet starts empty.
    open(0);
    EXPECT_EQ(sheet->Q->recordCount(), 0);
    EXPECT_EQ(sheet->LabelCount->text(), "0");
}

TEST_F(SheetTest, TicksNotReturnedAreClearedWhenTheSheetClosesWithoutAReturn) {
    const qint64 id = addSheet("零客户", "50");
    addItem(id, "A1", "2", 1);
    addItem(id, "A2", "2", 1);
    for (const bool byFrame : {false, true}) {
        SCOPED_TRACE(byFrame);
        open(id);
        tick(0);
        tick(1);
        sheet->Q->moveTo(0);  // the grid leaves the row: the tick stays the sheet's own
        EXPECT_EQ(sheet->LabelCount->text(), "2");
        EXPECT_EQ(count("TRentList", "where Back=true"), 0);
        messages->expect(mkConfirm, kAskCancel, true);
        if (byFrame)
            sheet->close();
        else
            sheet->BtnEnd->click();
        EXPECT_EQ(count("TRentList", "where Back=false and Id_RentOperation=" + QString::number(id)), 2);
    }
}

TEST_F(SheetTest, ATickSurvivesLeavingTheGridForTheReturnButtonAndOnlyTheReturnWritesIt) {
    addTitle("A1", "甲", 5);
    const qint64 id = addSheet("零客户", "50");
    addItem(id, "A1", "3", 4);
    open(id);
    tick(0);
    QApplication::processEvents();
    EXPECT_EQ(count("TRentList", "where Back=true"), 0);
    // The grid leaves the row and loses the focus; the tick is the sheet's and stays.
    sheet->dxDBGrid1->view()->setFocus();
    sheet->BtnBack->setFocus();
    QApplication::processEvents();
    dialogs->on("TRechoningAllFm", [](QDialog* d) { static_cast<TRechoningAllFm*>(d)->BtnClose->click(); });
    sheet->BtnBack->click();
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(scalarText("select BackStatus from TRentOperation"), "是");
}

TEST_F(SheetTest, TickAllAndUntickAllWriteEveryListedItem) {
    const qint64 id = addSheet("零客户", "50");
    addItem(id, "A1", "2", 1);
    addItem(id, "A2", "2", 1);
    addItem(id, "A3", "2", 1, true);
    open(id);
    auto* model = sheet->dxDBGrid1->model();
    auto shown = [&] {
        QStringList ticks;
        for (int row = 0; row < sheet->Q->recordCount(); ++row)
            ticks << sheet->dxDBGrid1->shownText(model->indexOfSourceRow(row, 0), 0);
        return ticks;
    };
    sheet->BtnAllCheck->click();
    EXPECT_EQ(shown(), (QStringList{"是", "是"}));
    EXPECT_EQ(sheet->Q->recordCount(), 2);
    sheet->BtnCancelCheck->click();
    EXPECT_EQ(shown(), (QStringList{"否", "否"}));
    EXPECT_EQ(sheet->Q->recordCount(), 2);
    // Nothing of the ticks is written until a return.
    EXPECT_EQ(count("TRentList", "where Back=true"), 1);
}

TEST_F(SheetTest, DeletingTheOnlyItemOfASheetAsksThenDropsTheSheet) {
    addTitle("A1", "英雄", 2);
    const qint64 id = addSheet("零客户", "50");
    addItem(id, "A1", "2", 1);
    open(id);
    QSignalSpy lists(sheet.get(), &TCdRentListFm::deskListsChanged);
    messages->expect(mkConfirm, "注意:此操作会删除该光盘出租记录,是否继续?", true);
    messages->expect(mkConfirm,
                     "此笔业务中只有这一项出租记录,将它删除后,若不再新增其它出租记录请点击确定,若要继续出租请点击取消.",
                     true);
    sheet->BtnDel->click();
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(count("TRentOperation"), 0);
    EXPECT_EQ(count("TRentList"), 0);
    EXPECT_EQ(stockOf("A1"), 3);
    EXPECT_EQ(lists.count(), 1);
}

TEST_F(SheetTest, DeletingTheLastOpenItemOfAPartlyReturnedSheetSettlesIt) {
    addTitle("A1", "英雄", 2);
    const qint64 id = addSheet("零客户", "50");
    addItem(id, "A1", "2", 1, true);
    addItem(id, "GONE", "2", 1);
    open(id);
    messages->expect(mkConfirm, "注意:此操作会删除该光盘出租记录,是否继续?", true);
    messages->expect(mkNotice, "对不起你的库被更改过,失去关联性,删除后库存不能恢复!");
    sheet->BtnDel->click();
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(scalarText("select BackStatus from TRentOperation"), "是");
    EXPECT_EQ(scalarText("select RentCount from TRentOperation"), "0");
}

TEST_F(SheetTest, APartReturnSettledFromTheDepositShowsTheNewDeposit) {
    addTitle("A1", "甲", 5);
    addTitle("A2", "乙", 5);
    const qint64 id = addSheet("零客户", "50");
    addItem(id, "A1", "2", 3);
    addItem(id, "A2", "3", 3);
    addItem(id, "A2", "4", 3);
    open(id);
    tick(0);
    tick(1);
    dialogs->on("TReckoningFm", [this](QDialog* d) {
        auto* dialog = static_cast<TReckoningFm*>(d);
        EXPECT_EQ(dialog->LabDeposit->text(), "50");
        EXPECT_EQ(dialog->LabDue->text(), "15");
        EXPECT_EQ(dialog->FactRentSum->text(), "15");
        EXPECT_TRUE(dialog->RadioDeposit->isChecked());
        dialog->FactRentSum->setText("15元");
        messages->expect(mkNotice, kBadAmount);
        dialog->BtnClose->click();
        EXPECT_TRUE(dialog->isVisible());
        dialog->FactRentSum->setText("");  // empty: the amount due
        dialog->BtnClose->click();
    });
    sheet->BtnBack->click();
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(sheet->CdPrice->text(), "35");
    EXPECT_EQ(sheet->LabelCount->text(), "1");
    EXPECT_EQ(sheet->Q->recordCount(), 1);
    EXPECT_EQ(count("TRentList", "where RentPrice=7.5 and Back=true"), 2);
    // Confirming now writes the lowered deposit back.
    sheet->BtnEnter->click();
    EXPECT_EQ(scalarMoney("select Deposit from TRentOperation"), db::Money::fromInt(35));
}

TEST_F(SheetTest, TheFinalReturnShowsTheChangeAsTypedAndClosesTheSheet) {
    addTitle("A1", "甲", 5);
    const qint64 id = addSheet("零客户", "50");
    addItem(id, "A1", "3", 4);
    open(id);
    QSignalSpy lists(sheet.get(), &TCdRentListFm::deskListsChanged);
    tick(0);
    dialogs->on("TRechoningAllFm", [this](QDialog* d) {
        auto* dialog = static_cast<TRechoningAllFm*>(d);
        EXPECT_EQ(dialog->InSum->text(), "12");
        EXPECT_EQ(dialog->MortagageSum->text(), "50");
        EXPECT_EQ(dialog->OutSum->text(), "38");
        dialog->InfactSum->setText("60");
        EXPECT_EQ(dialog->OutSum->text(), "-10");
        dialog->InfactSum->setText("10");
        EXPECT_EQ(dialog->OutSum->text(), "40");
        dialog->InfactSum->setText("-1");
        messages->expect(mkNotice, kNegativeReceived);
        dialog->BtnClose->click();
        dialog->InfactSum->setText("10");
        dialog->BtnClose->click();
    });
    sheet->BtnBack->click();
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(scalarMoney("select RentPrice from TRentList"), db::Money::fromInt(10));
    EXPECT_EQ(scalarMoney("select Deposit from TRentOperation"), db::Money::fromInt(50));
    EXPECT_EQ(scalarText("select BackStatus from TRentOperation"), "是");
    EXPECT_EQ(lists.count(), 1);
}

TEST_F(SheetTest, ReturningWithoutATickIsRefused) {
    const qint64 id = addSheet("零客户", "50");
    addItem(id, "A1", "3", 4);
    open(id);
    messages->expect(mkNotice, "对不起,你至少要选择一项要归还的记录(即在\"是否归还\"处打上勾)!");
    sheet->BtnBack->click();
    EXPECT_TRUE(sheet->isVisible());
}

TEST_F(SheetTest, ConfirmingWithTicksAsksToReturnThemFirst) {
    addTitle("A1", "甲", 5);
    addMember("M1", "按部数优惠", 10, 5);
    const qint64 id = addSheet("会员", "0", "M1");
    addItem(id, "A1", "0", 2);
    addItem(id, "A1", "0", 2);
    // Declined: the ticks are cleared and the sheet is saved with both items out.
    open(id);
    tick(0);
    messages->expect(mkConfirm, "出租清单中有您选中的记录,现在是否归还!", false);
    sheet->OtherMortagage->setText("学生证");
    sheet->BtnEnter->click();
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(count("TRentList", "where Back=false"), 2);
    EXPECT_EQ(scalarText("select OtherMortagage from TRentOperation"), "学生证");
    // Accepted: the member returns without charge; the header is not saved.
    open(id);
    tick(0);
    tick(1);
    messages->expect(mkConfirm, "出租清单中有您选中的记录,现在是否归还!", true);
    sheet->OtherMortagage->setText("不存");
    sheet->BtnEnter->click();
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(count("TRentList", "where Back=true and RentPrice=0"), 2);
    EXPECT_EQ(scalarText("select BackStatus from TRentOperation"), "是");
    EXPECT_EQ(scalarText("select OtherMortagage from TRentOperation"), "学生证");
    EXPECT_EQ(stockOf("A1"), 7);
}

// A return the engine refuses halfway, or one called off in its settlement, leaves the shop and the ticks as they were
// before "归还选中碟片": the operator can try again.
TEST_F(SheetTest, AFailedOrCalledOffReturnKeepsTheTicksAndChangesNothing) {
    addTitle("A1", "甲", 5);
    addTitle("A2", "乙", 5);
    struct Case {
        const char* how;
        bool both;         // both items ticked: the final return
        bool engineFails;  // else the settlement is closed by its frame
    } cases[] = {
        {"part return, engine refuses the shares", false, true},
        {"final return, engine refuses the shares", true, true},
        {"part settlement closed by its frame", false, false},
        {"final settlement closed by Escape", true, false},
    };
    std::function<void(QDialog*)> settle;
    for (const char* name : {"TRechoningAllFm", "TReckoningFm"})
        dialogs->on(name, [&settle](QDialog* d) { settle(d); });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        const qint64 id = addSheet("零客户", "50");
        addItem(id, "A1", "2", 3);
        addItem(id, "A2", "3", 3);
        open(id);
        tick(0);
        if (c.both) tick(1);
        const QStringList before = snapshot();
        settle = [&c](QDialog* d) {
            if (c.engineFails) {
                d->findChild<QPushButton*>("BtnClose")->click();
            } else if (c.both) {
                QTest::keyClick(d, Qt::Key_Escape);
            } else {
                d->reject();
            }
            if (d->isVisible()) d->reject();
        };
        if (c.engineFails) {
            db::Connection::shared().execEngine(
                "CREATE TEMP TRIGGER injected BEFORE UPDATE OF RentPrice ON TRentList "
                "BEGIN SELECT RAISE(ABORT,'injected'); END");
            messages->expect(kErrorBoxKind, "injected");
        }
        sheet->BtnBack->click();
        if (c.engineFails) db::Connection::shared().execEngine("DROP TRIGGER injected");
        EXPECT_EQ(snapshot(), before);
        EXPECT_TRUE(sheet->isVisible());
        EXPECT_EQ(sheet->Q->recordCount(), 2);
        EXPECT_EQ(sheet->LabelCount->text(), "2");
        auto* model = sheet->dxDBGrid1->model();
        EXPECT_EQ(sheet->dxDBGrid1->shownText(model->indexOfSourceRow(0, 0), 0), "是");
        EXPECT_EQ(sheet->dxDBGrid1->shownText(model->indexOfSourceRow(1, 0), 0), c.both ? "是" : "否");
        // Pressed again with nothing in the way, the same ticks come back.
        settle = [](QDialog* d) { d->findChild<QPushButton*>("BtnClose")->click(); };
        sheet->BtnBack->click();
        EXPECT_EQ(count("TRentList", "where Back=true and Id_RentOperation=" + QString::number(id)), c.both ? 2 : 1);
        EXPECT_EQ(scalarText("select BackStatus from TRentOperation where ID=" + QString::number(id)),
                  c.both ? "是" : "否");
        sheet.reset();
    }
}

TEST_F(SheetTest, ASettlementTakesNoNegativeAmountAndNoMoreFromTheDepositThanItHolds) {
    addTitle("A1", "甲", 5);
    const qint64 id = addSheet("零客户", "10");
    addItem(id, "A1", "2", 3);
    addItem(id, "A1", "2", 3);
    open(id);
    tick(0);
    dialogs->on("TReckoningFm", [this](QDialog* d) {
        auto* dialog = static_cast<TReckoningFm*>(d);
        dialog->FactRentSum->setText("-1");
        messages->expect(mkNotice, "对不起,本次实收租金不能为负数!");
        dialog->BtnClose->click();
        dialog->FactRentSum->setText("12");
        messages->expect(mkNotice, "对不起,本次实收租金超过了剩余押金,不能从押金中扣除!");
        dialog->BtnClose->click();
        EXPECT_TRUE(dialog->isVisible());
        dialog->RadioDirect->setChecked(true);
        dialog->BtnClose->click();
    });
    sheet->BtnBack->click();
    EXPECT_EQ(scalarMoney("select Deposit from TRentOperation"), db::Money::fromInt(10));
    EXPECT_EQ(count("TRentList", "where Back=true and RentPrice=12"), 1);
}

TEST_F(SheetTest, ANegativeOrUnreadableDepositIsRefusedAtTheDepositBox) {
    addTitle("A1", "英雄", 2);
    struct Case {
        const char* deposit;
        const char* message;
    } cases[] = {{"-5", "对不起,押金不能为负数!"}, {"五十", "对不起,你输入的押金金额格式不对!"}};
    open(0);
    sheet->activateWindow();
    lend("A1");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.deposit);
        sheet->CdPrice->setText(c.deposit);
        messages->expect(mkNotice, c.message);
        sheet->BtnEnter->click();
        EXPECT_TRUE(sheet->isVisible());
        EXPECT_EQ(count("TRentOperation"), 0);
        ASSERT_NE(sheet->focusWidget(), nullptr);
        EXPECT_EQ(sheet->focusWidget()->objectName(), "CdPrice");
    }
}

TEST_F(SheetTest, APartNameFindsTheTitleAndTheItemKeepsTheTitlesOwnName) {
    addTitle("D003", "甜蜜蜜", 2, "2");
    open(0);
    sheet->BtnAdd->click();
    enter(sheet->CdName, "甜蜜");
    EXPECT_EQ(sheet->CdName->text(), "甜蜜");
    EXPECT_EQ(sheet->SearchId->text(), "D003");
    sheet->BtnSave->click();
    EXPECT_EQ(scalarText("select CdName_TCdResource from TRentList"), "甜蜜蜜");
}

// Another program on the same file may have lent the last copy since the lookup.
TEST_F(SheetTest, SavingChecksTheStockAgainAndRefusesWhenTheLastCopyIsGone) {
    addTitle("A1", "英雄", 1, "2");
    const qint64 series = addTitle("S1", "天龙八部", 2, "3", "是");
    addVolume(series, "S1-12", "天龙八部", 1);
    dialogs->on("TServalRecordRentFm", [](QDialog* d) { static_cast<TServalRecordRentFm*>(d)->BtnOk->click(); });
    struct Case {
        const char* typed;
        const char* elsewhere;
        const char* message;
    } cases[] = {
        {"A1", "update TCdResource set stock=0 where CountId=\"A1\"", "对不起,此碟片已无库存,不能进行出租操作!"},
        {"S1", "update Sitcom set Stock=0 where CdCountId=\"S1-12\"", "对不起,连续剧的此集已无库存,不能进行出租操作!"},
    };
    open(0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        sheet->BtnAdd->click();
        enter(sheet->SearchId, c.typed);
        exec(c.elsewhere);
        messages->expect(mkNotice, c.message);
        sheet->BtnSave->click();
        EXPECT_TRUE(entryShown());
        EXPECT_EQ(count("TRentList"), 0);
        sheet->BtnCancel->click();
    }
    EXPECT_EQ(stockOf("A1"), 0);
    EXPECT_EQ(volumeStock("S1-12"), 0);
}

TEST_F(SheetTest, TheVolumeListShowsTheVolumeHeldForTheEntryAsTaken) {
    const qint64 series = addTitle("S1", "天龙八部", 2, "3", "是");
    addVolume(series, "S1-12", "天龙八部", 1);
    addVolume(series, "S1-34", "天龙八部", 2);
    open(0);
    sheet->BtnAdd->click();
    dialogs->on("TServalRecordRentFm", [](QDialog* d) { static_cast<TServalRecordRentFm*>(d)->BtnOk->click(); });
    QStringList shown;
    dialogs->on("TServalRecordRentFm", [this, &shown](QDialog* d) {
        auto* list = static_cast<TServalRecordRentFm*>(d);
        for (int row = 0; row < list->Q->recordCount(); ++row)
            shown << list->Q->displayText(row, list->Q->columnIndex("Stock"));
        // The last copy of the held volume is the entry's own already.
        messages->expect(mkNotice, "对不起,连续剧的此集已无库存,不能进行出租操作!");
        list->BtnOk->click();
        list->Q->moveTo(1);
        list->BtnOk->click();
    });
    enter(sheet->SearchId, "S1");
    EXPECT_EQ(sheet->SearchId->text(), "S1-12");
    enter(sheet->SearchId, "S1");
    EXPECT_EQ(shown, (QStringList{"0", "2"}));
    EXPECT_EQ(sheet->SearchId->text(), "S1-34");
    EXPECT_EQ(volumeStock("S1-12"), 1);
    EXPECT_EQ(volumeStock("S1-34"), 2);
}

// A scanner types the number and Enter: the Enter is the lookup's alone, the focus waits on "保存", and a second
// Enter there is the operator's deliberate save.
TEST_F(SheetTest, EnterAfterANumberLooksUpOnceAndTheFocusWaitsWhereTheNextKeyGoes) {
    addTitle("A1", "英雄", 2, "2");
    addTitle("A10", "英雄本色", 2, "3");
    const qint64 series = addTitle("S1", "天龙八部", 2, "3", "是");
    addVolume(series, "S1-12", "天龙八部", 2);
    open(0);
    sheet->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(sheet.get()));
    auto focus = [this] { return sheet->focusWidget() ? sheet->focusWidget()->objectName() : QString(); };

    // One match: filled, the focus on "保存"; Enter there saves, then the focus waits on "新增记录".
    sheet->BtnAdd->click();
    enter(sheet->SearchId, "10");
    EXPECT_EQ(sheet->SearchId->text(), "A10");
    EXPECT_EQ(focus(), "BtnSave");
    EXPECT_EQ(count("TRentList"), 0);
    QTest::keyClick(sheet->BtnSave, Qt::Key_Return);
    EXPECT_EQ(count("TRentList"), 1);
    EXPECT_EQ(focus(), "BtnAdd");

    // Several matches: the Enter that chose in the list does not also save.
    sheet->BtnAdd->click();
    dialogs->on("TSelectcdFm", [](QDialog* d) { static_cast<TSelectcdFm*>(d)->BtnOk->click(); });
    enter(sheet->SearchId, "A1");
    EXPECT_EQ(dialogs->opened("TSelectcdFm"), 1);
    EXPECT_EQ(count("TRentList"), 1);
    EXPECT_EQ(focus(), "BtnSave");
    sheet->BtnCancel->click();

    // A series volume: a second Enter in the number box neither says "not found" nor opens the list again.
    sheet->BtnAdd->click();
    dialogs->on("TServalRecordRentFm", [](QDialog* d) { static_cast<TServalRecordRentFm*>(d)->BtnOk->click(); });
    enter(sheet->SearchId, "S1");
    EXPECT_EQ(sheet->SearchId->text(), "S1-12");
    QTest::keyClick(sheet->SearchId, Qt::Key_Return);
    EXPECT_EQ(dialogs->opened("TServalRecordRentFm"), 1);
    EXPECT_EQ(count("TRentList"), 1);
    // A number changed by hand must be looked up again before it can be saved.
    QTest::keyClick(sheet->SearchId, Qt::Key_Backspace);
    EXPECT_EQ(sheet->RentPrice->text(), "");
}

TEST_F(SheetTest, AfterARefusedNewItemDeleteFollowsTheListAndFindStaysAtHand) {
    const qint64 id = addSheet("会员", "0", "");
    addItem(id, "A1", "0", 1);
    addItem(id, "A2", "0", 1);
    open(id);
    messages->expect(mkNotice, "请你输入的租借人为会员,请输入其会员ID号!");
    sheet->BtnAdd->click();
    EXPECT_FALSE(sheet->BtnDel->isEnabled());
    EXPECT_TRUE(sheet->findmember->isVisible());
    EXPECT_TRUE(sheet->findmember->isEnabled());
    sheet->Q->moveTo(1);
    EXPECT_TRUE(sheet->BtnDel->isEnabled());
}

TEST_F(SheetTest, DeletingTheOnlyItemAsksFirstAndASheetKeptOpenEmptyGoesWhenTheDialogCloses) {
    addTitle("A1", "英雄", 2);
    const qint64 id = addSheet("零客户", "50");
    addItem(id, "A1", "2", 1);
    open(id);
    messages->expect(mkConfirm, "注意:此操作会删除该光盘出租记录,是否继续?", true);
    // Asked before anything is written.
    messages->expect(mkConfirm,
                     "此笔业务中只有这一项出租记录,将它删除后,若不再新增其它出租记录请点击确定,若要继续出租请点击取消.",
                     false);
    sheet->BtnDel->click();
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(count("TRentList"), 0);
    EXPECT_EQ(stockOf("A1"), 3);
    // Confirming a sheet without items is refused; closing it drops the empty sheet.
    messages->expect(mkNotice, "出租清单中必须有一个以上的出租记录!");
    sheet->BtnEnter->click();
    EXPECT_EQ(count("TRentOperation"), 1);
    sheet->BtnEnd->click();
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(count("TRentOperation"), 0);
}

}  // namespace
