// Builds a large shop database and times the program's own work on it, one line per measurement.
//   orvane-bench [TITLES [RENTED_ITEMS [TRANSLATIONS]]]
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "bench/BenchShop.h"
#include "db/Connection.h"
#include "db/Schema.h"

int main(int argc, char** argv) {
    // The start-up measurement creates the windows; no screen is needed to time them.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bench::ShopSize size;
    if (argc > 1) size.titles = std::atoi(argv[1]);
    if (argc > 2) size.rentedItems = std::atoi(argv[2]);
    const int translations = argc > 3 ? std::atoi(argv[3]) : 100000;

    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/discvault.mdb");
    db::writeFreshDatabase(path);
    db::Connection& connection = db::Connection::shared();
    connection.open(path);

    QElapsedTimer timer;
    timer.start();
    bench::fillShop(connection, size);
    std::printf("built %d titles and %d rented items in %.1f s\n", size.titles, size.rentedItems,
                timer.elapsed() / 1000.0);

    bench::benchCatalogue(connection, size, translations);
    return 0;
}
