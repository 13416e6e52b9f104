#pragma once

#include <QString>

class QWidget;

// The save dialog of the program (Qt's own, in Chinese): the chosen file name, or empty when the operator cancelled.
// The suggested path gives the folder and the file name shown at first.
QString askSaveFileName(QWidget* parent, const QString& caption, const QString& suggestedPath, const QString& filter);

namespace file_dialog_seam {
// The next ask returns this name at once without showing the dialog (for testing); an empty name answers as a
// cancelled dialog.
void setNextFileName(const QString& name);
// The path the last ask suggested, whether or not the dialog was shown.
QString lastSuggestedPath();
}  // namespace file_dialog_seam
