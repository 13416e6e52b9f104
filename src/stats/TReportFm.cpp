#include "stats/TReportFm.h"

TReportFm::TReportFm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TReportFm"));
    setWindowTitle(QStringLiteral(""));
}
