#include "settings/TChargefm.h"

#include "app/Views.h"
#include "settings/TcdsetFm.h"
#include "ui/DockArea.h"

TChargefm::TChargefm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TChargefm"));
    // Lives in the settings hub's content area.
    if (views().cdset) views().cdset->PanelSetting->adopt(this);
}
