#include "app/TPictureFm.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

TPictureFm::TPictureFm(QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::SplashScreen) {
    setObjectName(QStringLiteral("TPictureFm"));
    setWindowTitle(QStringLiteral("系统装载中,请稍候..."));
    setFixedSize(480, 280);
    auto* version = new QLabel(QStringLiteral("[1.12版(Bulid20031005)]"), this);
    version->setObjectName(QStringLiteral("LabVersion"));
    version->setStyleSheet(QStringLiteral("color: white"));
    version->adjustSize();
    version->move(10, height() - version->height() - 8);
    if (QScreen* screen = QGuiApplication::primaryScreen()) move(screen->geometry().center() - rect().center());
}

void TPictureFm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QLinearGradient gradient(0, 0, width(), height());
    gradient.setColorAt(0, QColor(30, 60, 120));
    gradient.setColorAt(1, QColor(90, 140, 200));
    painter.fillRect(rect(), gradient);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setPointSize(22);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(rect().adjusted(0, -30, 0, -30), Qt::AlignCenter, QStringLiteral("Orvane 音像租赁管理系统"));
    font.setPointSize(11);
    font.setBold(false);
    painter.setFont(font);
    painter.drawText(rect().adjusted(0, 40, 0, 40), Qt::AlignCenter, QStringLiteral("系统装载中,请稍候..."));
}
