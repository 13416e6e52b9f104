#include "settings/SettingsActions.h"

#include "app/Modal.h"
#include "settings/TAuthorityFm.h"

void showAuthorityWindow(QWidget* parent) {
    TAuthorityFm rights(parent);
    execModal(&rights);
}

void showInitialisationDialog(QWidget*) {}
