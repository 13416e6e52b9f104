#include "stats/TReportSortFm.h"

TReportSortFm::TReportSortFm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TReportSortFm"));
    setWindowTitle(QStringLiteral(""));
}
