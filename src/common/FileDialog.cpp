#include "common/FileDialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <optional>

#include "common/Modal.h"

namespace {
std::optional<QString>& nextFileName() {
    static std::optional<QString> name;
    return name;
}
QString& lastSuggested() {
    static QString path;
    return path;
}
}  // namespace

void file_dialog_seam::setNextFileName(const QString& name) {
    nextFileName() = name;
}

QString file_dialog_seam::lastSuggestedPath() {
    return lastSuggested();
}

QString askSaveFileName(QWidget* parent, const QString& caption, const QString& suggestedPath, const QString& filter) {
    lastSuggested() = suggestedPath;
    if (nextFileName()) {
        const QString name = *nextFileName();
        nextFileName().reset();
        return name;
    }
    QFileDialog dialog(parent, caption, suggestedPath, filter);
    dialog.setObjectName(QStringLiteral("SaveFileDialog"));
    // Qt's own dialog, so that its texts follow the program's Chinese translation on every desktop.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QFileInfo(suggestedPath).suffix());
    if (execModal(&dialog) != QDialog::Accepted) return {};
    return dialog.selectedFiles().value(0);
}
