#include <QApplication>
#include <QTest>

#include "inventory/CatalogueFixture.h"

using inventory_tests::ButtonStates;
using inventory_tests::CatalogueTest;

namespace {

const QString kMergeQuestion = QStringLiteral(
    "系统在你所输记录中查到有相同片名的记录，请确认是否是同一部片子,"
    "是请点确认，系统自动增加库存，否请点击取消，系统再新增"
    "一个记录！");

TEST_F(CatalogueTest, OpensWithAllTitlesSinglesFirstAndRecordMode) {
    addTitle("S1", "连续剧甲", "是");
    addTitle("A1", "单片乙");
    fm->Q->reopen(QStringLiteral("select * from TCdResource"));
    EXPECT_EQ(fm->DisplayLabel->text(), QStringLiteral("[所有碟片记录]"));
    QStringList captions;
    for (const ui::GridColumn& c : fm->GridMain->model()->gridColumns()) captions << c.caption;
    EXPECT_EQ(captions.join(u','), QStringLiteral("光盘编号,光盘名称,购买价格,每套盘片数,购买总套数,当前库存,出租价格,"
                                                  "连续剧,碟片位置"));
    // Singles before series, whatever the order in the table.
    const QModelIndex firstRow = fm->GridMain->model()->index(0, 0);
    EXPECT_EQ(fm->GridMain->model()->data(firstRow, Qt::DisplayRole).toString(), QStringLiteral("A1"));
    EXPECT_FALSE(fm->LabelRentPrice->isVisible());
    EXPECT_TRUE(fm->CdRentPrice->isVisible());
    EXPECT_FALSE(fm->CdRentStandard->isEnabled());
    EXPECT_TRUE(fm->CdCountId->isEnabled());
    EXPECT_FALSE(fm->CdSaleDate->isEnabled());
    EXPECT_FALSE(fm->CdDiscardDate->isEnabled());
    EXPECT_EQ(fm->CdType1->count(), 1);
    EXPECT_EQ(fm->CdType1->itemText(0), QStringLiteral("其它类型"));
    EXPECT_EQ(buttons(), (ButtonStates{true, true, true, false, true, false}));
}

TEST_F(CatalogueTest, ReloadTypeChoicesTakesNewTypes) {
    exec(QStringLiteral("insert into TCdType (CdTypes) values (\"动作片\")"));
    fm->reloadTypeChoices();
    ASSERT_EQ(fm->CdType1->count(), 2);
    EXPECT_EQ(fm->CdType1->itemText(1), QStringLiteral("动作片"));
}

TEST_F(CatalogueTest, BuyPresetsTheNewTitleAndListsStandards) {
    exec(QStringLiteral("insert into TChargeStandard (ChargeName, RentSum) values (\"新片\", 3.5)"));
    fm->BtnBuy->click();
    EXPECT_EQ(fm->Q->state(), db::Query::Insert);
    EXPECT_EQ(fm->CdType1->text(), QStringLiteral("其它类型"));
    EXPECT_EQ(fm->CdPerCount->value(), 2);
    EXPECT_EQ(fm->CdCount->value(), 1);
    EXPECT_EQ(fm->CdRegion->text(), QStringLiteral("香港"));
    EXPECT_EQ(fm->CdType2->text(), QStringLiteral("vcd"));
    EXPECT_EQ(fm->CdSitcom->text(), QStringLiteral("否"));
    EXPECT_EQ(fm->CdType3->text(), QStringLiteral("碟版"));
    EXPECT_EQ(fm->CdBuyDate->text(), QStringLiteral("2026-12-10"));
    EXPECT_EQ(fm->CdPrice->text(), QStringLiteral("0"));
    ASSERT_EQ(fm->CdRentStandard->count(), 2);
    EXPECT_EQ(fm->CdRentStandard->itemText(0), QStringLiteral("默认标准2元"));
    EXPECT_EQ(fm->CdRentStandard->itemText(1), QStringLiteral("新片3.5元"));
    EXPECT_TRUE(fm->CdRentStandard->currentText().isEmpty());
    EXPECT_TRUE(fm->CdRentStandard->isEnabled());
    EXPECT_TRUE(fm->LabelRentPrice->isVisible());
    EXPECT_FALSE(fm->CdRentPrice->isVisible());
    EXPECT_EQ(buttons(), (ButtonStates{false, false, false, true, true, true}));

    chooseStandard(1);
    EXPECT_EQ(fm->LabelRentPrice->text(), QStringLiteral("3.5元"));
}

TEST_F(CatalogueTest, SavingANewSingleTitleWritesStockAndRentPrice) {
    exec(QStringLiteral("insert into TChargeStandard (ChargeName, RentSum) values (\"新片\", 3.5)"));
    fm->BtnBuy->click();
    fm->CdCountId->setFieldText("A100");
    fm->CdName->setFieldText("英雄");
    fm->CdPrice->setFieldText("25.5");
    fm->CdCount->setFieldText("3");
    chooseStandard(1);
    fm->BtnSave->click();

    ASSERT_EQ(count("TCdResource"), 1);
    EXPECT_EQ(scalarInt("select stock from TCdResource"), 3);
    EXPECT_EQ(scalarInt("select BuySeriesCount from TCdResource"), 3);
    EXPECT_EQ(scalarInt("select PerPieces from TCdResource"), 2);
    EXPECT_EQ(scalarMoney("select RentPrice from TCdResource"), db::Money::fromDouble(3.5));
    EXPECT_EQ(scalarMoney("select BuyPrice from TCdResource"), db::Money::fromDouble(25.5));
    EXPECT_EQ(scalarText("select BuyDate from TCdResource"), QStringLiteral("2026-12-10"));
    EXPECT_EQ(scalarText("select CdDvdOrVcd from TCdResource"), QStringLiteral("vcd"));
    EXPECT_EQ(scalarText("select Types from TCdResource"), QStringLiteral("其它类型"));
    EXPECT_EQ(scalarText("select SitComYesOrNo from TCdResource"), QStringLiteral("否"));
    EXPECT_EQ(fm->Q->state(), db::Query::Browse);
    EXPECT_EQ(fm->CdRentStandard->currentText(), QStringLiteral("新片"));
    EXPECT_EQ(buttons(), (ButtonStates{true, true, true, false, true, false}));
}

TEST_F(CatalogueTest, ChecksRunInOrderWithTheirMessages) {
    addTitle("A1", "已有");
    struct Case {
        const char* number;
        const char* name;
        bool standard;
        const char* message;
        const char* focus;
    } cases[] = {
        {"", "", false, "请输入该光盘的编号,已保证光盘资料数据录入的完整性.", "CdCountId"},
        {"  ", "片", true, "请输入该光盘的编号,已保证光盘资料数据录入的完整性.", "CdCountId"},
        {"A1", "", false, "对不起,你已经输入过这样的编号,请重新输入一个编号.", "CdCountId"},
        {"a1", "片", true, "对不起,你已经输入过这样的编号,请重新输入一个编号.", "CdCountId"},
        {"B1", "", false, "请输入该光盘的名称,已保证光盘资料数据录入的完整性.", "CdName"},
        {"B1", "片", false, "请输入该光盘的出租价格,已保证出租时候的自动计算.", nullptr},
    };
    fm->window()->activateWindow();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        fm->BtnBuy->click();
        fm->CdCountId->setFieldText(QString::fromUtf8(c.number));
        fm->CdName->setFieldText(QString::fromUtf8(c.name));
        if (c.standard) chooseStandard();
        messages->expect(mkNotice, QString::fromUtf8(c.message));
        fm->BtnSave->click();
        // Nothing written, the row stays in editing with what was typed.
        EXPECT_EQ(count("TCdResource"), 1);
        EXPECT_EQ(fm->Q->state(), db::Query::Insert);
        EXPECT_EQ(fm->CdCountId->text(), QString::fromUtf8(c.number));
        if (c.focus && QApplication::focusWidget()) {
            EXPECT_EQ(QApplication::focusWidget()->objectName(), QString::fromUtf8(c.focus));
        }
        fm->BtnCancel->click();
    }
}

