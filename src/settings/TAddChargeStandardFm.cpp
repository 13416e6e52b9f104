#include "settings/TAddChargeStandardFm.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "common/Guard.h"
#include "settings/SettingsValues.h"

TAddChargeStandardFm::TAddChargeStandardFm(qint64 id, QWidget* parent) : QDialog(parent), id_(id) {
    setObjectName(QStringLiteral("TAddChargeStandardFm"));
    Q = new db::Query(this, QStringLiteral("Q"));
    ChargeName = new QLineEdit(this);
    ChargeName->setObjectName(QStringLiteral("ChargeName"));
    RentSum = new QLineEdit(QStringLiteral("0"), this);
    RentSum->setObjectName(QStringLiteral("RentSum"));
    RentSum->setAlignment(Qt::AlignRight);
    // Keeps typing to the characters of an amount; a text that still is none is refused on "确定".
    RentSum->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[-0-9.]*")), RentSum));
    BtnOk = settings::makeButton(QStringLiteral("BtnOk"), QStringLiteral("确定"), this);
    BtnCancel = settings::makeButton(QStringLiteral("BtnCancel"), QStringLiteral("取消"), this);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("收费项目名称："), this), 0, 0);
    grid->addWidget(ChargeName, 0, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("租金/计费周期："), this), 1, 0);
    grid->addWidget(RentSum, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("元"), this), 1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(settings::buttonRow(BtnOk, BtnCancel));
    setMinimumWidth(320);

    connectGuarded(BtnOk, &QPushButton::clicked, this, [this] { onOk(); });
    connectGuarded(BtnCancel, &QPushButton::clicked, this, [this] {
        if (Q->isActive()) Q->cancel();
        reject();
    });

    if (id_ == 0) {
        setWindowTitle(QStringLiteral("新增资费标准名称"));
        return;
    }
    setWindowTitle(QStringLiteral("修改资费标准名称"));
    guarded([this] {
        Q->reopen(rowText());
        ChargeName->setText(Q->field(QStringLiteral("ChargeName")).asString());
        RentSum->setText(Q->field(QStringLiteral("RentSum")).asMoney().toString());
    });
}

void TAddChargeStandardFm::keyPressEvent(QKeyEvent* event) {
    // Enter after the name goes on to the amount; Enter anywhere else takes the focused or the default button.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && ChargeName->hasFocus()) {
        RentSum->setFocus(Qt::TabFocusReason);
        RentSum->selectAll();
        return;
    }
    QDialog::keyPressEvent(event);
}

QString TAddChargeStandardFm::rowText() const {
    return QStringLiteral("select * from TChargeStandard where id=") + QString::number(id_);
}

void TAddChargeStandardFm::onOk() {
    if (id_ != 0) {
        Q->reopen(rowText());
        Q->edit();
    } else {
        Q->reopen(QStringLiteral("select * from TChargeStandard where id=-1"));
        Q->append();
    }
    Q->field(QStringLiteral("ChargeName")).setString(ChargeName->text());
    // An empty text leaves the amount empty; a text that is not a number ends here and nothing is saved.
    Q->field(QStringLiteral("RentSum")).setString(RentSum->text());
    Q->post();
    accept();
}
