#include "rental/TAwokeFm.h"

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

#include "common/Guard.h"
#include "db/Connection.h"
#include "db/Query.h"
#include "rental/OverdueList.h"
#include "ui/DataGrid.h"

TAwokeFm::TAwokeFm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TAwokeFm"));
    setWindowTitle(QStringLiteral("逾期提醒"));

    LabAwoke = new QLabel(this);
    LabAwoke->setObjectName(QStringLiteral("LabAwoke"));
    QFont bold = LabAwoke->font();
    bold.setBold(true);
    LabAwoke->setFont(bold);
    LabAwoke->setWordWrap(true);

    PanelList = new QFrame(this);
    PanelList->setObjectName(QStringLiteral("PanelList"));
    Qnotback = new db::Query(this, QStringLiteral("Qnotback"));
    dxDBGrid1 = new ui::DataGrid(Qnotback, QStringLiteral("dxDBGrid1"), PanelList);
    dxDBGrid1->setColumns({
        {QStringLiteral("租借日期"), QStringLiteral("OccurDate"), ui::ColumnKind::Date, {}, false, 110},
        {QStringLiteral("碟片编号"), QStringLiteral("CdCountId_TCdResource"), ui::ColumnKind::Text, {}, false, 130},
        {QStringLiteral("碟片名称"), QStringLiteral("CdName_TCdResource"), ui::ColumnKind::Text, {}, false, 300},
        {QStringLiteral("出租价格"), QStringLiteral("RentPrice"), ui::ColumnKind::Currency, {}, false, 100},
    });
    // The title takes what the other columns leave.
    dxDBGrid1->view()->header()->setStretchLastSection(false);
    dxDBGrid1->view()->header()->setSectionResizeMode(2, QHeaderView::Stretch);
    dxDBGrid1->view()->setSelectionBehavior(QAbstractItemView::SelectRows);
    auto* panelLayout = new QVBoxLayout(PanelList);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->addWidget(dxDBGrid1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LabAwoke);
    layout->addWidget(PanelList, 1);
}

void TAwokeFm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Built once a run: docking the view again shows the list as it was then.
    if (shownBefore_) return;
    shownBefore_ = true;
    guarded([this] { buildList(); });
}

void TAwokeFm::buildList() {
    const rental::OverdueList overdue(db::Connection::shared());
    if (!overdue.remindersOn()) {
        QPalette palette = LabAwoke->palette();
        palette.setColor(QPalette::WindowText, Qt::red);
        LabAwoke->setPalette(palette);
        LabAwoke->setText(rental::OverdueList::switchedOffNotice());
        PanelList->hide();
        return;
    }
    PanelList->show();
    const qint64 limit = overdue.timeLimit();
    LabAwoke->setText(rental::OverdueList::heading(limit));
    Qnotback->reopen(rental::OverdueList::listSql(limit));
}
