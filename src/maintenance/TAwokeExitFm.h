#pragma once

#include <QDialog>

class QKeyEvent;
class QLabel;
class QPushButton;

// Offers a backup each time the program is closed.
class TAwokeExitFm : public QDialog {
    Q_OBJECT
public:
    explicit TAwokeExitFm(QWidget* parent = nullptr);

    QLabel* LabelText;
    QPushButton* BtnBakExit;
    QPushButton* BtnExit;
    QPushButton* BtnCancel;

    // 1 exit, -1 cancel; set only by the buttons and kept from one reminder to the next.
    static int exitAnswer();
    static void setExitAnswer(int answer);

protected:
    // Escape is 取消 here: leaving without a backup needs the button that says so.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void onBackupAndExit();
};
