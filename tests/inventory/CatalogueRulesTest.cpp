#include <QStringList>

#include "db/Connection.h"
#include "db/Errors.h"
#include "inventory/Catalogue.h"
#include "support/Fixture.h"

using inventory::Catalogue;
using inventory::MoveStartRefusal;
using inventory::RecordRefusal;
using inventory::StockMove;
using inventory::StockMoveKind;
using inventory::StockMoveRefusal;

namespace {

// The catalogue's rules on a fresh database, without any view.
class CatalogueRulesTest : public testing_support::AppTest {
protected:
    qint64 addTitle(const QString& number, const QString& name, const QString& series = QStringLiteral("否"),
                    int stock = 5, const QString& buyPrice = QStringLiteral("10")) {
        exec(QStringLiteral("insert into TCdResource (CountId, CdName, SitComYesOrNo, stock, BuySeriesCount, BuyPrice, "
                            "RentPrice, PerPieces) values (") +
             jet::quoted(number) + u',' + jet::quoted(name) + u',' + jet::quoted(series) + u',' +
             QString::number(stock) + u',' + QString::number(stock) + u',' + buyPrice + QStringLiteral(",2,2)"));
        return scalarInt(QStringLiteral("select max(ID) from TCdResource"));
    }
    void addVolume(qint64 seriesId, const QString& number, int stock) {
        exec(QStringLiteral("insert into Sitcom (CdId, CdCountId, CdCountName, CdNumber, BuySeriesCount, Stock) "
                            "values (") +
             QString::number(seriesId) + u',' + jet::quoted(number) + QStringLiteral(",\"剧\",\"1,2集\",") +
             QString::number(stock) + u',' + QString::number(stock) + u')');
    }
    // Makes the engine refuse a statement, as a full disc or a broken file would, in the middle of an action.
    void refuseIn(const QString& table, const QString& event, const QString& when = {}) {
        db::Connection::shared().execEngine(QStringLiteral("CREATE TEMP TRIGGER injected BEFORE ") + event +
                                            QStringLiteral(" ON ") + table + u' ' + when +
                                            QStringLiteral(" BEGIN SELECT RAISE(ABORT,'injected'); END"));
    }
    void stopRefusing() { db::Connection::shared().execEngine(QStringLiteral("DROP TRIGGER injected")); }
    // Every row of the tables the catalogue writes, to compare before and after an action.
    QStringList snapshot() {
        QStringList rows;
        for (const char* table : {"TCdResource", "Sitcom", "CdSalesDiscard"}) {
            db::Query q;
            q.reopen(QStringLiteral("select * from ") + QString::fromLatin1(table));
            for (int row = 0; row < q.recordCount(); ++row) {
                QStringList cells;
                for (int column = 0; column < q.columns().size(); ++column) cells << q.displayText(row, column);
                rows << QString::fromLatin1(table) + u':' + cells.join(u'|');
            }
        }
        return rows;
    }
    qint64 volumeStock(const QString& number) {
        return scalarInt(QStringLiteral("select Stock from Sitcom where CdCountId=") + jet::quoted(number));
    }

    Catalogue catalogue{db::Connection::shared()};
};

TEST_F(CatalogueRulesTest, RecordChecksRunInOrder) {
    const qint64 used = addTitle("A1", "已有");
    struct Case {
        qint64 id;
        const char* number;
        const char* name;
        const char* standard;
        RecordRefusal expected;
    } cases[] = {
        {0, "", "", "", RecordRefusal::NoNumber},
        {0, "  ", "片", "默认标准", RecordRefusal::NoNumber},
        {0, "A1", "", "", RecordRefusal::NumberInUse},
        {0, "a1", "片", "默认标准", RecordRefusal::NumberInUse},  // the database's text equality
        {used + 1, "A1", "片", "默认标准", RecordRefusal::NumberInUse},
        {used, "A1", "片", "默认标准", RecordRefusal::None},  // its own number
        {0, "B1", " ", "默认标准", RecordRefusal::NoName},
        {0, "B1", "片", "", RecordRefusal::NoRentStandard},
        {0, "B\"1", "他说\"好\"", "默认标准", RecordRefusal::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.number) + "/" + c.name);
        EXPECT_EQ(catalogue.checkRecord(
                      {c.id, QString::fromUtf8(c.number), QString::fromUtf8(c.name), QString::fromUtf8(c.standard)}),
                  c.expected);
    }
}

