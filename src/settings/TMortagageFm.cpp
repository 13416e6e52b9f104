#include "settings/TMortagageFm.h"

#include "app/Views.h"
#include "settings/TcdsetFm.h"
#include "ui/DockArea.h"

TMortagageFm::TMortagageFm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TMortagageFm"));
    // Lives in the settings hub's content area.
    if (views().cdset) views().cdset->PanelSetting->adopt(this);
}
