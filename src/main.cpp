#include <QApplication>

#include "app/Startup.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return runOrvane(app);
}
