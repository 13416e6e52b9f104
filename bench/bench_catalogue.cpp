// Times reading the catalogue and translating the desk's quick search.
#include <sqlite3.h>

#include <QElapsedTimer>
#include <cstdio>
#include <vector>

#include "bench/BenchShop.h"
#include "db/Connection.h"
#include "db/JetDialect.h"
#include "db/Query.h"
#include "ui/DataGrid.h"

namespace bench {

namespace {

// What any program must do at the least: step every row and read each column's bytes, nothing more.
size_t bareLoop(db::Connection& connection, const QString& sql) {
    sqlite3_stmt* stmt = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(connection.handle(), text.constData(), text.size(), &stmt, nullptr) != SQLITE_OK) return 0;
    const int columns = sqlite3_column_count(stmt);
    size_t rows = 0, bytes = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c) {
            // Each value in its own form: a number as a number, a text as its bytes.
            switch (sqlite3_column_type(stmt, c)) {
                case SQLITE_INTEGER:
                    bytes += size_t(sqlite3_column_int64(stmt, c) != 0) + 8;
                    break;
                case SQLITE_FLOAT:
                    bytes += size_t(sqlite3_column_double(stmt, c) != 0) + 8;
                    break;
                case SQLITE_NULL:
                    break;
                default:
                    bytes += size_t(sqlite3_column_bytes(stmt, c)) + (sqlite3_column_text(stmt, c) ? 1 : 0);
            }
        }
        ++rows;
    }
    sqlite3_finalize(stmt);
    return bytes ? rows : 0;
}

}  // namespace

void benchCatalogue(db::Connection& connection, const ShopSize& size, int translations) {
    QElapsedTimer timer;
    const QString catalogue = QStringLiteral("select * from TCdResource");
    const QString engineSql = jet::translate(catalogue).sql;
    const QVector<ui::GridColumn> columns = {
        {QStringLiteral("光盘编号"), QStringLiteral("CountId")},
        {QStringLiteral("光盘名称"), QStringLiteral("CdName")},
        {QStringLiteral("购买价格"), QStringLiteral("BuyPrice"), ui::ColumnKind::Currency},
        {QStringLiteral("每套盘片数"), QStringLiteral("PerPieces"), ui::ColumnKind::Number},
        {QStringLiteral("购买总套数"), QStringLiteral("BuySeriesCount"), ui::ColumnKind::Number},
        {QStringLiteral("当前库存"), QStringLiteral("stock"), ui::ColumnKind::Number},
        {QStringLiteral("出租价格"), QStringLiteral("RentPrice"), ui::ColumnKind::Currency},
        {QStringLiteral("连续剧"), QStringLiteral("SitComYesOrNo")},
        {QStringLiteral("碟片位置"), QStringLiteral("CdPosition")},
    };

    std::vector<double> bare, ours;
    for (int run = 0; run < 5; ++run) {
        timer.restart();
        const size_t n = bareLoop(connection, engineSql);
        bare.push_back(timer.nsecsElapsed() / 1e6);
        if (n != size_t(size.titles)) std::printf("bare loop read %zu rows\n", n);

        timer.restart();
        {
            db::Query q;
            q.reopen(catalogue);
            ui::GridModel model(&q);
            model.setColumns(columns);
            // A screenful of rows, as the grid paints them.
            for (int r = 0; r < 40 && r < model.rowCount(); ++r)
                for (int c = 0; c < model.columnCount(); ++c) (void)model.data(model.index(r, c), Qt::DisplayRole);
            if (q.recordCount() != size.titles) std::printf("query read %d rows\n", q.recordCount());
            ours.push_back(timer.nsecsElapsed() / 1e6);
        }
    }
    const double bareMs = median(bare), oursMs = median(ours);
    std::printf("bare prepare/step loop over \"%s\": %.1f ms\n", qPrintable(catalogue), bareMs);
    std::printf("query object plus grid model: %.1f ms\n", oursMs);
    std::printf("ratio %.2f\n", oursMs / bareMs);

    const QStringList quickSearch = {
        QStringLiteral("SELECT TRentOperation.ID, TRentOperation.OccurPerson, TRentOperation.RentPerson, "
                       "TRentOperation.PersonId, TRentOperation.Deposit,TRentOperation.BackStatus FROM TRentOperation "
                       "LEFT JOIN TRentList ON TRentOperation.ID = TRentList.Id_RentOperation"),
        QStringLiteral("where TRentOperation.BackStatus=\"否\" and"),
        QStringLiteral("TRentList.CdCountId_TCdResource like ") + jet::containsPattern(QStringLiteral("D0001")) +
            " and",
        QStringLiteral("TRentList.CdName_TCdResource like ") + jet::containsPattern(QStringLiteral("影片1")) + " and",
        QStringLiteral("TRentList.OccurDate >= #2020-01-01# and TRentList.OccurDate <= #2026-12-31# and"),
        QStringLiteral("0=0"),
    };
    const QString text = quickSearch.join(u' ');
    size_t total = 0;
    timer.restart();
    for (int i = 0; i < translations; ++i) total += size_t(jet::translate(text).sql.size());
    const double perText = timer.nsecsElapsed() / 1e3 / translations;
    std::printf("translating the quick search text: %.2f us a text (%zu chars out)\n", perText, total / translations);

    timer.restart();
    db::Query search;
    search.reopen(quickSearch);
    std::printf("running the quick search over %d rented items: %.1f ms, %d sheets found\n", size.rentedItems,
                timer.nsecsElapsed() / 1e6, search.recordCount());
}

}  // namespace bench