TEST_F(CatalogueTest, QuotesInNumbersAndTitlesAreOrdinaryText) {
    startPurchase("A\"1'", "他说\"好\"'吧'");
    fm->BtnSave->click();
    EXPECT_EQ(scalarText("select CountId from TCdResource"), QStringLiteral("A\"1'"));
    startPurchase("A\"1'", "别的");
    messages->expect(mkNotice, QStringLiteral("对不起,你已经输入过这样的编号,请重新输入一个编号."));
    fm->BtnSave->click();
    fm->BtnCancel->click();
    startPurchase("B2", "他说\"好\"'吧'");
    messages->expect(mkConfirm, kMergeQuestion, true);
    fm->BtnSave->click();
    EXPECT_EQ(count("TCdResource"), 1);
    EXPECT_EQ(scalarInt("select stock from TCdResource"), 2);
}

TEST_F(CatalogueTest, SameTitleMergesOnOkAndAddsARowOnCancel) {
    addTitle("A1", "英雄", "否", 4);
    startPurchase("A2", "英雄", 2, 3);
    messages->expect(mkConfirm, kMergeQuestion, true);
    fm->BtnSave->click();
    EXPECT_EQ(count("TCdResource"), 1);
    EXPECT_EQ(scalarInt("select BuySeriesCount from TCdResource where CountId=\"A1\""), 7);
    EXPECT_EQ(scalarInt("select stock from TCdResource where CountId=\"A1\""), 7);
    EXPECT_EQ(fm->Q->state(), db::Query::Browse);
    EXPECT_EQ(fm->Q->recordCount(), 1);
    EXPECT_EQ(fm->Q->field("stock").asInteger(), 7);

    startPurchase("A2", "英雄", 2, 3);
    messages->expect(mkConfirm, kMergeQuestion, false);
    fm->BtnSave->click();
    EXPECT_EQ(count("TCdResource"), 2);
    EXPECT_EQ(scalarInt("select stock from TCdResource where CountId=\"A2\""), 3);
    EXPECT_EQ(scalarInt("select stock from TCdResource where CountId=\"A1\""), 7);
}

