#include "rental/TCdRentBackFm.h"

TCdRentBackFm::TCdRentBackFm(QWidget* parent) : TGridFatherFm(parent) {
    setObjectName(QStringLiteral("TCdRentBackFm"));
    setWindowTitle(QStringLiteral("光盘出租"));
}
