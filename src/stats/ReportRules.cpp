#include "stats/ReportRules.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "common/MyMessageBox.h"
#include "stats/ReportPeriod.h"
#include "stats/TReportFm.h"
#include "stats/TReportSaleFm.h"
#include "stats/TReportSortFm.h"

namespace stats {

QStringList reportRuleNames() {
    return {QStringLiteral("出租明细情况"), QStringLiteral("出租经营情况分析"), QStringLiteral("出租排行榜")};
}

QComboBox* makeRuleSelector(QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QStringLiteral("ReportRules"));
    box->addItems(reportRuleNames());
    box->setCurrentIndex(-1);
    box->setMinimumContentsLength(8);
    return box;
}

QHBoxLayout* makePeriodStrip(QWidget* parent, QComboBox* rules, QLineEdit* start, QLineEdit* end,
                             QPushButton* refresh) {
    auto* strip = new QHBoxLayout;
    strip->addWidget(new QLabel(QStringLiteral("请选择统计规则:"), parent));
    strip->addWidget(rules);
    strip->addSpacing(12);
    strip->addWidget(new QLabel(QStringLiteral("开始时间:"), parent));
    strip->addWidget(start);
    strip->addWidget(new QLabel(QStringLiteral("结束时间:"), parent));
    strip->addWidget(end);
    strip->addWidget(refresh);
    strip->addStretch(1);
    return strip;
}

QWidget* prepareRuleView(ReportRule rule, TReportFm* details, TReportSaleFm* analysis, TReportSortFm* ranking) {
    switch (rule) {
        case ReportRule::Details:
            details->ReportRules->setCurrentIndex(int(rule));
            return details;
        case ReportRule::Analysis:
            analysis->ReportRules->setCurrentIndex(int(rule));
            analysis->StartDate->setText(details->StartDate->text());
            analysis->EndDate->setText(details->EndDate->text());
            return analysis;
        case ReportRule::Ranking:
            ranking->ReportRules->setCurrentIndex(int(rule));
            return ranking;
    }
    return details;
}

QLineEdit* makeDateBox(const QString& name, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setPlaceholderText(QStringLiteral("yyyy-MM-dd"));
    box->setFixedWidth(110);
    return box;
}

Period periodFromBoxes(QLineEdit* startBox, QLineEdit* endBox) {
    const PeriodCheck check = checkPeriod(startBox->text(), endBox->text());
    switch (check.fault) {
        case PeriodFault::None:
            break;
        case PeriodFault::Missing:
            refuse(QString::fromUtf8(kMissingPeriodNotice), startBox);
        case PeriodFault::BadStart:
            refuse(QString::fromUtf8(kBadDateNotice), startBox);
        case PeriodFault::BadEnd:
            refuse(QString::fromUtf8(kBadDateNotice), endBox);
    }
    return check.period;
}

void markFilled(QWidget* figure) {
    QPalette palette = figure->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    figure->setPalette(palette);
}

}  // namespace stats