TEST_F(CatalogueTest, EachMatchIsOfferedInTurnAndSeriesAreNotMatched) {
    addTitle("A1", "英雄", "否", 1);
    addTitle("A2", "英雄", "否", 1);
    addTitle("S1", "英雄", "是", 1);
    startPurchase("A3", "英雄", 2, 2);
    messages->expect(mkConfirm, kMergeQuestion, false);
    messages->expect(mkConfirm, kMergeQuestion, true);
    fm->BtnSave->click();
    EXPECT_EQ(count("TCdResource"), 3);
    EXPECT_EQ(scalarInt("select stock from TCdResource where CountId=\"A1\""), 1);
    EXPECT_EQ(scalarInt("select stock from TCdResource where CountId=\"A2\""), 3);
    EXPECT_EQ(scalarInt("select stock from TCdResource where CountId=\"S1\""), 1);
}

TEST_F(CatalogueTest, EditingKeepsItsOwnNumberAndLocksTheSeriesFlag) {
    addTitle("A1", "英雄", "否", 4);
    addTitle("A2", "十面埋伏", "否", 2);
    select("A1");
    EXPECT_EQ(fm->CdRentStandard->currentText(), QStringLiteral("默认标准"));
    fm->CdName->setFieldText("英雄 珍藏版");
    fm->CdCount->setFieldText("9");
    EXPECT_EQ(buttons(), (ButtonStates{false, true, true, true, true, true}));
    fm->BtnSave->click();
    EXPECT_EQ(scalarText("select CdName from TCdResource where CountId=\"A1\""), QStringLiteral("英雄 珍藏版"));
    // Editing the sets bought does not move the stock.
    EXPECT_EQ(scalarInt("select BuySeriesCount from TCdResource where CountId=\"A1\""), 9);
    EXPECT_EQ(scalarInt("select stock from TCdResource where CountId=\"A1\""), 4);
    EXPECT_FALSE(fm->CdSitcom->isEnabled());

    fm->CdCountId->setFieldText("A2");
    messages->expect(mkNotice, QStringLiteral("对不起,你已经输入过这样的编号,请重新输入一个编号."));
    fm->BtnSave->click();
    EXPECT_EQ(fm->Q->state(), db::Query::Edit);
    fm->BtnCancel->click();
    EXPECT_EQ(scalarText("select CountId from TCdResource where CdName=\"英雄 珍藏版\""), QStringLiteral("A1"));
}

