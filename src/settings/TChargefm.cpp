#include "settings/TChargefm.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Guard.h"
#include "app/Modal.h"
#include "app/Views.h"
#include "settings/SettingsValues.h"
#include "settings/TAddChargeStandardFm.h"
#include "settings/TcdsetFm.h"
#include "ui/DataGrid.h"
#include "ui/DockArea.h"

TChargefm::TChargefm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TChargefm"));
    Qcharge = new db::Query(this, QStringLiteral("Qcharge"));
    dxDBGrid6 = new ui::DataGrid(Qcharge, QStringLiteral("dxDBGrid6"), this);
    dxDBGrid6->setColumns(
        {ui::GridColumn(QStringLiteral("资费标准名称"), QStringLiteral("ChargeName"), ui::ColumnKind::Text, {}, false,
                        240),
         ui::GridColumn(QStringLiteral("租金"), QStringLiteral("RentSum"), ui::ColumnKind::Currency)});
    dxDBGrid6->setOptions(ui::GridOptions{true, true, true, false, true});
    chargeadd = settings::makeButton(QStringLiteral("chargeadd"), QStringLiteral("新增"), this);
    chargemodify = settings::makeButton(QStringLiteral("chargemodify"), QStringLiteral("修改"), this);
    chargedel = settings::makeButton(QStringLiteral("chargedel"), QStringLiteral("删除"), this);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(chargeadd);
    buttons->addWidget(chargemodify);
    buttons->addWidget(chargedel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(dxDBGrid6, 1);
    layout->addLayout(buttons);

    connectGuarded(chargeadd, &QPushButton::clicked, this, [this] { openDialog(0); });
    // On an empty list the Id reads as 0, which makes it a new standard.
    connectGuarded(chargemodify, &QPushButton::clicked, this,
                   [this] { openDialog(Qcharge->field(QStringLiteral("Id")).asInteger()); });
    connectGuarded(chargedel, &QPushButton::clicked, this, [this] { Qcharge->remove(); });
    // "删除" follows the list: enabled exactly while it has rows.
    auto follow = [this] { chargedel->setEnabled(Qcharge->recordCount() > 0); };
    connect(Qcharge, &db::Query::dataChanged, this, follow);
    connect(Qcharge, &db::Query::rowsChanged, this, follow);
    follow();

    // Lives in the settings hub's content area, and shows there before any button is pressed.
    if (views().cdset) views().cdset->PanelSetting->dock(this);
    guarded([this] {
        Qcharge->reopen(QStringLiteral("select * from TChargeStandard where ChargeName<>") +
                        jet::quoted(QStringLiteral("默认标准")));
    });
}

void TChargefm::openDialog(qint64 id) {
    TAddChargeStandardFm dialog(id, this);
    if (execModal(&dialog) == QDialog::Accepted) Qcharge->refresh();
}
