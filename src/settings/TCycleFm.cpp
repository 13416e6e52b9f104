#include "settings/TCycleFm.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/Guard.h"
#include "common/Modal.h"
#include "settings/SettingsValues.h"
#include "settings/TSetCycleFm.h"
#include "ui/DataGrid.h"

TCycleFm::TCycleFm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TCycleFm"));
    Qcycle = new db::Query(this, QStringLiteral("Qcycle"));
    dxDBGrid9 = new ui::DataGrid(Qcycle, QStringLiteral("dxDBGrid9"), this);
    dxDBGrid9->setColumns(
        {ui::GridColumn(QStringLiteral("当前默认计费周期(单位:天)"), QStringLiteral("Cycle"), ui::ColumnKind::Number)});
    dxDBGrid9->setOptions(ui::GridOptions{true, true, false, false, true});
    FlatCheckBox1 = new QCheckBox(QStringLiteral("不启用计费周期,即无论多少天按一天计算"), this);
    FlatCheckBox1->setObjectName(QStringLiteral("FlatCheckBox1"));
    // No charge computation reads the cycle, so the switch would change nothing: it is shown but cannot be ticked.
    FlatCheckBox1->setEnabled(false);
    CycleSet = settings::makeButton(QStringLiteral("CycleSet"), QStringLiteral("设置"), this);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(FlatCheckBox1);
    buttons->addStretch(1);
    buttons->addWidget(CycleSet);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(dxDBGrid9, 1);
    layout->addLayout(buttons);

    connectGuarded(CycleSet, &QPushButton::clicked, this, [this] {
        TSetCycleFm dialog(this);
        if (execModal(&dialog) == QDialog::Accepted) Qcycle->refresh();
    });

    guarded([this] { Qcycle->reopen(QStringLiteral("select * from CdCycle")); });
}
