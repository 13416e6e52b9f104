#include <QSpinBox>

#include "inventory/CatalogueFixture.h"
#include "inventory/TSitcomFm.h"
#include "rental/TServalRecordRentFm.h"

using inventory_tests::ButtonStates;
using inventory_tests::CatalogueTest;

namespace {

const QString kSeriesNotice = QStringLiteral("此光盘属于连续剧，为方便出租为每集生成一个编号.");
const QString kNoStock = QStringLiteral("对不起,不能执行该项操作!该光盘现已无库存,可能全租出,也可能全销售或报废.");

QStringList volumeRows(testing_support::AppTest& test, qint64 id) {
    (void)test;
    db::Query q;
    q.reopen("select * from Sitcom where CdId=" + QString::number(id) + " order by Id");
    QStringList rows;
    for (q.first(); !q.eof(); q.next())
        rows << q.field("CdCountId").asString() + u' ' + q.field("CdNumber").asString() + u' ' +
                    q.field("CdCountName").asString() + u' ' + q.field("BuySeriesCount").asString() + u'/' +
                    q.field("Stock").asString();
    return rows;
}

class SeriesTest : public CatalogueTest {};

TEST_F(SeriesTest, NewSeriesGetsItsVolumesAndShowsThem) {
    struct Case {
        int discs;
        QStringList units;
    } cases[] = {
        {1, {}},
        {2, {"A8-12 1,2集"}},
        {4, {"A8-12 1,2集", "A8-34 3,4集"}},
        {5, {"A8-12 1,2集", "A8-345 3,4,5集"}},
        {7, {"A8-12 1,2集", "A8-34 3,4集", "A8-567 5,6,7集"}},
        {12, {"A8-12 1,2集", "A8-34 3,4集", "A8-56 5,6集", "A8-78 7,8集", "A8-910 9,10集", "A8-1112 11,12集"}},
    };
    int listed = -1;
    dialogs->on("TSitcomFm", [&](QDialog* d) {
        listed = static_cast<TSitcomFm*>(d)->Q->recordCount();
        static_cast<TSitcomFm*>(d)->BtnClose->click();
    });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.discs);
        exec("delete * from TCdResource");
        exec("delete * from Sitcom");
        fm->Q->refresh();
        listed = -1;
        startPurchase("A8", "天龙八部", c.discs, 2, QStringLiteral("是"));
        messages->expect(mkNotice, kSeriesNotice);
        fm->BtnSave->click();
        const qint64 id = scalarInt("select ID from TCdResource where CountId=\"A8\"");
        QStringList expected;
        for (const QString& unit : c.units) expected << unit + QStringLiteral(" 天龙八部 2/2");
        EXPECT_EQ(volumeRows(*this, id), expected);
        EXPECT_EQ(listed, c.units.size());
        EXPECT_EQ(scalarInt("select stock from TCdResource where ID=" + QString::number(id)), 2);
    }
    EXPECT_EQ(dialogs->opened("TSitcomFm"), 6);
}

TEST_F(SeriesTest, ANewSeriesWrittenByMovingToAnotherRowStillGetsItsVolumes) {
    addTitle("A1", "单片");
    dialogs->on("TSitcomFm", [](QDialog* d) { d->accept(); });
    startPurchase("S9", "射雕", 4, 3, QStringLiteral("是"));
    messages->expect(mkNotice, kSeriesNotice);
    select("A1");
    const qint64 id = scalarInt("select ID from TCdResource where CountId=\"S9\"");
    EXPECT_EQ(volumeRows(*this, id), (QStringList{"S9-12 1,2集 射雕 3/3", "S9-34 3,4集 射雕 3/3"}));
    EXPECT_EQ(dialogs->opened("TSitcomFm"), 1);
    // Later writes of the series do not make volumes again.
    select("S9");
    fm->CdPosition->setFieldText("B架");
    fm->BtnSave->click();
    EXPECT_EQ(count("Sitcom"), 2);
}

TEST_F(SeriesTest, RenamingASeriesRenamesItsVolumes) {
    const qint64 id = addTitle("S1", "旧名", "是", 2);
    const qint64 other = addTitle("S2", "旧名", "是", 2);
    addVolume(id, "S1-12", "旧名", 2);
    addVolume(other, "S2-12", "旧名", 2);
    select("S1");
    fm->CdName->setFieldText("新名");
    fm->BtnSave->click();
    EXPECT_EQ(scalarText("select CdCountName from Sitcom where CdId=" + QString::number(id)), QStringLiteral("新名"));
    EXPECT_EQ(scalarText("select CdCountName from Sitcom where CdId=" + QString::number(other)),
              QStringLiteral("旧名"));
}

