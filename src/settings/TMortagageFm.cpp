#include "settings/TMortagageFm.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/Guard.h"
#include "common/Modal.h"
#include "settings/SettingsValues.h"
#include "settings/TSetMortagageFm.h"
#include "ui/DataGrid.h"

TMortagageFm::TMortagageFm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TMortagageFm"));
    QMortagage = new db::Query(this, QStringLiteral("QMortagage"));
    dxDBGrid8 = new ui::DataGrid(QMortagage, QStringLiteral("dxDBGrid8"), this);
    dxDBGrid8->setColumns({ui::GridColumn(QStringLiteral("当前默认押金(单位:元)"), QStringLiteral("MortagageSum"),
                                          ui::ColumnKind::Currency)});
    dxDBGrid8->setOptions(ui::GridOptions{true, true, true, false, false});
    MortagageSet = settings::makeButton(QStringLiteral("MortagageSet"), QStringLiteral("设置"), this);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(MortagageSet);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(dxDBGrid8, 1);
    layout->addLayout(buttons);

    connectGuarded(MortagageSet, &QPushButton::clicked, this, [this] {
        TSetMortagageFm dialog(this);
        if (execModal(&dialog) == QDialog::Accepted) QMortagage->refresh();
    });

    guarded([this] { QMortagage->reopen(QStringLiteral("select * from TbMortagage")); });
}
