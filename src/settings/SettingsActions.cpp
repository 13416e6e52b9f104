#include "settings/SettingsActions.h"

#include "common/Modal.h"
#include "common/MyMessageBox.h"
#include "common/Session.h"
#include "settings/Initialisation.h"
#include "settings/TAuthorityFm.h"
#include "settings/TSystemInitialFm.h"

void showAuthorityWindow(QWidget* parent) {
    TAuthorityFm rights(parent);
    execModal(&rights);
}

void showInitialisationDialog(QWidget* parent) {
    if (CurrentAuthority != kSuperUser) {
        MyMessageBox(mkNotice, QString::fromUtf8(kSuperUserOnlyText));
        return;
    }
    TSystemInitialFm dialog(parent);
    if (execModal(&dialog) == QDialog::Accepted)
        Q_EMIT settings::InitialisationNotifier::instance().dataCleared(dialog.rentalsCleared());
}
