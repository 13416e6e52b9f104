#pragma once

#include <QDialog>

#include "db/Money.h"

class QLabel;
class QLineEdit;
class QPushButton;

// Settles the final return of a sheet: the rent due, what was taken, and the change to hand back out of the deposit
// (negative when the customer owes more than he left).
class TRechoningAllFm : public QDialog {
    Q_OBJECT
public:
    TRechoningAllFm(db::Money due, db::Money deposit, QWidget* parent = nullptr);

    db::Money received() const { return received_; }

    QLabel* InSum;
    QLineEdit* InfactSum;
    QLabel* MortagageSum;
    QLabel* OutSum;
    QPushButton* BtnClose;

    // The window frame closes it as "关闭窗口" does.
    void reject() override;

private:
    void onClose();
    void showChange(const QString& text);
    db::Money due_;
    db::Money deposit_;
    db::Money received_;
};

// Shows the final settlement modally; the amount received (the due when the box is left empty).
db::Money SettleAll(db::Money due, db::Money deposit, QWidget* parent = nullptr);
