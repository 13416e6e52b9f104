#include "rental/TSelectcdFm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/Guard.h"
#include "common/Modal.h"
#include "common/MyMessageBox.h"
#include "rental/TServalRecordRentFm.h"

TSelectcdFm::TSelectcdFm(const QString& number, const QString& name, QWidget* parent, const QString& held)
    : QDialog(parent), held_(held) {
    setObjectName(QStringLiteral("TSelectcdFm"));
    setWindowTitle(QStringLiteral("选择窗口"));
    Q = new db::Query(this, QStringLiteral("Q"));

    dxDBGrid1 = new ui::DataGrid(Q, QStringLiteral("dxDBGrid1"), this);
    dxDBGrid1->setColumns({
        ui::GridColumn(QStringLiteral("光盘编号"), QStringLiteral("CountId")),
        ui::GridColumn(QStringLiteral("光盘名称"), QStringLiteral("CdName")),
        ui::GridColumn(QStringLiteral("盘片数"), QStringLiteral("PerPieces"), ui::ColumnKind::Number),
        ui::GridColumn(QStringLiteral("库存"), QStringLiteral("stock"), ui::ColumnKind::Number),
        ui::GridColumn(QStringLiteral("出租价格"), QStringLiteral("RentPrice"), ui::ColumnKind::Currency),
        ui::GridColumn(QStringLiteral("属DVD或VCD"), QStringLiteral("CdDvdOrVcd")),
        ui::GridColumn(QStringLiteral("类型"), QStringLiteral("Types")),
        ui::GridColumn(QStringLiteral("是否属连续剧"), QStringLiteral("SitComYesOrNo")),
    });
    dxDBGrid1->setOptions(ui::GridOptions{false, false, true, false, true});
    LabHead = new QLabel(QStringLiteral("根据所输光盘名称或编号查出有多条光盘记录,请选择一条记录进行出租操作!"), this);
    LabHead->setObjectName(QStringLiteral("LabHead"));
    LabHead->setStyleSheet(QStringLiteral("color: red"));
    BtnOk = new QPushButton(QStringLiteral("确定"), this);
    BtnOk->setObjectName(QStringLiteral("BtnOk"));
    BtnOk->setDefault(true);
    BtnCancel = new QPushButton(QStringLiteral("取消"), this);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    BtnCancel->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(LabHead, 1);
    buttons->addWidget(BtnOk);
    buttons->addWidget(BtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(dxDBGrid1, 1);
    layout->addLayout(buttons);
    resize(820, 380);

    Q->reopen(rental::DiscLookup::listSql(number, name));
    connectGuarded(BtnOk, &QPushButton::clicked, this, [this] { onOk(); });
    connectGuarded(dxDBGrid1, &ui::DataGrid::rowDoubleClicked, this, [this] { onOk(); });
    connect(BtnCancel, &QPushButton::clicked, this, &TSelectcdFm::reject);
}

void TSelectcdFm::reject() {
    result_ = -1;
    QDialog::reject();
}

void TSelectcdFm::onOk() {
    if (Q->isEmpty()) return;
    const qint64 id = Q->field(QStringLiteral("ID")).asInteger();
    if (Q->field(QStringLiteral("SitComYesOrNo")).asString() != QStringLiteral("是")) {
        if (Q->field(QStringLiteral("stock")).asInteger() < 1)
            refuse(QStringLiteral("对不起,此碟片已无库存,不能进行出租操作!"), dxDBGrid1->view());
        result_ = int(id);
        accept();
        return;
    }
    QString number, volumeName;
    if (SelectSeriesVolume({}, Q->field(QStringLiteral("CdName")).asString(), TServalRecordRentFm::Mode::Choose, this,
                           &number, &volumeName, held_) != 1)
        return;
    // The list keeps the series title for the caller's type and price.
    const auto title = rental::DiscLookup().byId(id);
    if (title) series_ = *title;
    volumeNumber_ = number;
    volumeName_ = volumeName;
    result_ = 0;
    accept();
}

DiscChoice SelectDisc(const QString& number, const QString& name, QWidget* parent, const QString& held) {
    TSelectcdFm list(number, name, parent, held);
    execModal(&list);
    return {list.result(), list.seriesTitle(), list.volumeNumber(), list.volumeName()};
}
