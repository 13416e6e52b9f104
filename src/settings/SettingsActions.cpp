#include "settings/SettingsActions.h"

#include "common/Modal.h"
#include "settings/TAuthorityFm.h"

void showAuthorityWindow(QWidget* parent) {
    TAuthorityFm rights(parent);
    execModal(&rights);
}

void showInitialisationDialog(QWidget*) {}
