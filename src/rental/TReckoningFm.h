#pragma once

#include <QDialog>
#include <optional>

#include "db/Money.h"
#include "rental/Rentals.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Settles a part return: the rent due, what was taken, and whether it comes out of the deposit.
class TReckoningFm : public QDialog {
    Q_OBJECT
public:
    TReckoningFm(db::Money due, db::Money deposit, QWidget* parent = nullptr);

    // Empty when the dialog was closed without settling.
    const std::optional<rental::Settlement>& settlement() const { return settlement_; }

    QLabel* LabDeposit;
    QLabel* LabDue;
    QLineEdit* FactRentSum;
    QRadioButton* RadioDeposit;
    QRadioButton* RadioDirect;
    QPushButton* BtnClose;

private:
    void onClose();
    db::Money due_;
    db::Money deposit_;
    std::optional<rental::Settlement> settlement_;
};

// Shows the part settlement modally; the amount received (the due when the box is left empty) and its source. Empty
// when the operator closed the dialog by its frame or Escape: the return does not take place.
std::optional<rental::Settlement> SettlePart(db::Money due, db::Money deposit, QWidget* parent = nullptr);