TEST_F(CatalogueTest, EditMergeAddsTheEditedSetsToTheOtherTitleAndDropsTheEdit) {
    addTitle("A1", "英雄", "否", 4);
    addTitle("A2", "英雄2", "否", 2);
    select("A2");
    fm->CdName->setFieldText("英雄");
    messages->expect(mkConfirm, kMergeQuestion, true);
    fm->BtnSave->click();
    EXPECT_EQ(scalarInt("select stock from TCdResource where CountId=\"A1\""), 6);
    EXPECT_EQ(scalarInt("select BuySeriesCount from TCdResource where CountId=\"A1\""), 6);
    EXPECT_EQ(scalarText("select CdName from TCdResource where CountId=\"A2\""), QStringLiteral("英雄2"));
    EXPECT_EQ(fm->Q->state(), db::Query::Browse);
}

TEST_F(CatalogueTest, CancelDropsAnEditAndDeleteDuringAnEditDeletesTheSavedRow) {
    addTitle("A1", "英雄", "否", 4);
    addTitle("A2", "十面埋伏", "否", 2);
    select("A1");
    fm->CdName->setFieldText("改名");
    fm->BtnCancel->click();
    EXPECT_EQ(fm->CdName->text(), QStringLiteral("英雄"));
    EXPECT_EQ(scalarText("select CdName from TCdResource where CountId=\"A1\""), QStringLiteral("英雄"));
    EXPECT_EQ(buttons(), (ButtonStates{true, true, true, false, true, false}));

    select("A2");
    fm->CdName->setFieldText("");
    messages->expect(mkConfirm, QStringLiteral("注意:此操作会删除该条光盘资料数据,是否继续?"), true);
    fm->BtnDelete->click();
    EXPECT_EQ(count("TCdResource"), 1);
    EXPECT_EQ(count("TCdResource", "where CountId=\"A2\""), 0);
}

TEST_F(CatalogueTest, TitleWithoutMatchingStandardCannotBeEdited) {
    addTitle("A1", "英雄", "否", 4, "10", "2026-12-01", "7");
    select("A1");
    EXPECT_TRUE(fm->CdRentStandard->currentText().isEmpty());
    fm->CdName->setFieldText("英雄2");
    messages->expect(mkNotice, QStringLiteral("请输入该光盘的出租价格,已保证出租时候的自动计算."));
    fm->BtnSave->click();
    EXPECT_EQ(scalarText("select CdName from TCdResource"), QStringLiteral("英雄"));
}

