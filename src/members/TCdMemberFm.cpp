#include "members/TCdMemberFm.h"

TCdMemberFm::TCdMemberFm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TCdMemberFm"));
    setWindowTitle(QStringLiteral("会员资料及制度管理"));
}
