#include "inventory/TCdResourceFm.h"

TCdResourceFm::TCdResourceFm(QWidget* parent) : TGridFatherFm(parent) {
    setObjectName(QStringLiteral("TCdResourceFm"));
    setWindowTitle(QStringLiteral("光盘资料管理"));
}

void TCdResourceFm::reloadTypeChoices() {}
