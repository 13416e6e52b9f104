#include "settings/TTimelimitFm.h"

#include "app/Views.h"
#include "settings/TcdsetFm.h"
#include "ui/DockArea.h"

TTimelimitFm::TTimelimitFm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TTimelimitFm"));
    // Lives in the settings hub's content area.
    if (views().cdset) views().cdset->PanelSetting->adopt(this);
}
