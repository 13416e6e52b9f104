#include "settings/TCycleFm.h"

#include "app/Views.h"
#include "settings/TcdsetFm.h"
#include "ui/DockArea.h"

TCycleFm::TCycleFm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TCycleFm"));
    // Lives in the settings hub's content area.
    if (views().cdset) views().cdset->PanelSetting->adopt(this);
}
