#include "stats/TReportFm.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/Guard.h"
#include "db/Query.h"
#include "stats/RentalDetails.h"
#include "stats/ReportRules.h"
#include "ui/DataGrid.h"
#include "ui/EnterKey.h"
#include "ui/GridExport.h"

TReportFm::TReportFm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TReportFm"));
    setWindowTitle(QStringLiteral(""));

    ReportRules = stats::makeRuleSelector(this);
    StartDate = stats::makeDateBox(QStringLiteral("StartDate"), this);
    EndDate = stats::makeDateBox(QStringLiteral("EndDate"), this);
    BtnRefresh = new QPushButton(QStringLiteral("刷   新"), this);
    BtnRefresh->setObjectName(QStringLiteral("BtnRefresh"));
    auto* heading = new QLabel(QStringLiteral("出租明细报表"), this);
    heading->setObjectName(QStringLiteral("LabHeading"));
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.4);
    heading->setFont(headingFont);
    heading->setAlignment(Qt::AlignCenter);

    QDetail = new db::Query(this, QStringLiteral("QDetail"));
    dxDBGrid1 = new ui::DataGrid(QDetail, QStringLiteral("dxDBGrid1"), this);
    dxDBGrid1->setColumns({
        {QStringLiteral("发生日期"), QStringLiteral("OccurDate"), ui::ColumnKind::Date, {}, false, 110},
        {QStringLiteral("光盘编号"), QStringLiteral("CdCountId_TCdResource"), ui::ColumnKind::Text, {}, false, 130},
        {QStringLiteral("光盘名称"), QStringLiteral("CdName_TCdResource"), ui::ColumnKind::Text, {}, false, 300},
        {QStringLiteral("实际出租价格"), QStringLiteral("RentPrice"), ui::ColumnKind::Currency, {}, false, 110},
        {QStringLiteral("是否归还"), QStringLiteral("backvalue"), ui::ColumnKind::Text, {}, false, 80},
    });
    // Vertical scrolling only: the title takes what the other columns leave.
    dxDBGrid1->view()->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    dxDBGrid1->view()->header()->setStretchLastSection(false);
    dxDBGrid1->view()->header()->setSectionResizeMode(2, QHeaderView::Stretch);

    Label15 = new QLabel(QStringLiteral("0 部"), this);
    Label15->setObjectName(QStringLiteral("Label15"));
    Label16 = new QLabel(QStringLiteral("0 元"), this);
    Label16->setObjectName(QStringLiteral("Label16"));
    Label18 = new QLabel(QStringLiteral("0 元"), this);
    Label18->setObjectName(QStringLiteral("Label18"));

    QHBoxLayout* strip = stats::makePeriodStrip(this, ReportRules, StartDate, EndDate, BtnRefresh);
    auto* footer = new QHBoxLayout;
    footer->addWidget(new QLabel(QStringLiteral("当前合计出租部数:"), this));
    footer->addWidget(Label15);
    footer->addSpacing(24);
    footer->addWidget(new QLabel(QStringLiteral("当前已收回租金:"), this));
    footer->addWidget(Label16);
    footer->addSpacing(24);
    footer->addWidget(new QLabel(QStringLiteral("当前未收回租金"), this));
    footer->addWidget(Label18);
    footer->addStretch(1);
    // Shops keep their lists in spreadsheets: the details go out as shown, like every other list.
    BtnExport = new QPushButton(QStringLiteral("导出列表"), this);
    BtnExport->setObjectName(QStringLiteral("BtnExport"));
    footer->addWidget(BtnExport);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(strip);
    layout->addWidget(heading);
    layout->addWidget(dxDBGrid1, 1);
    layout->addLayout(footer);

    connectGuarded(BtnRefresh, &QPushButton::clicked, this, [this] { refresh(); });
    connectGuarded(BtnExport, &QPushButton::clicked, this,
                   [this] { ui::exportShownRows(dxDBGrid1, QStringLiteral("出租明细情况"), this); });
    connectGuarded(ReportRules, &QComboBox::activated, this, [this](int index) { Q_EMIT ruleChosen(index); });
}

void TReportFm::refresh() {
    const stats::Period period = stats::periodFromBoxes(StartDate, EndDate);
    QDetail->reopen(stats::RentalDetails::listSql(period));
    const stats::DetailTotals totals = stats::RentalDetails::totals(*QDetail);
    Label15->setText(QString::number(totals.itemCount) + QStringLiteral("部"));
    Label16->setText(totals.collected.toString() + QStringLiteral("元"));
    Label18->setText(totals.outstanding.toString() + QStringLiteral("元"));
    for (QLabel* label : {Label15, Label16, Label18}) stats::markFilled(label);
}

void TReportFm::keyPressEvent(QKeyEvent* event) {
    if (handleEnterKey(this, event, {BtnRefresh})) return;
    QWidget::keyPressEvent(event);
}
