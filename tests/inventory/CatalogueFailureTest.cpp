#include "db/Connection.h"
#include "inventory/CatalogueFixture.h"
#include "inventory/TSitcomFm.h"

using inventory_tests::CatalogueTest;

namespace {

// An action the engine refuses halfway, as the operator meets it: the standard error box, nothing of the action in
// the database, and the catalogue showing the rows as they were.
class CatalogueFailureTest : public CatalogueTest {
protected:
    void refuseIn(const QString& table, const QString& event, const QString& when = {}) {
        db::Connection::shared().execEngine(QStringLiteral("CREATE TEMP TRIGGER injected BEFORE ") + event +
                                            QStringLiteral(" ON ") + table + u' ' + when +
                                            QStringLiteral(" BEGIN SELECT RAISE(ABORT,'injected'); END"));
        messages->expect(kErrorBoxKind, QStringLiteral("injected"));
    }
    void stopRefusing() { db::Connection::shared().execEngine(QStringLiteral("DROP TRIGGER injected")); }
    // What the grid shows in the stock column for each row.
    QStringList shownStock() {
        QStringList rows;
        auto* model = fm->GridMain->model();
        for (int row = 0; row < model->rowCount(); ++row)
            rows << model->data(model->index(row, 0), Qt::DisplayRole).toString() + u'=' +
                        model->data(model->index(row, 5), Qt::DisplayRole).toString();
        return rows;
    }
};

TEST_F(CatalogueFailureTest, ASeriesWhoseVolumesCannotBeWrittenIsNotBoughtAndCanBeSavedAgain) {
    dialogs->on("TSitcomFm", [](QDialog* d) { d->accept(); });
    startPurchase("S9", "射雕", 6, 2, QStringLiteral("是"));
    refuseIn("Sitcom", "INSERT", "WHEN NEW.CdCountId = 'S9-34'");
    fm->BtnSave->click();
    EXPECT_EQ(count("TCdResource"), 0);
    EXPECT_EQ(count("Sitcom"), 0);
    EXPECT_EQ(dialogs->opened("TSitcomFm"), 0);
    // The purchase stays in editing with what was typed.
    EXPECT_EQ(fm->Q->state(), db::Query::Insert);
    EXPECT_EQ(fm->CdCountId->text(), QStringLiteral("S9"));
    EXPECT_TRUE(fm->BtnSave->isEnabled());

    stopRefusing();
    messages->expect(mkNotice, QStringLiteral("此光盘属于连续剧，为方便出租为每集生成一个编号."));
    fm->BtnSave->click();
    EXPECT_EQ(count("TCdResource"), 1);
    EXPECT_EQ(count("Sitcom", "where CdId=" + QString::number(scalarInt("select ID from TCdResource"))), 3);
    EXPECT_EQ(dialogs->opened("TSitcomFm"), 1);
}

TEST_F(CatalogueFailureTest, ARenameTheVolumesRefuseLeavesTheSeriesAsItWas) {
    const qint64 id = addTitle("S1", "旧名", "是", 2);
    addVolume(id, "S1-12", "旧名", 2);
    select("S1");
    fm->CdName->setFieldText("新名");
    refuseIn("Sitcom", "UPDATE");
    fm->BtnSave->click();
    EXPECT_EQ(scalarText("select CdName from TCdResource"), QStringLiteral("旧名"));
    EXPECT_EQ(scalarText("select CdCountName from Sitcom"), QStringLiteral("旧名"));
    EXPECT_EQ(fm->Q->state(), db::Query::Edit);
    EXPECT_TRUE(fm->CdSitcom->isEnabled());
    fm->BtnCancel->click();
    EXPECT_EQ(fm->CdName->text(), QStringLiteral("旧名"));
}

TEST_F(CatalogueFailureTest, AMergeTheEngineRefusesAddsNothing) {
    addTitle("A1", "英雄", "否", 4);
    startPurchase("A2", "英雄", 2, 3);
    messages->expect(mkConfirm,
                     QStringLiteral("系统在你所输记录中查到有相同片名的记录，请确认是否是同一部片子,"
                                    "是请点确认，系统自动增加库存，否请点击取消，系统再新增一个记录！"),
                     true);
    refuseIn("TCdResource", "UPDATE");
    fm->BtnSave->click();
    EXPECT_EQ(count("TCdResource"), 1);
    EXPECT_EQ(scalarInt("select stock from TCdResource"), 4);
    EXPECT_EQ(fm->Q->state(), db::Query::Insert);
}

TEST_F(CatalogueFailureTest, ASaleWhoseStockCannotMoveLeavesNoSaleAndTheListAsItWas) {
    const qint64 series = addTitle("S1", "连续剧", "是", 1);
    addVolume(series, "S1-12", "连续剧", 4);
    addVolume(series, "S1-34", "连续剧", 5);
    addTitle("A1", "英雄", "否", 5);
    struct Case {
        const char* number;
        const char* table;
        const char* when;
    } cases[] = {{"A1", "TCdResource", ""}, {"S1", "Sitcom", "WHEN OLD.CdCountId = 'S1-34'"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        const QStringList before = shownStock();
        select(QString::fromUtf8(c.number));
        fm->BtnSale->click();
        fm->CdSaleCount->setValue(1);
        refuseIn(QString::fromUtf8(c.table), "UPDATE", QString::fromUtf8(c.when));
        fm->BtnSave->click();
        stopRefusing();
        EXPECT_EQ(count("CdSalesDiscard"), 0);
        EXPECT_EQ(scalarInt("select stock from TCdResource where CountId=\"A1\""), 5);
        EXPECT_EQ(scalarInt("select sum(Stock) from Sitcom"), 9);
        EXPECT_EQ(shownStock(), before);
        EXPECT_EQ(fm->Q->field("CountId").asString(), QString::fromUtf8(c.number));
        fm->BtnCancel->click();
    }
}

TEST_F(CatalogueFailureTest, ADeleteTheEngineRefusesKeepsTheSeriesItsVolumesAndItsRow) {
    const qint64 series = addTitle("S1", "连续剧", "是", 2);
    addVolume(series, "S1-12", "连续剧", 2);
    addTitle("A1", "英雄");
    select("S1");
    const QStringList before = shownStock();
    messages->expect(mkConfirm, QStringLiteral("注意:此操作会删除该条光盘资料数据,是否继续?"), true);
    refuseIn("TCdResource", "DELETE");
    fm->BtnDelete->click();
    EXPECT_EQ(count("TCdResource"), 2);
    EXPECT_EQ(count("Sitcom"), 1);
    EXPECT_EQ(shownStock(), before);
    EXPECT_EQ(fm->Q->field("CountId").asString(), QStringLiteral("S1"));
}

}  // namespace
