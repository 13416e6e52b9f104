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
#include "rental/Rentals.h"

TRechoningAllFm::TRechoningAllFm(db::Money due, db::Money deposit, QWidget* parent)
    : QDialog(parent), due_(due), deposit_(deposit), received_(due) {
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
    grid->addWidget(new QLabel(QStringLiteral("应收租金:"), this), 0, 0);
    grid->addWidget(InSum, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("元"), this), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("实收租金:"), this), 1, 0);
    grid->addWidget(InfactSum, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("元"), this), 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("当前押金:"), this), 2, 0);
    grid->addWidget(MortagageSum, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("元"), this), 2, 2);
    grid->addWidget(new QLabel(QStringLiteral("找补金额:"), this), 3, 0);
    grid->addWidget(OutSum, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("元"), this), 3, 2);
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

void TRechoningAllFm::reject() {
    guarded([this] { onClose(); });
}

void TRechoningAllFm::onClose() {
    db::Money received;
    if (!rental::readSettlementAmount(InfactSum->text(), due_, &received))
        refuse(QStringLiteral("对不起,你输入的金额格式不对!"), InfactSum);
    received_ = received;
    QDialog::accept();
}

db::Money SettleAll(db::Money due, db::Money deposit, QWidget* parent) {
    TRechoningAllFm dialog(due, deposit, parent);
    execModal(&dialog);
    return dialog.received();
}
