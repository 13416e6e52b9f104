#include "inventory/TQueryFm.h"

TQueryFm::TQueryFm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TQueryFm"));
    setWindowTitle(QStringLiteral("条件查询"));
}