TEST_F(CatalogueRulesTest, SameNamedSinglesLeaveOutSeriesAndTheTitleItself) {
    const qint64 first = addTitle("A1", "英雄");
    const qint64 second = addTitle("A2", "英雄");
    addTitle("S1", "英雄", "是");
    addTitle("A3", "英雄2");
    const qint64 quoted = addTitle("A4", "他说\"好\"");
    EXPECT_EQ(catalogue.sameNamedSingles("英雄", 0), (QList<qint64>{first, second}));
    EXPECT_EQ(catalogue.sameNamedSingles("英雄", first), (QList<qint64>{second}));
    EXPECT_EQ(catalogue.sameNamedSingles("他说\"好\"", 0), (QList<qint64>{quoted}));
    EXPECT_TRUE(catalogue.sameNamedSingles("无此片", 0).isEmpty());
}

TEST_F(CatalogueRulesTest, AMergedPurchaseRaisesCountAndStockOrNothing) {
    const qint64 id = addTitle("A1", "英雄", "否", 4);
    exec("update TCdResource set stock=1 where ID=" + QString::number(id));  // three sets out on loan
    catalogue.mergePurchase(id, 3);
    EXPECT_EQ(scalarInt("select BuySeriesCount from TCdResource"), 7);
    EXPECT_EQ(scalarInt("select stock from TCdResource"), 4);

    const QStringList before = snapshot();
    refuseIn("TCdResource", "UPDATE");
    EXPECT_THROW(catalogue.mergePurchase(id, 2), db::Error);
    EXPECT_EQ(snapshot(), before);
}

TEST_F(CatalogueRulesTest, ANewTitleStartsWithTheSetsBoughtAndTheChosenStandardsRent) {
    exec("insert into TChargeStandard (ChargeName, RentSum) values (\"新片\", 3.5)");
    const qint64 standard = scalarInt("select Id from TChargeStandard where ChargeName=\"新片\"");
    struct Case {
        qint64 standardId;
        double rent;
    } cases[] = {{standard, 3.5}, {0, 0}, {standard + 100, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.standardId);
        const inventory::NewTitleValues values = catalogue.newTitleValues(3, c.standardId);
        EXPECT_EQ(values.stock, 3);
        EXPECT_EQ(values.rentPrice, db::Money::fromDouble(c.rent));
    }
}

