#include "maintenance/MaintenanceActions.h"

#include "common/Modal.h"
#include "common/MyMessageBox.h"
#include "common/Session.h"
#include "maintenance/TAwokeExitFm.h"
#include "maintenance/TBackupFm.h"

void showBackupDialog(QWidget* parent, bool restore) {
    if (restore && CurrentAuthority != kSuperUser) {
        MyMessageBox(mkNotice, QString::fromUtf8(kSuperUserOnlyText));
        return;
    }
    TBackupFm dialog(restore ? TBackupFm::kRestore : TBackupFm::kBackup, parent);
    if (execModal(&dialog) == QDialog::Accepted) Q_EMIT maintenance::Notifier::instance().databaseCopied(restore);
}

int runExitReminder(QWidget* parent) {
    TAwokeExitFm reminder(parent);
    execModal(&reminder);
    return TAwokeExitFm::exitAnswer();
}

namespace maintenance {

Notifier& Notifier::instance() {
    static Notifier notifier;
    return notifier;
}

void resetExitAnswer() {
    TAwokeExitFm::setExitAnswer(0);
}

}  // namespace maintenance