TEST_F(CatalogueTest, DeleteAsksAndTakesASeriesVolumesWithIt) {
    messages->expect(mkNotice, QStringLiteral("对不起,你光盘资料库中没有记录,你不能进行删除操作."));
    fm->BtnDelete->click();

    const qint64 series = addTitle("S1", "连续剧", "是", 2);
    const qint64 other = addTitle("S2", "别的连续剧", "是", 2);
    addVolume(series, "S1-12", "连续剧", 2);
    addVolume(series, "S1-34", "连续剧", 2);
    addVolume(other, "S2-12", "别的连续剧", 2);
    exec("insert into CdSalesDiscard (CdId, SaleCount, CdSalePrice, CdSaleOrDiscard) values (" +
         QString::number(series) + ", 1, 5, 0)");
    select("S1");
    const QString question = QStringLiteral("注意:此操作会删除该条光盘资料数据,是否继续?");
    messages->expect(mkConfirm, question, false);
    fm->BtnDelete->click();
    EXPECT_EQ(count("TCdResource"), 2);

    messages->expect(mkConfirm, question, true);
    fm->BtnDelete->click();
    EXPECT_EQ(count("TCdResource"), 1);
    EXPECT_EQ(count("Sitcom"), 1);
    EXPECT_EQ(count("Sitcom", "where CdId=" + QString::number(other)), 1);
    EXPECT_EQ(count("CdSalesDiscard"), 1);
    EXPECT_EQ(fm->Q->recordCount(), 1);
    EXPECT_TRUE(fm->BtnSale->isEnabled());
    EXPECT_TRUE(fm->BtnDepose->isEnabled());
}

TEST_F(CatalogueTest, DeleteDuringAPurchaseOnlyDropsTheUnsavedRow) {
    addTitle("A1", "英雄");
    startPurchase("A2", "新片");
    messages->expect(mkConfirm, QStringLiteral("注意:此操作会删除该条光盘资料数据,是否继续?"), true);
    fm->BtnDelete->click();
    EXPECT_EQ(count("TCdResource"), 1);
    EXPECT_EQ(fm->Q->state(), db::Query::Browse);
}

TEST_F(CatalogueTest, ViewMenuFilters) {
    const qint64 sold = addTitle("A1", "卖过", "否", 3, "10", "2026-12-05");
    const qint64 discarded = addTitle("A2", "废过", "否", 3, "10", "2026-11-01");
    addTitle("S1", "连续剧", "是", 3, "10", "2026-12-03");
    for (int i = 0; i < 2; ++i)
        exec("insert into CdSalesDiscard (CdId, SaleCount, CdSalePrice, CdSaleOrDiscard) values (" +
             QString::number(discarded) + ", 1, 5, 1)");
    exec("insert into CdSalesDiscard (CdId, SaleCount, CdSalePrice, CdSaleOrDiscard) values (" + QString::number(sold) +
         ", 1, 5, 0)");
    struct Case {
        QAction* TCdResourceFm::*entry;
        const char* label;
        QStringList numbers;  // in query order
    } cases[] = {
        {&TCdResourceFm::MenuByTime, "[按时间先后显示碟片]", {"A2", "S1", "A1"}},
        {&TCdResourceFm::MenuAll, "[显示所有碟片]", {"A1", "A2", "S1"}},
        {&TCdResourceFm::MenuSold, "[销售记录]", {"A1"}},
        {&TCdResourceFm::MenuDiscarded, "[作废记录]", {"A2"}},
        {&TCdResourceFm::MenuSingles, "[不是连续剧的碟片]", {"A1", "A2"}},
        {&TCdResourceFm::MenuSeries, "[是连续剧的碟片]", {"S1"}},
    };
    QStringList entries;
    for (QAction* action : fm->MenuView->actions()) entries << (action->isSeparator() ? "-" : action->text());
    EXPECT_EQ(entries.join(u'|'),
              QStringLiteral("按入库时间先后显示碟片记录|显示所有库存碟片记录|-|显示有销售记录的碟片"
                             "记录|显示有作废记录的碟片记录|-|显示所有不是连续剧的碟片记录|显示所"
                             "有是连续剧碟片的记录|-|条件查询"));
    EXPECT_TRUE(fm->MenuAll->isChecked());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        (fm->*(c.entry))->trigger();
        EXPECT_EQ(fm->DisplayLabel->text(), QString::fromUtf8(c.label));
        QStringList numbers;
        for (fm->Q->first(); !fm->Q->eof(); fm->Q->next()) numbers << fm->Q->field("CountId").asString();
        EXPECT_EQ(numbers, c.numbers);
    }
}

