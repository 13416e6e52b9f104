#include "settings/TSetTimelimitedFm.h"

#include <QLineEdit>
#include <QPushButton>

#include "common/Guard.h"
#include "settings/SettingsValues.h"

TSetTimelimitedFm::TSetTimelimitedFm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TSetTimelimitedFm"));
    setWindowTitle(QStringLiteral("设置时间限制"));
    QSetTimelimited = new db::Query(this, QStringLiteral("QSetTimelimited"));
    SetTimelimited = new QLineEdit(this);
    SetTimelimited->setObjectName(QStringLiteral("SetTimelimited"));
    BtnOk = settings::makeButton(QStringLiteral("BtnOk"), QStringLiteral("确定"), this);
    BtnCancel = settings::makeButton(QStringLiteral("BtnCancel"), QStringLiteral("取消"), this);

    settings::layOutValueDialog(this, QStringLiteral("设置默认时间限制:"), SetTimelimited, QStringLiteral("天"), BtnOk,
                                BtnCancel);

    connectGuarded(BtnOk, &QPushButton::clicked, this, [this] { onOk(); });
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);

    guarded([this] {
        QSetTimelimited->reopen(QStringLiteral("select * from Timelimited"));
        // An empty table reads as 0.
        SetTimelimited->setText(QString::number(QSetTimelimited->field(QStringLiteral("timelimited")).asInteger()));
    });
    SetTimelimited->selectAll();
}

void TSetTimelimitedFm::onOk() {
    QSetTimelimited->reopen(QStringLiteral("select * from Timelimited"));
    QSetTimelimited->edit();  // an empty table gets its row back here
    QSetTimelimited->field(QStringLiteral("timelimited")).setInteger(settings::integerFromText(SetTimelimited->text()));
    QSetTimelimited->post();
    accept();
}