TEST_F(SeriesTest, DoubleClickOnASeriesListsItsVolumesReadOnly) {
    const qint64 id = addTitle("S1", "连续剧", "是", 2);
    addVolume(id, "S1-12", "连续剧", 2);
    addVolume(id, "S1-34", "连续剧", 0);
    addTitle("A1", "单片");
    const qint64 longer = addTitle("S10", "另一部", "是", 2);
    addVolume(longer, "S10-12", "另一部", 2);
    const qint64 odd = addTitle("X#[1]*", "怪编号", "是", 2);
    addVolume(odd, "X#[1]*-12", "怪编号", 2);
    addVolume(odd, "X5[1]*-34", "怪编号", 2);
    QStringList shown;
    dialogs->on("TServalRecordRentFm", [&](QDialog* d) {
        auto* list = static_cast<TServalRecordRentFm*>(d);
        EXPECT_EQ(list->LabHead->text(), QStringLiteral("当前连续剧的详细记录如下"));
        EXPECT_EQ(list->BtnOk->text(), QStringLiteral("关闭窗口"));
        EXPECT_TRUE(list->BtnCancel->isHidden());
        for (list->Q->first(); !list->Q->eof(); list->Q->next())
            shown << list->Q->field("CdCountId").asString() + u'/' + list->Q->field("Stock").asString();
        list->BtnOk->click();
    });
    select("A1");
    Q_EMIT fm->GridMain->rowDoubleClicked();
    EXPECT_EQ(dialogs->opened("TServalRecordRentFm"), 0);
    select("S1");
    Q_EMIT fm->GridMain->rowDoubleClicked();
    EXPECT_EQ(dialogs->opened("TServalRecordRentFm"), 1);
    EXPECT_EQ(shown, (QStringList{"S1-12/2", "S1-34/0"}));
    shown.clear();
    select("X#[1]*");
    Q_EMIT fm->GridMain->rowDoubleClicked();
    EXPECT_EQ(shown, (QStringList{"X#[1]*-12/2"}));
    EXPECT_EQ(scalarInt("select sum(Stock) from Sitcom"), 8);
}

TEST_F(SeriesTest, ChooseModeTakesOneVolumeAndRefusesAnEmptyOne) {
    const qint64 id = addTitle("S1", "连续剧", "是", 2);
    addVolume(id, "S1-12", "连续剧", 0);
    addVolume(id, "S1-34", "连续剧", 2);
    dialogs->on("TServalRecordRentFm", [&](QDialog* d) {
        auto* list = static_cast<TServalRecordRentFm*>(d);
        list->Q->first();
        messages->expect(mkNotice, QStringLiteral("对不起,连续剧的此集已无库存,不能进行出租操作!"));
        list->BtnOk->click();
        EXPECT_TRUE(list->isVisible());
        list->Q->next();
        list->BtnOk->click();
    });
    QString number, name;
    EXPECT_EQ(SelectSeriesVolume({}, "连续", TServalRecordRentFm::Mode::Choose, nullptr, &number, &name), 1);
    EXPECT_EQ(number, QStringLiteral("S1-34"));
    EXPECT_EQ(name, QStringLiteral("连续剧"));
    // The rental item takes the volume's stock when it is saved.
    EXPECT_EQ(scalarInt("select Stock from Sitcom where CdCountId=\"S1-34\""), 2);
}

class StockTest : public CatalogueTest {
protected:
    qint64 salesRows(int kind) { return count("CdSalesDiscard", "where CdSaleOrDiscard=" + QString::number(kind)); }
};