TEST_F(CatalogueRulesTest, SeriesUnitsArePairsWithATripleAtAnOddEnd) {
    struct Case {
        int discs;
        QStringList units;
    } cases[] = {
        {0, {}},
        {1, {}},
        {3, {"X-123 1,2,3集"}},
        {6, {"X-12 1,2集", "X-34 3,4集", "X-56 5,6集"}},
        {9, {"X-12 1,2集", "X-34 3,4集", "X-56 5,6集", "X-789 7,8,9集"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.discs);
        QStringList units;
        for (const inventory::VolumeUnit& unit : inventory::volumeUnits("X", c.discs))
            units << unit.number + u' ' + unit.discs;
        EXPECT_EQ(units, c.units);
    }
}

TEST_F(CatalogueRulesTest, VolumesOfANewSeriesAreWrittenAllOrNone) {
    const qint64 id = addTitle("A8", "天龙八部", "是", 2);
    EXPECT_EQ(catalogue.volumes().make(id, "A8", "天龙八部", 5, 2), 2);
    EXPECT_EQ(count("Sitcom", "where CdId=" + QString::number(id) +
                                  " and CdCountName=\"天龙八部\" and Stock=2 and "
                                  "BuySeriesCount=2"),
              2);
    EXPECT_TRUE(catalogue.volumes().exist(id));

    const qint64 other = addTitle("B8", "射雕", "是", 1);
    const QStringList before = snapshot();
    refuseIn("Sitcom", "INSERT", "WHEN NEW.CdCountId = 'B8-56'");
    EXPECT_THROW(catalogue.volumes().make(other, "B8", "射雕", 8, 1), db::Error);
    EXPECT_EQ(snapshot(), before);
    EXPECT_FALSE(catalogue.volumes().exist(other));
}

TEST_F(CatalogueRulesTest, RenamingASeriesRenamesOnlyItsVolumes) {
    const qint64 id = addTitle("S1", "旧名", "是", 2);
    const qint64 other = addTitle("S2", "旧名", "是", 2);
    addVolume(id, "S1-12", 2);
    addVolume(id, "S1-34", 2);
    addVolume(other, "S2-12", 2);
    catalogue.volumes().rename(id, "新\"名");
    EXPECT_EQ(count("Sitcom", "where CdCountName=\"新\"\"名\""), 2);
    EXPECT_EQ(count("Sitcom", "where CdId=" + QString::number(other) + " and CdCountName=\"剧\""), 1);
}

TEST_F(CatalogueRulesTest, WhenASaleOrWriteOffMayStart) {
    const qint64 empty = addTitle("A1", "无库存", "否", 0);
    const qint64 stocked = addTitle("A2", "有库存", "否", 1);
    const qint64 lacking = addTitle("S1", "缺一集", "是", 3);
    addVolume(lacking, "S1-12", 1);
    addVolume(lacking, "S1-34", 0);
    const qint64 full = addTitle("S2", "全在", "是", 0);  // its own row's count does not matter
    addVolume(full, "S2-12", 1);
    const qint64 bare = addTitle("S3", "无分集", "是", 0);
    struct Case {
        qint64 id;
        MoveStartRefusal expected;
    } cases[] = {{empty, MoveStartRefusal::NoStock},
                 {stocked, MoveStartRefusal::None},
                 {lacking, MoveStartRefusal::SeriesVolumeWithoutStock},
                 {full, MoveStartRefusal::None},
                 {bare, MoveStartRefusal::None}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(catalogue.checkMoveStart(c.id), c.expected);
    }
}

TEST_F(CatalogueRulesTest, SalesAndWriteOffsRecordTheirRowAndTakeTheStock) {
    struct Case {
        const char* name;
        bool series;
        StockMoveKind kind;
        int count;
        double salePrice;
        const char* buyPrice;
        double storedPrice;
        qint64 titleStock;                  // afterwards
        std::pair<qint64, qint64> volumes;  // afterwards, a series' two volumes
    } cases[] = {
        {"sale of a single title", false, StockMoveKind::Sale, 2, 8.5, "10", 8.5, 3, {}},
        {"write-off at the whole purchase price", false, StockMoveKind::WriteOff, 3, 99, "12.5", 12, 2, {}},
        {"write-off rounding up", false, StockMoveKind::WriteOff, 1, 0, "13.5", 14, 4, {}},
        {"sale of a series", true, StockMoveKind::Sale, 3, 20, "10", 20, 5, {1, 2}},
        {"write-off of a series", true, StockMoveKind::WriteOff, 1, 0, "10", 10, 5, {3, 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        exec("delete * from TCdResource");
        exec("delete * from Sitcom");
        exec("delete * from CdSalesDiscard");
        const qint64 id = addTitle("T1", "片", c.series ? "是" : "否", 5, c.buyPrice);
        if (c.series) {
            addVolume(id, "T1-12", 4);
            addVolume(id, "T1-34", 5);
        }
        const StockMoveRefusal refusal =
            catalogue.recordStockMove({id, c.kind, c.count, db::Money::fromDouble(c.salePrice)});
        EXPECT_FALSE(refusal);
        ASSERT_EQ(count("CdSalesDiscard"), 1);
        EXPECT_EQ(scalarInt("select CdId from CdSalesDiscard"), id);
        EXPECT_EQ(scalarInt("select SaleCount from CdSalesDiscard"), c.count);
        EXPECT_EQ(scalarMoney("select CdSalePrice from CdSalesDiscard"), db::Money::fromDouble(c.storedPrice));
        EXPECT_EQ(scalarInt("select CdSaleOrDiscard from CdSalesDiscard"), c.kind == StockMoveKind::Sale ? 0 : 1);
        EXPECT_EQ(scalarText("select CdSaleDiscardDate from CdSalesDiscard"), QStringLiteral("2026-12-10 10:30:00"));
        EXPECT_EQ(scalarInt("select stock from TCdResource"), c.titleStock);
        if (c.series) {
            EXPECT_EQ(volumeStock("T1-12"), c.volumes.first);
            EXPECT_EQ(volumeStock("T1-34"), c.volumes.second);
        }
    }
}

TEST_F(CatalogueRulesTest, CountsOutsideTheStockAreRefusedWithoutAWrite) {
    const qint64 single = addTitle("A1", "英雄", "否", 4);
    const qint64 series = addTitle("S1", "连续剧", "是", 9);
    addVolume(series, "S1-12", 3);
    addVolume(series, "S1-34", 2);
    const qint64 bare = addTitle("S2", "无分集", "是", 1);
    struct Case {
        qint64 id;
        int count;
        StockMoveRefusal::Reason reason;
        qint64 available;
    } cases[] = {
        {single, 0, StockMoveRefusal::CountBelowOne, 0},    {single, -1, StockMoveRefusal::CountBelowOne, 0},
        {single, 5, StockMoveRefusal::AboveStock, 4},       {single, 4, StockMoveRefusal::None, 0},
        {series, 3, StockMoveRefusal::AboveSeriesStock, 2}, {series, 2, StockMoveRefusal::None, 0},
        {bare, 2, StockMoveRefusal::AboveSeriesStock, 1},
    };
    const QStringList before = snapshot();
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::number(c.id).toStdString() + " count " + std::to_string(c.count));
        const StockMoveRefusal checked = catalogue.checkStockMove(c.id, c.count);
        EXPECT_EQ(checked.reason, c.reason);
        EXPECT_EQ(checked.available, c.available);
        if (c.reason == StockMoveRefusal::None) continue;
        EXPECT_EQ(catalogue.recordStockMove({c.id, StockMoveKind::Sale, c.count, db::Money()}).reason, c.reason);
        EXPECT_EQ(snapshot(), before);
    }
}

TEST_F(CatalogueRulesTest, ASaleOrWriteOffThatFailsHalfwayLeavesNothing) {
    struct Case {
        const char* name;
        bool series;
        StockMoveKind kind;
        const char* table;
        const char* event;
        const char* when;
    } cases[] = {
        {"single title's stock refused", false, StockMoveKind::Sale, "TCdResource", "UPDATE", ""},
        {"second volume refused", true, StockMoveKind::WriteOff, "Sitcom", "UPDATE", "WHEN OLD.CdCountId = 'T1-34'"},
        {"row refused", true, StockMoveKind::Sale, "CdSalesDiscard", "INSERT", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        exec("delete * from TCdResource");
        exec("delete * from Sitcom");
        const qint64 id = addTitle("T1", "片", c.series ? "是" : "否", 5);
        if (c.series) {
            addVolume(id, "T1-12", 4);
            addVolume(id, "T1-34", 5);
        }
        const QStringList before = snapshot();
        refuseIn(c.table, c.event, c.when);
        EXPECT_THROW(catalogue.recordStockMove({id, c.kind, 1, db::Money()}), db::Error);
        stopRefusing();
        EXPECT_EQ(snapshot(), before);
    }
}

TEST_F(CatalogueRulesTest, DeletingATitleTakesItsVolumesOrNothing) {
    const qint64 series = addTitle("S1", "连续剧", "是", 2);
    const qint64 other = addTitle("S2", "别的连续剧", "是", 2);
    const qint64 single = addTitle("A1", "单片");
    addVolume(series, "S1-12", 2);
    addVolume(series, "S1-34", 2);
    addVolume(other, "S2-12", 2);
    exec("insert into CdSalesDiscard (CdId, SaleCount, CdSalePrice, CdSaleOrDiscard) values (" +
         QString::number(series) + ", 1, 5, 0)");

    const QStringList before = snapshot();
    refuseIn("TCdResource", "DELETE");
    EXPECT_THROW(catalogue.deleteTitle(series), db::Error);
    stopRefusing();
    EXPECT_EQ(snapshot(), before);

    catalogue.deleteTitle(series);
    catalogue.deleteTitle(single);
    EXPECT_EQ(count("TCdResource"), 1);
    EXPECT_EQ(count("Sitcom"), 1);
    EXPECT_EQ(count("Sitcom", "where CdId=" + QString::number(other)), 1);
    EXPECT_EQ(count("CdSalesDiscard"), 1);  // the sale stays for the statistics
}

}  // namespace
