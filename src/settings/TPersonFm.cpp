#include "settings/TPersonFm.h"

#include <QPushButton>

#include "common/Guard.h"
#include "common/Modal.h"
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
    // A name changed in the grid takes its rights row along, as a change in the operator dialog does.
    Qperson->setBeforePost([this] {
        if (Qperson->state() != db::Query::Edit) return;
        const qint64 id = Qperson->field(QStringLiteral("Id")).asInteger();
        db::Query stored;
        stored.reopen(QStringLiteral("select * from TPerson where id=") + QString::number(id));
        renaming_ = {id, stored.field(QStringLiteral("PersonName")).asString()};
    });
    connectGuarded(Qperson, &db::Query::stateChanged, this, [this] {
        if (!renaming_ || Qperson->isEditing()) return;
        const Renaming was = *renaming_;
        renaming_.reset();
        db::Query stored;
        stored.reopen(QStringLiteral("select * from TPerson where id=") + QString::number(was.id));
        if (!stored.isEmpty())
            settings::followRename(was.oldName, stored.field(QStringLiteral("PersonName")).asString());
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
    // The rights rows go with the operator, so the name cannot be logged in with any more.
    db::Query rights;
    rights.execSql(QStringLiteral("delete * from TAuthority where UserName=") +
                   jet::quoted(Qperson->field(QStringLiteral("PersonName")).asString()));
    Qperson->remove();
}