TEST_F(StockTest, SellingPartOfASingleTitle) {
    const qint64 id = addTitle("A1", "英雄", "否", 5);
    select("A1");
    fm->BtnSale->click();
    EXPECT_TRUE(fm->CdSaleDate->isEnabled());
    EXPECT_FALSE(fm->CdCountId->isEnabled());
    EXPECT_FALSE(fm->CdDiscardDate->isEnabled());
    EXPECT_FALSE(fm->CdRentStandard->isEnabled());
    EXPECT_EQ(fm->CdSaleDate->text(), QStringLiteral("2026-12-10"));
    EXPECT_EQ(fm->CdSaleCount->value(), 5);
    EXPECT_EQ(fm->CdSalePrice->text(), QStringLiteral("0"));
    fm->CdSaleCount->setValue(2);
    fm->CdSalePrice->setText("8.5");
    fm->BtnSave->click();
    EXPECT_EQ(scalarInt("select stock from TCdResource"), 3);
    ASSERT_EQ(salesRows(0), 1);
    EXPECT_EQ(scalarInt("select CdId from CdSalesDiscard"), id);
    EXPECT_EQ(scalarInt("select SaleCount from CdSalesDiscard"), 2);
    EXPECT_EQ(scalarMoney("select CdSalePrice from CdSalesDiscard"), db::Money::fromDouble(8.5));
    EXPECT_EQ(scalarText("select CdSaleDiscardDate from CdSalesDiscard"), QStringLiteral("2026-12-10 10:30:00"));
    EXPECT_EQ(buttons(), (ButtonStates{true, true, true, false, false, false}));
    // The mode stays, with the values typed.
    EXPECT_TRUE(fm->CdSaleDate->isEnabled());
    EXPECT_EQ(fm->CdSaleCount->value(), 2);
}

TEST_F(StockTest, WriteOffPriceIsThePurchasePriceInWholeYuanOnce) {
    struct Case {
        const char* buyPrice;
        int count;
        double stored;
    } cases[] = {{"12.5", 3, 12}, {"13.5", 1, 14}, {"12.4", 2, 12}, {"0", 1, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.buyPrice);
        exec("delete * from TCdResource");
        exec("delete * from CdSalesDiscard");
        addTitle("A1", "英雄", "否", 5, c.buyPrice);
        select("A1");
        fm->BtnDepose->click();
        EXPECT_TRUE(fm->CdDiscardDate->isEnabled());
        EXPECT_FALSE(fm->CdSaleDate->isEnabled());
        EXPECT_EQ(fm->CdDiscardCount->value(), 5);
        fm->CdDiscardCount->setValue(c.count);
        fm->BtnSave->click();
        EXPECT_EQ(salesRows(1), 1);
        EXPECT_EQ(scalarMoney("select CdSalePrice from CdSalesDiscard"), db::Money::fromDouble(c.stored));
        EXPECT_EQ(scalarInt("select SaleCount from CdSalesDiscard"), c.count);
        EXPECT_EQ(scalarInt("select stock from TCdResource"), 5 - c.count);
    }
}

