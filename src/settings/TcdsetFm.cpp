#include "settings/TcdsetFm.h"

#include <QHBoxLayout>

#include "ui/DockArea.h"

TcdsetFm::TcdsetFm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TcdsetFm"));
    setWindowTitle(QStringLiteral("系统设置"));
    PanelSetting = new DockArea(QStringLiteral("PanelSetting"), this);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(PanelSetting, 1);
}
