#include "settings/TTimelimitFm.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/Guard.h"
#include "common/Modal.h"
#include "settings/SettingsValues.h"
#include "settings/TSetTimelimitedFm.h"
#include "ui/DataGrid.h"

TTimelimitFm::TTimelimitFm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TTimelimitFm"));
    Qtimelimited = new db::Query(this, QStringLiteral("Qtimelimited"));
    QAwoke = new db::Query(this, QStringLiteral("QAwoke"));

    AwokeCheckBox = new QCheckBox(QStringLiteral("启用时间限制到期提醒,若出租后"), this);
    AwokeCheckBox->setObjectName(QStringLiteral("AwokeCheckBox"));
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    QFont bold = Label2->font();
    bold.setBold(true);
    Label2->setFont(bold);
    auto* tail = new QLabel(QStringLiteral("天未还的碟片，在提醒功能模块中有列表显示[下次启动时生效!]。"), this);
    dxDBGrid10 = new ui::DataGrid(Qtimelimited, QStringLiteral("dxDBGrid10"), this);
    dxDBGrid10->setColumns({ui::GridColumn(QStringLiteral("当前默认时间限制(单位：天）"), QStringLiteral("timelimited"),
                                           ui::ColumnKind::Number)});
    dxDBGrid10->setOptions(ui::GridOptions{true, true, false, false, false});
    TimeSet = settings::makeButton(QStringLiteral("TimeSet"), QStringLiteral("设置"), this);

    auto* sentence = new QHBoxLayout;
    sentence->addWidget(AwokeCheckBox);
    sentence->addWidget(Label2);
    sentence->addWidget(tail);
    sentence->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(TimeSet);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sentence);
    layout->addWidget(dxDBGrid10, 1);
    layout->addLayout(buttons);

    // A click by the operator is stored at once; ticking the box below at creation is not.
    connectGuarded(AwokeCheckBox, &QCheckBox::clicked, this, [this] { storeReminderSwitch(); });
    connectGuarded(TimeSet, &QPushButton::clicked, this, [this] {
        TSetTimelimitedFm dialog(this);
        if (execModal(&dialog) == QDialog::Accepted) Qtimelimited->refresh();
    });

    guarded([this] {
        Qtimelimited->reopen(QStringLiteral("select * from Timelimited"));
        // Read only here: after a change the sentence keeps the old number until the next start.
        Label2->setText(QString::number(Qtimelimited->field(QStringLiteral("timelimited")).asInteger()));
    });
    guarded([this] {
        QAwoke->reopen(QStringLiteral("select Awoke from TbAwoke"));
        AwokeCheckBox->setChecked(QAwoke->field(QStringLiteral("Awoke")).asString() == QStringLiteral("是"));
    });
}

void TTimelimitFm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shownBefore_) return;
    shownBefore_ = true;
    AwokeCheckBox->setFocus();
}

void TTimelimitFm::storeReminderSwitch() {
    QAwoke->reopen(QStringLiteral("select Awoke from TbAwoke"));
    QAwoke->edit();
    QAwoke->field(QStringLiteral("Awoke"))
        .setString(AwokeCheckBox->isChecked() ? QStringLiteral("是") : QStringLiteral("否"));
    QAwoke->post();
}
