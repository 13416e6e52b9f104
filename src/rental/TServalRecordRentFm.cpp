#include "rental/TServalRecordRentFm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/Guard.h"
#include "common/Modal.h"
#include "common/MyMessageBox.h"
#include "db/Errors.h"

namespace {
// The text as a like pattern that matches only itself: each wildcard character stands in brackets.
QString literalPattern(const QString& text) {
    QString pattern;
    for (const QChar c : text) {
        if (c == u'*' || c == u'?' || c == u'#' || c == u'[')
            pattern += u'[' + QString(c) + u']';
        else
            pattern += c;
    }
    return pattern;
}
}  // namespace

TServalRecordRentFm::TServalRecordRentFm(Mode mode, const QString& number, const QString& name, QWidget* parent,
                                         const QString& held)
    : QDialog(parent), mode_(mode) {
    setObjectName(QStringLiteral("TServalRecordRentFm"));
    setWindowTitle(QStringLiteral("记录详况:"));
    Q = new db::Query(this, QStringLiteral("Q"));

    LabHead = new QLabel(this);
    LabHead->setObjectName(QStringLiteral("LabHead"));
    LabHead->setStyleSheet(QStringLiteral("color: red"));
    dxDBGrid1 = new ui::DataGrid(Q, QStringLiteral("dxDBGrid1"), this);
    dxDBGrid1->setColumns({{QStringLiteral("光盘编号"), QStringLiteral("CdCountId"), ui::ColumnKind::Text, {}},
                           {QStringLiteral("光盘名称"), QStringLiteral("CdCountName"), ui::ColumnKind::Text, {}},
                           {QStringLiteral("集数"), QStringLiteral("CdNumber"), ui::ColumnKind::Text, {}},
                           {QStringLiteral("当前剩余套数"), QStringLiteral("Stock"), ui::ColumnKind::Number, {}}});
    // Both lists are only looked at.
    dxDBGrid1->setOptions(ui::GridOptions{false, false, true, false, true});
    BtnOk = new QPushButton(this);
    BtnOk->setObjectName(QStringLiteral("BtnOk"));
    BtnCancel = new QPushButton(QStringLiteral("取消"), this);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BtnOk);
    buttons->addWidget(BtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LabHead);
    layout->addWidget(dxDBGrid1, 1);
    layout->addLayout(buttons);
    setFixedSize(560, 360);

    if (mode == Mode::Details) {
        LabHead->setText(QStringLiteral("当前连续剧的详细记录如下"));
        BtnOk->setText(QStringLiteral("关闭窗口"));
        BtnCancel->hide();
        // A volume's number is its title's number, "-" and its discs: matching the start keeps S10's volumes out of
        // the list of S1.
        Q->reopen(QStringLiteral("select * from Sitcom where CdCountId like ") +
                  jet::quoted(literalPattern(number) + QStringLiteral("-*")));
        connect(BtnOk, &QPushButton::clicked, this, &QDialog::accept);
    } else {
        LabHead->setText(QStringLiteral("当前库存不为零的记录如下列表所示，请选择一条进行操作："));
        BtnOk->setText(QStringLiteral("确定"));
        BtnOk->setDefault(true);
        // The volume held for the entry counts as taken already.
        const QString columns =
            held.isEmpty()
                ? QStringLiteral("*")
                : QStringLiteral("Id, CdId, CdCountId, CdCountName, CdNumber, BuySeriesCount, iif(CdCountId=") +
                      jet::quoted(held) + QStringLiteral(",Stock-1,Stock) as Stock");
        if (!number.isEmpty())
            Q->reopen(QStringLiteral("select ") + columns + QStringLiteral(" from Sitcom where CdCountId like ") +
                      jet::containsPattern(number));
        else
            Q->reopen(QStringLiteral("select ") + columns + QStringLiteral(" from Sitcom where CdCountName like ") +
                      jet::containsPattern(name));
        connectGuarded(BtnOk, &QPushButton::clicked, this, [this] { onOk(); });
        connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    }
}

void TServalRecordRentFm::onOk() {
    if (Q->isEmpty()) return;
    if (Q->field("Stock").asInteger() <= 0) refuse(QStringLiteral("对不起,连续剧的此集已无库存,不能进行出租操作!"));
    chosenCountId_ = Q->field("CdCountId").asString();
    chosenName_ = Q->field("CdCountName").asString();
    accept();
}

int SelectSeriesVolume(const QString& number, const QString& name, TServalRecordRentFm::Mode mode, QWidget* parent,
                       QString* countId, QString* volumeName, const QString& held) {
    TServalRecordRentFm list(mode, number, name, parent, held);
    const int result = execModal(&list);
    if (mode == TServalRecordRentFm::Mode::Details || result != QDialog::Accepted) return 0;
    if (countId) *countId = list.chosenCountId();
    if (volumeName) *volumeName = list.chosenName();
    return 1;
}
