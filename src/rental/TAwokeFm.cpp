#include "rental/TAwokeFm.h"

TAwokeFm::TAwokeFm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TAwokeFm"));
    setWindowTitle(QStringLiteral("逾期提醒"));
}
