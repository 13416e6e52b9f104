// Builds a large shop database and times reading the catalogue and translating the desk's quick search.
//   orvane-bench [TITLES [RENTED_ITEMS [TRANSLATIONS]]]
#include <sqlite3.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "db/Connection.h"
#include "db/JetDialect.h"
#include "db/Query.h"
#include "db/Schema.h"
#include "ui/DataGrid.h"

namespace {

void fill(db::Connection& connection, int titles, int items) {
    connection.execEngine(QStringLiteral("BEGIN"));
    {
        db::Statement insert(
            connection,
            QStringLiteral(
                "INSERT INTO TCdResource (CountId, CdName, Types, CdRegion, CdDvdOrVcd, CdMatieral, CdDirector, "
                "CdMainPlayer, Intrduction, CdPosition, BuyDate, BuyPrice, PerPieces, BuySeriesCount, stock, "
                "RentPrice, "
                "SitComYesOrNo) VALUES (?, ?, '动作片', '香港', 'DVD', '碟版', '导演', '主演甲 主演乙', '一部好片子', "
                "?, "
                "?, ?, 2, 3, 2, ?, ?)"));
        for (int i = 0; i < titles; ++i) {
            insert.bind(1, QStringLiteral("D%1").arg(i, 6, 10, QLatin1Char('0')));
            insert.bind(2, QStringLiteral("影片%1号").arg(i));
            insert.bind(3, QStringLiteral("架%1").arg(i % 200));
            insert.bind(4, QStringLiteral("20%1-%2-%3 00:00:00")
                               .arg(10 + i % 16)
                               .arg(1 + i % 12, 2, 10, QLatin1Char('0'))
                               .arg(1 + i % 28, 2, 10, QLatin1Char('0')));
            insert.bind(5, 20.0 + (i % 50) * 0.5);
            insert.bind(6, 2.0 + (i % 3) * 0.5);
            insert.bind(7, i % 10 == 0 ? QStringLiteral("是") : QStringLiteral("否"));
            insert.step();
            insert.reset();
        }
    }
    const int sheets = std::max(1, items / 5);
    {
        db::Statement insert(
            connection,
            QStringLiteral(
                "INSERT INTO TRentOperation (OccurPerson, RentPerson, PersonId, Deposit, BackStatus, RentCount) "
                "VALUES ('超级用户', ?, '', 10, ?, '5')"));
        for (int i = 0; i < sheets; ++i) {
            insert.bind(1, i % 4 == 0 ? QStringLiteral("会员") : QStringLiteral("零客户"));
            insert.bind(2, i % 20 == 0 ? QStringLiteral("否") : QStringLiteral("是"));
            insert.step();
            insert.reset();
        }
    }
    {
        db::Statement insert(connection, QStringLiteral("INSERT INTO TRentList (Id_RentOperation, OccurDate, "
                                                        "CdCountId_TCdResource, CdName_TCdResource, RentPrice, "
                                                        "Back) VALUES (?, ?, ?, ?, 2, ?)"));
        for (int i = 0; i < items; ++i) {
            const int title = (i * 7919) % titles;
            insert.bind(1, 1 + i / 5);
            insert.bind(2, QStringLiteral("20%1-%2-%3 00:00:00")
                               .arg(16 + i % 10)
                               .arg(1 + i % 12, 2, 10, QLatin1Char('0'))
                               .arg(1 + i % 28, 2, 10, QLatin1Char('0')));
            insert.bind(3, QStringLiteral("D%1").arg(title, 6, 10, QLatin1Char('0')));
            insert.bind(4, QStringLiteral("影片%1号").arg(title));
            insert.bind(5, (i / 5) % 20 == 0 ? 0 : 1);
            insert.step();
            insert.reset();
        }
    }
    connection.execEngine(QStringLiteral("COMMIT"));
}

// What any program must do at the least to hold the whole result in memory.
size_t bareLoop(db::Connection& connection, const QString& sql) {
    db::Statement statement(connection, sql);
    sqlite3_stmt* stmt = statement.raw();
    const int columns = sqlite3_column_count(stmt);
    std::vector<std::vector<QVariant>> rows;
    while (statement.step()) {
        std::vector<QVariant> row(columns);
        for (int c = 0; c < columns; ++c) {
            switch (sqlite3_column_type(stmt, c)) {
                case SQLITE_INTEGER:
                    row[c] = qlonglong(sqlite3_column_int64(stmt, c));
                    break;
                case SQLITE_FLOAT:
                    row[c] = sqlite3_column_double(stmt, c);
                    break;
                case SQLITE_TEXT:
                    row[c] = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, c)),
                                               sqlite3_column_bytes(stmt, c));
                    break;
                default:
                    break;
            }
        }
        rows.push_back(std::move(row));
    }
    return rows.size();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int titles = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int items = argc > 2 ? std::atoi(argv[2]) : 1000000;
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/discvault.mdb");
    db::writeFreshDatabase(path);
    db::Connection& connection = db::Connection::shared();
    connection.open(path);

    QElapsedTimer timer;
    timer.start();
    fill(connection, titles, items);
    std::printf("built %d titles and %d rented items in %.1f s\n", titles, items, timer.elapsed() / 1000.0);

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
        if (n != size_t(titles)) std::printf("bare loop read %zu rows\n", n);

        timer.restart();
        {
            db::Query q;
            q.reopen(catalogue);
            ui::GridModel model(&q);
            model.setColumns(columns);
            // A screenful of rows, as the grid paints them.
            for (int r = 0; r < 40 && r < model.rowCount(); ++r)
                for (int c = 0; c < model.columnCount(); ++c) (void)model.data(model.index(r, c), Qt::DisplayRole);
            if (q.recordCount() != titles) std::printf("query read %d rows\n", q.recordCount());
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
    const int translations = argc > 3 ? std::atoi(argv[3]) : 100000;
    size_t total = 0;
    timer.restart();
    for (int i = 0; i < translations; ++i) total += size_t(jet::translate(text).sql.size());
    const double perText = timer.nsecsElapsed() / 1e3 / translations;
    std::printf("translating the quick search text: %.2f us a text (%zu chars out)\n", perText, total / translations);

    timer.restart();
    db::Query search;
    search.reopen(quickSearch);
    std::printf("running the quick search over %d rented items: %.1f ms, %d sheets found\n", items,
                timer.nsecsElapsed() / 1e6, search.recordCount());
    return 0;
}
