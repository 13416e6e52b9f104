#include "common/TProgessBarFm.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

#include "common/Platform.h"

TProgessBarFm::TProgessBarFm(QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool) {
    setObjectName(QStringLiteral("TProgessBarFm"));
    Label1 = new QLabel(QStringLiteral("敬请稍候......"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    FlatProgressBar1 = new QProgressBar(this);
    FlatProgressBar1->setObjectName(QStringLiteral("FlatProgressBar1"));
    FlatProgressBar1->setRange(0, 40);
    FlatProgressBar1->setValue(0);
    FlatProgressBar1->setTextVisible(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(FlatProgressBar1);
    setFixedSize(320, 80);
    setAutoFillBackground(true);
    if (QScreen* screen = QGuiApplication::primaryScreen()) move(screen->geometry().center() - rect().center());
}

void TProgessBarFm::step(int pauseMilliseconds) {
    FlatProgressBar1->setValue(std::min(FlatProgressBar1->maximum(), FlatProgressBar1->value() + stepSize));
    FlatProgressBar1->repaint();
    pauseMs(pauseMilliseconds);
}
