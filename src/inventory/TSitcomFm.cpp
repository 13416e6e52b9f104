#include "inventory/TSitcomFm.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TSitcomFm::TSitcomFm(qint64 seriesId, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TSitcomFm"));
    setWindowTitle(QStringLiteral("连续剧"));
    Q = new db::Query(this, QStringLiteral("Q"));

    GridMain = new ui::DataGrid(Q, QStringLiteral("GridMain"), this);
    GridMain->setColumns({{QStringLiteral("光盘每集编号"), QStringLiteral("CdCountId"), ui::ColumnKind::Text, {}},
                          {QStringLiteral("所属集数"), QStringLiteral("CdNumber"), ui::ColumnKind::Text, {}}});
    GridMain->setOptions(ui::GridOptions{true, true, true, false, true});
    BtnClose = new QPushButton(QStringLiteral("关闭窗口"), this);
    BtnClose->setObjectName(QStringLiteral("BtnClose"));
    connect(BtnClose, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BtnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GridMain, 1);
    layout->addLayout(buttons);
    setFixedSize(400, 360);

    Q->reopen(QStringList{QStringLiteral("Select * from sitcom where cdid="), QString::number(seriesId)});
}