TEST_F(CatalogueTest, ButtonTableThroughPurchaseSaleAndCancel) {
    addTitle("A1", "英雄", "否", 3);
    select("A1");
    EXPECT_EQ(buttons(), (ButtonStates{true, true, true, false, true, false}));
    fm->BtnBuy->click();
    EXPECT_EQ(buttons(), (ButtonStates{false, false, false, true, true, true}));
    fm->BtnCancel->click();
    EXPECT_EQ(buttons(), (ButtonStates{true, true, true, false, true, false}));
    EXPECT_TRUE(fm->CdCountId->isEnabled());  // the mode stays

    fm->BtnSale->click();
    EXPECT_EQ(buttons(), (ButtonStates{false, false, false, true, false, true}));
    fm->BtnCancel->click();
    EXPECT_EQ(buttons(), (ButtonStates{true, true, true, false, true, false}));
    EXPECT_TRUE(fm->CdSaleDate->isEnabled());
    EXPECT_FALSE(fm->CdCountId->isEnabled());

    fm->BtnDepose->click();
    fm->CdDiscardCount->setValue(1);
    fm->BtnSave->click();
    // A single title's stock moves through the main query, which ends browsing.
    EXPECT_EQ(buttons(), (ButtonStates{true, true, true, false, false, false}));

    fm->BtnBuy->click();
    EXPECT_TRUE(fm->CdCountId->isEnabled());
    EXPECT_FALSE(fm->CdDiscardDate->isEnabled());
    fm->CdCountId->setFieldText("A9");
    fm->CdName->setFieldText("新片");
    chooseStandard();
    fm->BtnSave->click();
    EXPECT_EQ(buttons(), (ButtonStates{true, true, true, false, false, false}));
}

TEST_F(CatalogueTest, EnterClicksAFocusedButtonAndOtherwiseMovesOn) {
    addTitle("A1", "英雄", "否", 3);
    fm->window()->activateWindow();
    QApplication::setActiveWindow(fm->window());
    fm->BtnBuy->setFocus();
    if (QApplication::focusWidget() != fm->BtnBuy) GTEST_SKIP() << "no focus on this platform";
    QTest::keyClick(fm->BtnBuy, Qt::Key_Return);
    EXPECT_EQ(fm->Q->state(), db::Query::Insert);
    EXPECT_EQ(QApplication::focusWidget(), fm->CdCountId);
    QTest::keyClick(fm->CdCountId, Qt::Key_Return);
    EXPECT_NE(QApplication::focusWidget(), fm->CdCountId);
    EXPECT_TRUE(fm->isAncestorOf(QApplication::focusWidget()));
    EXPECT_EQ(fm->Q->state(), db::Query::Insert);
}

}  // namespace

namespace {

class FirstDockingTest : public testing_support::AppTest {};

TEST_F(FirstDockingTest, TheListIsReadAgainWhenTheCatalogueIsFirstOpened) {
    startViews();
    exec("insert into TCdResource (CountId, CdName, SitComYesOrNo) values (\"A1\", \"英雄\", \"否\")");
    TCdResourceFm* fm = views().cdResource;
    EXPECT_EQ(fm->Q->recordCount(), 0);
    mainWindow->selectModule(Module::CdResource);
    EXPECT_EQ(fm->Q->recordCount(), 1);
    fm->MenuSeries->trigger();
    mainWindow->selectModule(Module::CdRent);
    mainWindow->selectModule(Module::CdResource);
    // Docked again it comes back as it was left.
    EXPECT_EQ(fm->Q->recordCount(), 0);
    EXPECT_EQ(fm->DisplayLabel->text(), QStringLiteral("[是连续剧的碟片]"));
}

}  // namespace
