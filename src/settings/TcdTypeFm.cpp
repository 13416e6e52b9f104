#include "settings/TcdTypeFm.h"

#include "app/Views.h"
#include "settings/TcdsetFm.h"
#include "ui/DockArea.h"

TcdTypeFm::TcdTypeFm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TcdTypeFm"));
    // Lives in the settings hub's content area.
    if (views().cdset) views().cdset->PanelSetting->adopt(this);
}
