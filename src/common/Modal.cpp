#include "common/Modal.h"

#include <QDialog>
#include <QPointer>
#include <QTimer>

namespace {
modal_seam::Hook& hook() {
    static modal_seam::Hook h;
    return h;
}
}  // namespace

void modal_seam::setHook(Hook h) {
    hook() = std::move(h);
}

int execModal(QDialog* dialog) {
    if (hook()) {
        QPointer<QDialog> open(dialog);
        const modal_seam::Hook current = hook();
        QTimer::singleShot(0, dialog, [open, current] {
            if (!open) return;
            current(open.data());
            if (open && open->isVisible()) open->reject();
        });
    }
    return dialog->exec();
}
