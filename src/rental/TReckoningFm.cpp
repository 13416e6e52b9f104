#include "rental/TReckoningFm.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "common/Guard.h"
#include "common/Modal.h"
#include "common/MyMessageBox.h"
#include "rental/AmountRow.h"

TReckoningFm::TReckoningFm(db::Money due, db::Money deposit, QWidget* parent)
    : QDialog(parent), due_(due), deposit_(deposit) {
    setObjectName(QStringLiteral("TReckoningFm"));
    setWindowTitle(QStringLiteral("结算"));
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint);

    auto* head = new QLabel(QStringLiteral("本次结算清单:(若本次实收租金未填,则按应付金额收取)"), this);
    head->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
    LabDeposit = new QLabel(deposit.toString(), this);
    LabDeposit->setObjectName(QStringLiteral("LabDeposit"));
    LabDeposit->setStyleSheet(QStringLiteral("color: red"));
    LabDue = new QLabel(due.toString(), this);
    LabDue->setObjectName(QStringLiteral("LabDue"));
    FactRentSum = new QLineEdit(due.toString(), this);
    FactRentSum->setObjectName(QStringLiteral("FactRentSum"));
    RadioDeposit = new QRadioButton(QStringLiteral("从押金中扣除"), this);
    RadioDeposit->setObjectName(QStringLiteral("RadioDeposit"));
    RadioDeposit->setChecked(true);
    RadioDirect = new QRadioButton(QStringLiteral("直接付租金"), this);
    RadioDirect->setObjectName(QStringLiteral("RadioDirect"));
    BtnClose = new QPushButton(QStringLiteral("关闭窗口"), this);
    BtnClose->setObjectName(QStringLiteral("BtnClose"));
    BtnClose->setDefault(true);

    auto* grid = new QGridLayout;
    rental::addAmountRow(grid, 0, QStringLiteral("本次剩余押金:"), LabDeposit);
    rental::addAmountRow(grid, 1, QStringLiteral("本次应付租金:"), LabDue);
    rental::addAmountRow(grid, 2, QStringLiteral("本次实收租金:"), FactRentSum);
    auto* radios = new QHBoxLayout;
    radios->addWidget(RadioDeposit);
    radios->addWidget(RadioDirect);
    radios->addStretch(1);
    radios->addWidget(BtnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(head);
    layout->addLayout(grid);
    layout->addLayout(radios);
    setFixedSize(sizeHint().expandedTo(QSize(400, 180)));

    connectGuarded(BtnClose, &QPushButton::clicked, this, [this] { onClose(); });
}

void TReckoningFm::onClose() {
    db::Money received;
    if (rental::isNegativeAmount(FactRentSum->text()))
        refuse(QStringLiteral("对不起,本次实收租金不能为负数!"), FactRentSum);
    if (!rental::readSettlementAmount(FactRentSum->text(), due_, &received))
        refuse(QStringLiteral("对不起,你输入的金额格式不对!"), FactRentSum);
    if (RadioDeposit->isChecked() && deposit_ < received)
        refuse(QStringLiteral("对不起,本次实收租金超过了剩余押金,不能从押金中扣除!"), FactRentSum);
    settlement_ = rental::Settlement{received, RadioDeposit->isChecked()};
    QDialog::accept();
}

std::optional<rental::Settlement> SettlePart(db::Money due, db::Money deposit, QWidget* parent) {
    TReckoningFm dialog(due, deposit, parent);
    execModal(&dialog);
    return dialog.settlement();
}
