#include "stats/TReportSortFm.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "common/Guard.h"
#include "db/Connection.h"
#include "stats/PieChart.h"
#include "stats/RentalRanking.h"
#include "stats/ReportRules.h"

TReportSortFm::TReportSortFm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TReportSortFm"));
    setWindowTitle(QStringLiteral(""));

    ReportRules = stats::makeRuleSelector(this);
    LabCaption = new QLabel(QStringLiteral("光盘出租排行榜："), this);
    LabCaption->setObjectName(QStringLiteral("LabCaption"));
    QFont captionFont = LabCaption->font();
    captionFont.setBold(true);
    LabCaption->setFont(captionFont);
    Chart1 = new stats::PieChart(this);
    Chart1->setTitle(QStringLiteral("光盘出租排行历史情况一览表"));
    LabNote = new QLabel(QStringLiteral("(注:此统计不包括连续剧)"), this);
    LabNote->setObjectName(QStringLiteral("LabNote"));

    auto* leftStrip = new QVBoxLayout;
    leftStrip->addWidget(new QLabel(QStringLiteral("请选择统计规则:"), this));
    leftStrip->addWidget(ReportRules);
    leftStrip->addStretch(1);
    auto* middle = new QVBoxLayout;
    middle->addWidget(LabCaption);
    middle->addWidget(Chart1, 1);
    middle->addWidget(LabNote);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(leftStrip);
    layout->addLayout(middle, 1);
    layout->addSpacing(24);  // the empty strip on the right

    connectGuarded(ReportRules, &QComboBox::activated, this, [this](int index) { Q_EMIT ruleChosen(index); });
}

void TReportSortFm::reloadRanking() {
    Chart1->setSlices(stats::RentalRanking::read(db::Connection::shared()));
}

void TReportSortFm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Read each time the view comes up, so that rentals made since start-up are in the chart.
    guarded([this] { reloadRanking(); });
}
