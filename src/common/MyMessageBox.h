#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class QLabel;
class QPushButton;

enum MessageKind { mkWarning = 1, mkNotice = 2, mkConfirm = 3 };

// The one message box: true when the operator pressed "确定".
bool MyMessageBox(int kind, const QString& text);
// A refused input: the notice, the focus back to the input when it can take it, and the handler ends quietly
// (db::SilentStop).
[[noreturn]] void refuse(const QString& text, QWidget* focus = nullptr);
// The standard error box: the application title and the error text.
void showErrorBox(const QString& text);

// Kind passed to the test handler for the standard error box.
inline constexpr int kErrorBoxKind = 0;

namespace message_seam {
// Answers every box instead of showing it (for testing): gets the kind (kErrorBoxKind for the error box) and the
// text, returns the answer. An empty handler shows the boxes again.
using Handler = std::function<bool(int kind, const QString& text)>;
void setHandler(Handler handler);
}  // namespace message_seam

class TMyMessageBoxFm : public QDialog {
    Q_OBJECT
public:
    TMyMessageBoxFm(int kind, const QString& text, QWidget* parent = nullptr);

    QLabel* LabM;
    QPushButton* BtnOk;
    QPushButton* BtnCancel;

    // How many Chinese characters fit on one line of the text before it wraps.
    static constexpr int kCharactersPerLine = 40;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fitText();
    int kind_;
    QString text_;
    QLabel* picture_;
};
