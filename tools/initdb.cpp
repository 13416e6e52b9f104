// Writes a fresh, encrypted shop database: orvane-initdb PATH
#include <QCoreApplication>
#include <cstdio>

#include "db/Errors.h"
#include "db/Schema.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: orvane-initdb PATH\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    try {
        db::writeFreshDatabase(path);
    } catch (const db::Error& error) {
        std::fprintf(stderr, "orvane-initdb: %s\n", error.what());
        return 1;
    }
    std::printf("wrote %s\n", argv[1]);
    return 0;
}
