#pragma once

#include <QDialog>

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

    const rental::Settlement& settlement() const { return settlement_; }

    QLabel* LabDeposit;
    QLabel* LabDue;
    QLineEdit* FactRentSum;
    QRadioButton* RadioDeposit;
    QRadioButton* RadioDirect;
    QPushButton* BtnClose;

    // The window frame closes it as "关闭窗口" does.
    void reject() override;

private:
    void onClose();
    db::Money due_;
    rental::Settlement settlement_;
};

// Shows the part settlement modally; the amount received (the due when the box is left empty) and its source.
rental::Settlement SettlePart(db::Money due, db::Money deposit, QWidget* parent = nullptr);
