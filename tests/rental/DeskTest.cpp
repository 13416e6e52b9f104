#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/TProjectMainFm.h"
#include "app/Views.h"
#include "rental/RentalTestSupport.h"
#include "rental/TCdRentBackFm.h"
#include "rental/TCdRentListFm.h"
#include "rental/TQuickSearchFm.h"
#include "ui/DataGrid.h"

using rental_tests::ShopTest;

namespace {

const QString kNotFound = QStringLiteral("对不起，没有查找到该笔业务,请你简化查询条件!");

class DeskTest : public ShopTest {
protected:
    TCdRentBackFm* desk() {
        if (!mainWindow) startViews();
        return views().cdRentBack;
    }
    QStringList listed() {
        QStringList ids;
        db::Query* q = desk()->Q;
        for (int row = 0; row < q->recordCount(); ++row) ids << q->displayText(row, q->columnIndex("ID"));
        return ids;
    }
    void quickSearch(const QString& number, const QString& name = {}, const QString& first = {},
                     const QString& last = {}) {
        typed_ = {number, name, first, last};
        if (!searchScripted_) {
            dialogs->on("TQuickSearchFm", [this](QDialog* d) {
                auto* search = static_cast<TQuickSearchFm*>(d);
                search->idvalue->setText(typed_[0]);
                search->namevalue->setText(typed_[1]);
                search->Datevalue->setText(typed_[2]);
                search->DatevalueEnd->setText(typed_[3]);
                search->BtnEnter->click();
            });
            searchScripted_ = true;
        }
        desk()->QuickBack->click();
    }
    QStringList typed_;
    bool searchScripted_ = false;
};

TEST_F(DeskTest, AnEmptyShopShowsNoSheetsAndOnlyTheNewSheetButton) {
    EXPECT_EQ(desk()->RecordCount->text(), "0条");
    EXPECT_EQ(desk()->NotBackCount->text(), "0条");
    EXPECT_EQ(desk()->DisplayLabel->text(), "[全部未归还记录]");
    EXPECT_TRUE(desk()->BtnAddNew->isEnabled());
    EXPECT_FALSE(desk()->BtnAddOld->isEnabled());
    EXPECT_FALSE(desk()->QuickBack->isEnabled());
}

TEST_F(DeskTest, OpenSheetsAreListedWithTheItemsOfTheSelectedOne) {
    const qint64 open1 = addSheet("零客户", "50");
    addItem(open1, "A1", "2", 1);
    addItem(open1, "A2", "2", 1, true);
    const qint64 open2 = addSheet("会员", "0", "M1");
    addItem(open2, "A3", "0", 1);
    exec("update TRentOperation set BackStatus=\"是\" where ID=" + QString::number(addSheet("零客户", "50")));
    EXPECT_EQ(listed(), (QStringList{QString::number(open1), QString::number(open2)}));
    EXPECT_EQ(desk()->RecordCount->text(), "2条");
    EXPECT_EQ(desk()->NotBackCount->text(), "2条");
    EXPECT_EQ(desk()->OperationId->text(), QString::number(open1));
    EXPECT_EQ(desk()->SubQ->recordCount(), 2);
    EXPECT_EQ(desk()->SubQ->field("backvalue").asString(), "否");
    EXPECT_TRUE(desk()->BtnAddOld->isEnabled());
    desk()->Q->moveTo(1);
    EXPECT_EQ(desk()->OperationId->text(), QString::number(open2));
    EXPECT_EQ(desk()->SubQ->recordCount(), 1);
}

TEST_F(DeskTest, TheViewMenuFiltersTheSheets) {
    const qint64 walkOpen = addSheet("零客户", "50");
    const qint64 memberOpen = addSheet("会员", "0", "M1");
    const qint64 walkDone = addSheet("零客户", "50");
    exec("update TRentOperation set BackStatus=\"是\" where ID=" + QString::number(walkDone));
    const QString a = QString::number(walkOpen), b = QString::number(memberOpen), c = QString::number(walkDone);
    struct Case {
        QAction* action;
        const char* label;
        QStringList ids;
    } cases[] = {
        {desk()->MenuAll, "[所有出租记录]", {a, b, c}},    {desk()->MenuBack, "[全部归还记录]", {c}},
        {desk()->MenuNotBack, "[全部未归还记录]", {a, b}}, {desk()->MenuWalkIn, "[零客户出租记录]", {a, c}},
        {desk()->MenuMember, "[会员出租记录]", {b}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        c.action->trigger();
        EXPECT_EQ(desk()->DisplayLabel->text(), c.label);
        EXPECT_EQ(listed(), c.ids);
    }
    // Every settled sheet refuses to be continued.
    desk()->MenuBack->trigger();
    messages->expect(mkNotice, "对不起，你不能对已归还完的出租业务进行继续出租或归还操作！.");
    desk()->BtnAddOld->click();
    EXPECT_EQ(dialogs->opened("TCdRentListFm"), 0);
    EXPECT_EQ(desk()->RecordCount->text(), "2条");
}

TEST_F(DeskTest, SettledRowsAreStruckThroughInRedItalics) {
    addSheet("零客户", "50");
    exec("update TRentOperation set BackStatus=\"是\" where ID=" + QString::number(addSheet("零客户", "50")));
    desk()->MenuAll->trigger();
    auto* model = desk()->GridMain->model();
    const QStyleOptionViewItem open = desk()->GridMain->cellStyle(model->indexOfSourceRow(0, 1));
    const QStyleOptionViewItem settled = desk()->GridMain->cellStyle(model->indexOfSourceRow(1, 1));
    EXPECT_FALSE(open.font.strikeOut());
    EXPECT_TRUE(settled.font.strikeOut());
    EXPECT_TRUE(settled.font.italic());
    EXPECT_EQ(settled.palette.color(QPalette::Text), QColor(Qt::red));
    // The striping stays underneath.
    EXPECT_NE(settled.backgroundBrush.color(), open.backgroundBrush.color());
}

TEST_F(DeskTest, ContinuingASheetShowsTheBareCountOfTheListAfterwards) {
    const qint64 id = addSheet("零客户", "50");
    addItem(id, "A1", "2", 1);
    addSheet("零客户", "50");
    desk()->MenuAll->trigger();
    dialogs->on("TCdRentListFm", [id](QDialog* d) {
        EXPECT_EQ(CurrentRentOperationId, id);
        static_cast<TCdRentListFm*>(d)->BtnEnter->click();
    });
    Q_EMIT desk()->GridMain->rowDoubleClicked();
    EXPECT_EQ(dialogs->opened("TCdRentListFm"), 1);
    EXPECT_EQ(desk()->RecordCount->text(), "2");
    EXPECT_EQ(desk()->DisplayLabel->text(), "[所有出租记录]");
}

TEST_F(DeskTest, QuickSearchListsASheetOncePerMatchingItemAndFallsBackWhenNothingMatches) {
    const qint64 a = addSheet("零客户", "50");
    addItem(a, "A1", "2", 1);
    addItem(a, "A1", "2", 1);
    const qint64 b = addSheet("零客户", "50");
    addItem(b, "B2", "2", 5);
    quickSearch("a1");
    EXPECT_EQ(listed(), (QStringList{QString::number(a), QString::number(a)}));
    EXPECT_EQ(desk()->DisplayLabel->text(), "[全部未归还记录]");
    // Dates alone are enough; they bound the lending day.
    quickSearch({}, {}, "2026-12-04", "2026-12-06");
    EXPECT_EQ(listed(), (QStringList{QString::number(b)}));
    // A typed wildcard keeps its meaning.
    quickSearch("?2");
    EXPECT_EQ(listed(), (QStringList{QString::number(b)}));
    messages->expect(mkNotice, kNotFound);
    quickSearch("\"zz");
    EXPECT_EQ(listed(), (QStringList{QString::number(a), QString::number(b)}));
}

TEST_F(DeskTest, QuickSearchRefusesIncompleteInputAndStaysOpen) {
    addSheet("零客户", "50");
    struct Case {
        const char* number;
        const char* first;
        const char* last;
        const char* message;
    } cases[] = {
        {"A1", "2026-12-01", "", "您必须同时输入开始时间和结束时间,或者两者均不输入!"},
        {"", "", "2026-12-01", "您必须同时输入开始时间和结束时间,或者两者均不输入!"},
        {"", "2026-13-01", "2026-12-01", "对不起,你输入的时间信息格式不对!"},
        {"", "", "", "对不起,你未输入任何有关碟片信息!"},
    };
    const Case* current = nullptr;
    bool stayed = false;
    dialogs->on("TQuickSearchFm", [&](QDialog* d) {
        auto* search = static_cast<TQuickSearchFm*>(d);
        search->idvalue->setText(current->number);
        search->Datevalue->setText(current->first);
        search->DatevalueEnd->setText(current->last);
        messages->expect(mkNotice, current->message);
        search->BtnEnter->click();
        stayed = search->isVisible();
        search->BtnCancel->click();
    });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        current = &c;
        stayed = false;
        desk()->QuickBack->click();
        EXPECT_TRUE(stayed);
    }
}

TEST_F(DeskTest, TheItemsGridIsNamedAndASelectedSettledRowStaysReadable) {
    ASSERT_NE(desk()->findChild<ui::DataGrid*>("dxDBGrid1"), nullptr);
    EXPECT_EQ(desk()->dxDBGrid1->objectName(), "dxDBGrid1");
    exec("update TRentOperation set BackStatus=\"是\" where ID=" + QString::number(addSheet("零客户", "50")));
    desk()->MenuAll->trigger();
    const QModelIndex settled = desk()->GridMain->model()->indexOfSourceRow(0, 1);
    const QStyleOptionViewItem selected = desk()->GridMain->delegate()->cellStyle(settled, true);
    EXPECT_EQ(selected.palette.color(QPalette::HighlightedText), QColor(Qt::red));
    // Red on the selection's ground must stand out: the ground is light.
    EXPECT_GT(selected.palette.color(QPalette::Highlight).lightness(), 180);
    EXPECT_TRUE(selected.font.strikeOut());
}

TEST_F(DeskTest, TheLabelNamesTheListWheneverTheProgramResetsIt) {
    const qint64 a = addSheet("零客户", "50");
    addItem(a, "A1", "2", 1);
    desk()->MenuAll->trigger();
    // A quick search that finds nothing brings the open sheets back, and the label says so.
    messages->expect(mkNotice, kNotFound);
    quickSearch("zz");
    EXPECT_EQ(desk()->DisplayLabel->text(), "[全部未归还记录]");
    // One that finds leaves the label as the operator chose it.
    desk()->MenuWalkIn->trigger();
    quickSearch("A1");
    EXPECT_EQ(desk()->DisplayLabel->text(), "[零客户出租记录]");
    // Reset from outside (after a backup or a restore): the open sheets under their label, and the counters.
    desk()->MenuAll->trigger();
    desk()->showOpenSheets();
    EXPECT_EQ(desk()->DisplayLabel->text(), "[全部未归还记录]");
    EXPECT_EQ(listed(), (QStringList{QString::number(a)}));
    EXPECT_EQ(desk()->NotBackCount->text(), "1条");
}

}  // namespace
