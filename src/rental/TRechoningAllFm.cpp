#include "rental/TRechoningAllFm.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/Guard.h"
#include "common/Modal.h"
#include "common/MyMessageBox.h"
#include "rental/AmountRow.h"
#include "rental/Rentals.h"

TRechoningAllFm::TRechoningAllFm(db::Money due, db::Money deposit, QWidget* parent)
    : QDialog(parent), due_(due), deposit_(deposit) {
    setObjectName(QStringLiteral("TRechoningAllFm"));
    setWindowTitle(QStringLiteral("结算"));
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint);

    auto* head = new QLabel(QStringLiteral("本笔业务结算清单:"), this);
    head->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
    auto* hint = new QLabel(QStringLiteral("(若未在实收(退)金额处填写,则系统按应收金额进行计算统计)"), this);
    InSum = new QLabel(due.toString(), this);
    InSum->setObjectName(QStringLiteral("InSum"));
    InfactSum = new QLineEdit(due.toString(), this);
    InfactSum->setObjectName(QStringLiteral("InfactSum"));
    MortagageSum = new QLabel(deposit.toString(), this);
    MortagageSum->setObjectName(QStringLiteral("MortagageSum"));
    MortagageSum->setStyleSheet(QStringLiteral("color: red"));
    OutSum = new QLabel((deposit - due).toString(), this);
    OutSum->setObjectName(QStringLiteral("OutSum"));
    OutSum->setStyleSheet(QStringLiteral("color: red; font-weight: bold; font-size: 16pt"));
    BtnClose = new QPushButton(QStringLiteral("关闭窗口"), this);
    BtnClose->setObjectName(QStringLiteral("BtnClose"));
    BtnClose->setDefault(true);

    auto* grid = new QGridLayout;
    rental::addAmountRow(grid, 0, QStringLiteral("应收租金:"), InSum);
    rental::addAmountRow(grid, 1, QStringLiteral("实收租金:"), InfactSum);
    rental::addAmountRow(grid, 2, QStringLiteral("当前押金:"), MortagageSum);
    rental::addAmountRow(grid, 3, QStringLiteral("找补金额:"), OutSum);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BtnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(head);
    layout->addWidget(hint);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(420, 220)));

    connectGuarded(InfactSum, &QLineEdit::textChanged, this, [this](const QString& text) { showChange(text); });
    connectGuarded(BtnClose, &QPushButton::clicked, this, [this] { onClose(); });
}

void TRechoningAllFm::showChange(const QString& text) {
    if (text.trimmed().isEmpty()) return;
    db::Money typed;
    // A half-typed amount leaves the change as it was until the text reads as money again.
    if (db::Money::tryParse(text, &typed)) OutSum->setText((deposit_ - typed).toString());
}

void TRechoningAllFm::onClose() {
    db::Money received;
    if (rental::isNegativeAmount(InfactSum->text())) refuse(QStringLiteral("对不起,实收租金不能为负数!"), InfactSum);
    if (!rental::readSettlementAmount(InfactSum->text(), due_, &received))
        refuse(QStringLiteral("对不起,你输入的金额格式不对!"), InfactSum);
    received_ = received;
    QDialog::accept();
}

std::optional<db::Money> SettleAll(db::Money due, db::Money deposit, QWidget* parent) {
    TRechoningAllFm dialog(due, deposit, parent);
    execModal(&dialog);
    return dialog.received();
}
