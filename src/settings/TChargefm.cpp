#include "settings/TChargefm.h"

#include <QPushButton>

#include "common/Guard.h"
#include "common/Modal.h"
#include "settings/SettingsValues.h"
#include "settings/TAddChargeStandardFm.h"
#include "ui/DataGrid.h"

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

    settings::layOutListView(this, dxDBGrid6, chargeadd, chargemodify, chargedel);

    connectGuarded(chargeadd, &QPushButton::clicked, this, [this] { openDialog(0); });
    // On an empty list the Id reads as 0, which makes it a new standard.
    connectGuarded(chargemodify, &QPushButton::clicked, this,
                   [this] { openDialog(Qcharge->field(QStringLiteral("Id")).asInteger()); });
    connectGuarded(chargedel, &QPushButton::clicked, this, [this] { Qcharge->remove(); });

    guarded([this] {
        Qcharge->reopen(QStringLiteral("select * from TChargeStandard where ChargeName<>") +
                        jet::quoted(QStringLiteral("默认标准")));
    });
}

void TChargefm::openDialog(qint64 id) {
    TAddChargeStandardFm dialog(id, this);
    if (execModal(&dialog) == QDialog::Accepted) Qcharge->refresh();
}
