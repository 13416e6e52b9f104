#include "members/TFindMemberFm.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/Guard.h"
#include "common/Modal.h"
#include "common/MyMessageBox.h"
#include "members/MemberCommon.h"

namespace {
QString& keptResult() {
    static QString number;
    return number;
}
}  // namespace

TFindMemberFm::TFindMemberFm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFindMemberFm"));
    setWindowTitle(QStringLiteral("选择会员"));
    resize(640, 360);

    Q = new db::Query(this, QStringLiteral("Q"));
    dxDBGrid1 = new ui::DataGrid(Q, QStringLiteral("dxDBGrid1"), this);
    dxDBGrid1->setColumns({
        ui::GridColumn(QStringLiteral("会员编号"), QStringLiteral("PersonId"), ui::ColumnKind::Text),
        ui::GridColumn(QStringLiteral("会员名称"), QStringLiteral("MemberName"), ui::ColumnKind::Text),
        ui::GridColumn(QStringLiteral("开户日期"), QStringLiteral("OpenAccountDate"), ui::ColumnKind::Date),
        ui::GridColumn(QStringLiteral("所属制度类型"), QStringLiteral("AttributeType"), ui::ColumnKind::Text),
        ui::GridColumn(QStringLiteral("允许天数或部数"), QStringLiteral("AllowDaysOrCounts"), ui::ColumnKind::Number),
        ui::GridColumn(QStringLiteral("剩余天数或部数"), QStringLiteral("RemainDaysOrCounts"), ui::ColumnKind::Number),
    });
    ui::GridOptions options;
    options.sorting = true;
    options.striped = false;
    dxDBGrid1->setOptions(options);

    BtnEnter = new QPushButton(QStringLiteral("确定"), this);
    BtnEnter->setObjectName(QStringLiteral("BtnEnter"));
    BtnEnter->setDefault(true);
    Btncancel = new QPushButton(QStringLiteral("取消"), this);
    Btncancel->setObjectName(QStringLiteral("Btncancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BtnEnter);
    buttons->addWidget(Btncancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(dxDBGrid1, 1);
    layout->addLayout(buttons);

    guarded([this] { Q->reopen(QStringLiteral("select * from TMemberResource")); });

    connectGuarded(BtnEnter, &QPushButton::clicked, this, [this] { enter(); });
    connectGuarded(Btncancel, &QPushButton::clicked, this, [this] { cancel(); });
    // A double click picks the member, as "确定" does.
    connectGuarded(dxDBGrid1, &ui::DataGrid::rowDoubleClicked, this, [this] { enter(); });
}

QString TFindMemberFm::choose(QWidget* parent) {
    TFindMemberFm dialog(parent);
    execModal(&dialog);
    return result();
}

QString TFindMemberFm::result() {
    return keptResult();
}

void TFindMemberFm::resetResult() {
    keptResult().clear();
}

void TFindMemberFm::enter() {
    if (Q->field(QStringLiteral("RemainDaysOrCounts")).asInteger() < 1)
        refuse(QStringLiteral("对不起,此会员已无允许的天数或部数,不能进行租借操作!"), dxDBGrid1);
    keptResult() = Q->field(QStringLiteral("PersonId")).asString();
    accept();
}

void TFindMemberFm::cancel() {
    keptResult().clear();
    reject();
}
