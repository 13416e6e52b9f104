#include "app/TDenyFm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>

TDenyFm::TDenyFm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TDenyFm"));
    setWindowTitle(QStringLiteral("拒绝操作"));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("ImageDeny"));
    picture->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(64, 64));
    auto* text = new QLabel(QStringLiteral("对不起,你不能进行此项操作,请用有权限的帐号登录!"), this);
    text->setObjectName(QStringLiteral("LabDeny"));
    text->setWordWrap(true);
    QFont font = text->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.8);
    text->setFont(font);
    text->setStyleSheet(QStringLiteral("color: red"));
    auto* layout = new QHBoxLayout(this);
    layout->addStretch(1);
    layout->addWidget(picture);
    layout->addWidget(text, 3);
    layout->addStretch(1);
}
