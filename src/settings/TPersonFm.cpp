#include "settings/TPersonFm.h"

#include "app/Views.h"
#include "settings/TcdsetFm.h"
#include "ui/DockArea.h"

TPersonFm::TPersonFm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TPersonFm"));
    // Lives in the settings hub's content area.
    if (views().cdset) views().cdset->PanelSetting->adopt(this);
}
