#include "settings/TSetCycleFm.h"

#include <QLineEdit>
#include <QPushButton>

#include "common/Guard.h"
#include "settings/SettingsValues.h"

TSetCycleFm::TSetCycleFm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TSetCycleFm"));
    setWindowTitle(QStringLiteral("设置默认计费周期"));
    QSetCycle = new db::Query(this, QStringLiteral("QSetCycle"));
    SetCycle = new QLineEdit(this);
    SetCycle->setObjectName(QStringLiteral("SetCycle"));
    BtnEnter = settings::makeButton(QStringLiteral("BtnEnter"), QStringLiteral("确定"), this);
    BtnCancel = settings::makeButton(QStringLiteral("BtnCancel"), QStringLiteral("取消"), this);

    settings::layOutValueDialog(this, QStringLiteral("设置默认计费周期:"), SetCycle, QStringLiteral("天"), BtnEnter,
                                BtnCancel);

    connectGuarded(BtnEnter, &QPushButton::clicked, this, [this] { onEnter(); });
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);

    guarded([this] {
        QSetCycle->reopen(QStringLiteral("select * from CdCycle"));
        // An empty table reads as 0.
        SetCycle->setText(QString::number(QSetCycle->field(QStringLiteral("Cycle")).asInteger()));
    });
    SetCycle->selectAll();
}

void TSetCycleFm::onEnter() {
    QSetCycle->reopen(QStringLiteral("select * from CdCycle"));
    QSetCycle->edit();  // an empty table gets its row back here
    QSetCycle->field(QStringLiteral("Cycle")).setInteger(settings::integerFromText(SetCycle->text()));
    QSetCycle->post();
    accept();
}
