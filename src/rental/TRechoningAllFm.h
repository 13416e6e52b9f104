#pragma once

#include <QDialog>
#include <optional>

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

    // Empty when the dialog was closed without settling.
    std::optional<db::Money> received() const { return received_; }

    QLabel* InSum;
    QLineEdit* InfactSum;
    QLabel* MortagageSum;
    QLabel* OutSum;
    QPushButton* BtnClose;

private:
    void onClose();
    void showChange(const QString& text);
    db::Money due_;
    db::Money deposit_;
    std::optional<db::Money> received_;
};

// Shows the final settlement modally; the amount received (the due when the box is left empty). Empty when the
// operator closed the dialog by its frame or Escape: the return does not take place.
std::optional<db::Money> SettleAll(db::Money due, db::Money deposit, QWidget* parent = nullptr);
