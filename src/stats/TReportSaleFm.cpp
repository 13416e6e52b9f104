#include "stats/TReportSaleFm.h"

TReportSaleFm::TReportSaleFm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TReportSaleFm"));
    setWindowTitle(QStringLiteral(""));
}
