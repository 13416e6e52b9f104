#include "settings/TcdTypeFm.h"

#include <QPushButton>

#include "common/Guard.h"
#include "common/Modal.h"
#include "settings/SettingsValues.h"
#include "settings/TAddTypesFm.h"
#include "ui/DataGrid.h"

TcdTypeFm::TcdTypeFm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TcdTypeFm"));
    Qtype = new db::Query(this, QStringLiteral("Qtype"));
    dxDBGrid7 = new ui::DataGrid(Qtype, QStringLiteral("dxDBGrid7"), this);
    dxDBGrid7->setColumns(
        {ui::GridColumn(QStringLiteral("光盘类型"), QStringLiteral("CdTypes"), ui::ColumnKind::Text)});
    dxDBGrid7->setOptions(ui::GridOptions{true, true, false, false, true});
    RzBitBtn1 = settings::makeButton(QStringLiteral("RzBitBtn1"), QStringLiteral("新增"), this);
    RzBitBtn2 = settings::makeButton(QStringLiteral("RzBitBtn2"), QStringLiteral("修改"), this);
    RzBitBtn3 = settings::makeButton(QStringLiteral("RzBitBtn3"), QStringLiteral("删除"), this);

    settings::layOutListView(this, dxDBGrid7, RzBitBtn1, RzBitBtn2, RzBitBtn3);

    connectGuarded(RzBitBtn1, &QPushButton::clicked, this, [this] { openDialog(0); });
    // On an empty list the Id reads as 0, which makes it a new type.
    connectGuarded(RzBitBtn2, &QPushButton::clicked, this,
                   [this] { openDialog(Qtype->field(QStringLiteral("Id")).asInteger()); });
    connectGuarded(RzBitBtn3, &QPushButton::clicked, this, [this] { Qtype->remove(); });

    guarded([this] {
        Qtype->reopen(QStringLiteral("select * from TCdType where CdTypes<>") +
                      jet::quoted(QStringLiteral("其它类型")));
    });
}

void TcdTypeFm::openDialog(qint64 id) {
    TAddTypesFm dialog(id, this);
    if (execModal(&dialog) != QDialog::Accepted) return;
    Qtype->refresh();
    Q_EMIT typesChanged();
}