TEST_F(StockTest, CountsOfZeroOrAboveTheStockAreRefused) {
    const qint64 series = addTitle("S1", "连续剧", "是", 9);
    addVolume(series, "S1-12", "连续剧", 3);
    addVolume(series, "S1-34", "连续剧", 2);
    addTitle("A1", "英雄", "否", 4);
    struct Case {
        const char* number;
        bool sale;
        int count;
        const char* message;
    } cases[] = {
        {"A1", true, 0, "销售套数必须大于0,请重新输入."},
        {"A1", true, 5, "销售套数不能大于该光盘的当前库存(4套),请重新输入."},
        {"A1", false, 0, "作废套数必须大于0,请重新输入."},
        {"A1", false, 5, "作废套数不能大于该光盘的当前库存(4套),请重新输入."},
        {"S1", true, 3, "销售套数不能大于该连续剧每集的最少库存(2套),请重新输入."},
        {"S1", false, 3, "作废套数不能大于该连续剧每集的最少库存(2套),请重新输入."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        select(QString::fromUtf8(c.number));
        (c.sale ? fm->BtnSale : fm->BtnDepose)->click();
        (c.sale ? fm->CdSaleCount : fm->CdDiscardCount)->setValue(c.count);
        const ButtonStates before = buttons();
        messages->expect(mkNotice, QString::fromUtf8(c.message));
        fm->BtnSave->click();
        EXPECT_EQ(count("CdSalesDiscard"), 0);
        EXPECT_EQ(buttons(), before);
        EXPECT_TRUE((c.sale ? fm->CdSaleDate : fm->CdDiscardDate)->isEnabled());
        fm->BtnCancel->click();
    }
    EXPECT_EQ(scalarInt("select stock from TCdResource where CountId=\"A1\""), 4);
    EXPECT_EQ(scalarInt("select sum(Stock) from Sitcom"), 5);
}

TEST_F(StockTest, SeriesSaleAndWriteOffLowerEveryVolumeByTheCount) {
    const qint64 series = addTitle("S1", "连续剧", "是", 1);
    addVolume(series, "S1-12", "连续剧", 4);
    addVolume(series, "S1-34", "连续剧", 5);
    const qint64 other = addTitle("S2", "别的", "是", 1);
    addVolume(other, "S2-12", "别的", 4);
    select("S1");
    fm->BtnSale->click();
    EXPECT_TRUE(fm->seriesSaleFlag());
    EXPECT_EQ(fm->CdSaleCount->value(), 1);  // the series row's own stock
    fm->CdSaleCount->setValue(3);
    fm->BtnSave->click();
    EXPECT_EQ(scalarInt("select SaleCount from CdSalesDiscard"), 3);
    EXPECT_EQ(scalarInt("select Stock from Sitcom where CdCountId=\"S1-12\""), 1);
    EXPECT_EQ(scalarInt("select Stock from Sitcom where CdCountId=\"S1-34\""), 2);
    EXPECT_EQ(scalarInt("select Stock from Sitcom where CdCountId=\"S2-12\""), 4);
    EXPECT_EQ(scalarInt("select stock from TCdResource where ID=" + QString::number(series)), 1);
    // The main query is not touched, so saving stays possible.
    EXPECT_EQ(buttons(), (ButtonStates{true, true, true, true, false, true}));

    fm->BtnDepose->click();
    EXPECT_TRUE(fm->seriesDiscardFlag());
    fm->CdDiscardCount->setValue(1);
    fm->BtnSave->click();
    EXPECT_EQ(count("CdSalesDiscard", "where CdSaleOrDiscard=1 and SaleCount=1 and CdSalePrice=10"), 1);
    EXPECT_EQ(scalarInt("select Stock from Sitcom where CdCountId=\"S1-12\""), 0);
    EXPECT_EQ(scalarInt("select Stock from Sitcom where CdCountId=\"S1-34\""), 1);
}

TEST_F(StockTest, StartRefusals) {
    messages->expect(mkNotice, QStringLiteral("对不起,库中没有光盘资料记录,你不能进行销售操作!"));
    fm->BtnSale->click();
    messages->expect(mkNotice, QStringLiteral("对不起,库中没有光盘资料记录,你不能进行报废操作!"));
    fm->BtnDepose->click();

    addTitle("A1", "英雄", "否", 0);
    const qint64 series = addTitle("S1", "连续剧", "是", 0);
    addVolume(series, "S1-12", "连续剧", 1);
    addVolume(series, "S1-34", "连续剧", 0);
    const qint64 full = addTitle("S2", "别的", "是", 0);
    addVolume(full, "S2-12", "别的", 1);

    select("A1");
    const ButtonStates before = buttons();
    messages->expect(mkNotice, kNoStock);
    fm->BtnSale->click();
    messages->expect(mkNotice, kNoStock);
    fm->BtnDepose->click();
    EXPECT_TRUE(fm->CdCountId->isEnabled());
    EXPECT_EQ(buttons(), before);

    // A flag set by a passed check is cleared by a failed one.
    select("S2");
    fm->BtnSale->click();
    EXPECT_TRUE(fm->seriesSaleFlag());
    fm->BtnCancel->click();
    select("S1");
    messages->expect(mkNotice, QStringLiteral("销售的该记录为连续剧，它每集的库存不足1，不能做为整部销售."));
    fm->BtnSale->click();
    EXPECT_FALSE(fm->seriesSaleFlag());
    messages->expect(mkNotice,
                     QStringLiteral("报废的该记录为连续剧，它每集的库存不足1，还有在外出租的碟片，不能做为整部废."));
    fm->BtnDepose->click();
    EXPECT_FALSE(fm->seriesDiscardFlag());
    // A series whose own row shows no stock still sells while its volumes have some.
    select("S2");
    fm->BtnDepose->click();
    EXPECT_TRUE(fm->CdDiscardDate->isEnabled());
    EXPECT_EQ(buttons(), (ButtonStates{false, false, false, true, false, true}));
}

TEST_F(StockTest, SaleActsOnTheTitleCurrentWhenSaving) {
    addTitle("A1", "英雄", "否", 5);
    const qint64 other = addTitle("A2", "十面埋伏", "否", 5);
    select("A1");
    fm->BtnSale->click();
    fm->CdSaleCount->setValue(2);
    select("A2");
    fm->BtnSave->click();
    EXPECT_EQ(scalarInt("select CdId from CdSalesDiscard"), other);
    EXPECT_EQ(scalarInt("select stock from TCdResource where CountId=\"A1\""), 5);
    EXPECT_EQ(scalarInt("select stock from TCdResource where CountId=\"A2\""), 3);
}

}  // namespace
