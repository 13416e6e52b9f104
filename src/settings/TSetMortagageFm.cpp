#include "settings/TSetMortagageFm.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "common/Guard.h"
#include "settings/SettingsValues.h"

TSetMortagageFm::TSetMortagageFm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TSetMortagageFm"));
    setWindowTitle(QStringLiteral("设置默认押金"));
    QMortagageSet = new db::Query(this, QStringLiteral("QMortagageSet"));
    CaleMortagage = new QLineEdit(QStringLiteral("0"), this);
    CaleMortagage->setObjectName(QStringLiteral("CaleMortagage"));
    // Keeps typing to the characters of an amount; a text that still is none is refused on "确定".
    CaleMortagage->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[-0-9.]*")), CaleMortagage));
    BtnEnter = settings::makeButton(QStringLiteral("BtnEnter"), QStringLiteral("确定"), this);
    BtnCancel = settings::makeButton(QStringLiteral("BtnCancel"), QStringLiteral("取消"), this);

    settings::layOutValueDialog(this, QStringLiteral("设置默认押金:"), CaleMortagage, QStringLiteral("元"), BtnEnter,
                                BtnCancel);

    connectGuarded(BtnEnter, &QPushButton::clicked, this, [this] { onEnter(); });
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);

    guarded([this] {
        QMortagageSet->reopen(QStringLiteral("select * from TbMortagage"));
        CaleMortagage->setText(QMortagageSet->field(QStringLiteral("MortagageSum")).asMoney().toString());
    });
    CaleMortagage->selectAll();
}

void TSetMortagageFm::onEnter() {
    QMortagageSet->reopen(QStringLiteral("select * from TbMortagage"));
    QMortagageSet->edit();  // an empty table gets its row back here
    QMortagageSet->field(QStringLiteral("MortagageSum")).setMoney(settings::amountFromText(CaleMortagage->text()));
    QMortagageSet->post();
    accept();
}
