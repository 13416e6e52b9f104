#pragma once

#include <functional>

class QDialog;

// Shows a dialog modally and returns its result. Every modal dialog of the program goes through here.
int execModal(QDialog* dialog);

namespace modal_seam {
// Called with each modal dialog once it is open (for testing). The hook acts on the dialog and closes it; a
// dialog it leaves open is rejected. An empty hook shows dialogs normally.
using Hook = std::function<void(QDialog* dialog)>;
void setHook(Hook hook);
}  // namespace modal_seam
