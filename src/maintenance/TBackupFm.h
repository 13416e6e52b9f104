#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

inline constexpr const char* kLiveFileAsSourceText =
    "你选择的是正在使用的数据库文件,不能用它来恢复!请选择一个备份文件.";

// Backs the database up to a file of the operator's choice, or restores it from one.
class TBackupFm : public QDialog {
    Q_OBJECT
public:
    enum Mode { kBackup = 0, kRestore = 1 };
    explicit TBackupFm(Mode mode, QWidget* parent = nullptr);

    QLabel* LabelNote;
    QLabel* LabelPrompt;
    QLabel* LabelPath;
    QPushButton* BtnSet;
    QPushButton* BtnOk;
    QPushButton* BtnCancel;

    Mode mode() const { return mode_; }

private:
    void onSet();
    void onOk();
    Mode mode_;
};
