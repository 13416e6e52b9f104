#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

// Clears chosen groups of data for a fresh start.
class TSystemInitialFm : public QDialog {
    Q_OBJECT
public:
    explicit TSystemInitialFm(QWidget* parent = nullptr);

    QLabel* LabelWarning;
    QLabel* LabelPrompt;
    QCheckBox* ResourceCheck;
    QCheckBox* RentCheck;
    QCheckBox* MemberCheck;
    QCheckBox* SettingCheck;
    QCheckBox* SaleCheck;
    QPushButton* BtnOk;
    QPushButton* Btncancle;

    // After "确定": whether the rental records were cleared.
    bool rentalsCleared() const { return rentalsCleared_; }

private:
    void onResourceToggled(bool checked);
    void onOk();
    bool rentalsCleared_ = false;
};
