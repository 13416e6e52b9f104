#include "settings/TPersonFm.h"

#include <QPushButton>

#include "common/Guard.h"
#include "common/Modal.h"
#include "settings/Operators.h"
#include "settings/SettingsValues.h"
#include "settings/TAddPersonFm.h"
#include "ui/DataGrid.h"

TPersonFm::TPersonFm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TPersonFm"));
    Qperson = new db::Query(this, QStringLiteral("Qperson"));
    dxDBGrid5 = new ui::DataGrid(Qperson, QStringLiteral("dxDBGrid5"), this);
    dxDBGrid5->setColumns(
        {ui::GridColumn(QStringLiteral("人员姓名"), QStringLiteral("PersonName"), ui::ColumnKind::Text)});
    dxDBGrid5->setOptions(ui::GridOptions{true, true, false, false, true});
    dxDBGrid5->addRowRule(
        [](db::Query&, int, QStyleOptionViewItem& option) { option.displayAlignment = Qt::AlignCenter; });
    PBtnNew = settings::makeButton(QStringLiteral("PBtnNew"), QStringLiteral("新增"), this);
    PBtnmodify = settings::makeButton(QStringLiteral("PBtnmodify"), QStringLiteral("修改"), this);
    PbtnDel = settings::makeButton(QStringLiteral("PbtnDel"), QStringLiteral("删除"), this);

    settings::layOutListView(this, dxDBGrid5, PBtnNew, PBtnmodify, PbtnDel);

    connectGuarded(PBtnNew, &QPushButton::clicked, this, [this] { openDialog(0); });
    // On an empty list the Id reads as 0, which makes it a new operator.
    connectGuarded(PBtnmodify, &QPushButton::clicked, this,
                   [this] { openDialog(Qperson->field(QStringLiteral("Id")).asInteger()); });
    connectGuarded(PbtnDel, &QPushButton::clicked, this, [this] { deleteOperator(); });
    // A name changed in the grid takes its rights row along, as a change in the operator dialog does; both are
    // written with the row.
    Qperson->setBeforePost([this] {
        if (Qperson->state() != db::Query::Edit) return;
        settings::Operators().followRename(Qperson->field(QStringLiteral("Id")).asInteger(),
                                           Qperson->field(QStringLiteral("PersonName")).asString());
    });

    guarded([this] {
        Qperson->reopen(QStringLiteral("select * from TPerson where PersonName<>") +
                        jet::quoted(QStringLiteral("超级用户")));
    });
}

void TPersonFm::openDialog(qint64 id) {
    TAddPersonFm dialog(id, this);
    if (execModal(&dialog) == QDialog::Accepted) Qperson->refresh();
}

void TPersonFm::deleteOperator() {
    if (Qperson->isEmpty()) return;
    // A row just inserted in the grid has no rights rows yet: dropping it is all there is to do.
    if (Qperson->state() == db::Query::Insert) return Qperson->remove();
    // A name typed in the grid and not saved is not the operator's name: the rights of the stored one go.
    if (Qperson->isEditing()) Qperson->cancel();
    const qint64 id = Qperson->field(QStringLiteral("Id")).asInteger();
    // Whatever happens, the list shows the operators as they are stored; the next one becomes current.
    try {
        settings::Operators().remove(id);
    } catch (...) {
        Qperson->refresh();
        throw;
    }
    Qperson->refresh();
}
