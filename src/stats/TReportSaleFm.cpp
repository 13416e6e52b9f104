#include "stats/TReportSaleFm.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

#include "common/Guard.h"
#include "common/TProgessBarFm.h"
#include "db/Connection.h"
#include "stats/IncomeFigures.h"
#include "stats/ReportRules.h"
#include "ui/EnterKey.h"

namespace {
constexpr int kStepPauseMs = 200;
}  // namespace

TReportSaleFm::TReportSaleFm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TReportSaleFm"));
    setWindowTitle(QStringLiteral("出租经营情况分析"));

    ReportRules = stats::makeRuleSelector(this);
    StartDate = stats::makeDateBox(QStringLiteral("StartDate"), this);
    EndDate = stats::makeDateBox(QStringLiteral("EndDate"), this);
    BtnRefresh = new QPushButton(QStringLiteral("刷   新"), this);
    BtnRefresh->setObjectName(QStringLiteral("BtnRefresh"));

    auto* business = new QGroupBox(QStringLiteral("经营情况:"), this);
    auto* businessGrid = new QGridLayout(business);
    RentCount = addFigure(businessGrid, QStringLiteral("总租借部数:"), QStringLiteral("RentCount"), false,
                          QStringLiteral("部"));
    BackCount = addFigure(businessGrid, QStringLiteral("总返还部数:"), QStringLiteral("BackCount"), false,
                          QStringLiteral("部"));
    RemainCount = addFigure(businessGrid, QStringLiteral("当前库存部数:"), QStringLiteral("RemainCount"), false,
                            QStringLiteral("部"));
    PersonRentCount = addFigure(businessGrid, QStringLiteral("零客户租借部数:"), QStringLiteral("PersonRentCount"),
                                false, QStringLiteral("部"));
    PersonBackCount = addFigure(businessGrid, QStringLiteral("零客户返还部数:"), QStringLiteral("PersonBackCount"),
                                false, QStringLiteral("部"));
    MemberRentCount = addFigure(businessGrid, QStringLiteral("会员租借部数:"), QStringLiteral("MemberRentCount"), false,
                                QStringLiteral("部"));
    MemberBackCount = addFigure(businessGrid, QStringLiteral("会员返还部数:"), QStringLiteral("MemberBackCount"), false,
                                QStringLiteral("部"));
    businessGrid->setColumnStretch(3, 1);

    auto* funds = new QGroupBox(QStringLiteral("资金情况:"), this);
    auto* fundsGrid = new QGridLayout(funds);
    PersonRentMoney = addFigure(fundsGrid, QStringLiteral("零客户已付租金:"), QStringLiteral("PersonRentMoney"), true,
                                QStringLiteral("元"));
    PersonRentnoMoney = addFigure(fundsGrid, QStringLiteral("零客户未付租金:"), QStringLiteral("PersonRentnoMoney"),
                                  true, QStringLiteral("元"));
    PersonMortagageMoney = addFigure(fundsGrid, QStringLiteral("零客户未退押金:"),
                                     QStringLiteral("PersonMortagageMoney"), true, QStringLiteral("元"));
    label40 =
        addFigure(fundsGrid, QStringLiteral("会员已付会费:"), QStringLiteral("label40"), true, QStringLiteral("元"));
    Label35 = addFigure(fundsGrid, QStringLiteral("本期盈亏:"), QStringLiteral("Label35"), true, QStringLiteral("元"));
    auto* note = new QLabel(QStringLiteral("（盈亏=本期租金+会员经费+本期销售-本期购进-本期报废）"), funds);
    note->setWordWrap(true);
    fundsGrid->addWidget(note, fundsGrid->rowCount(), 0, 1, 4);
    fundsGrid->setColumnStretch(3, 1);

    auto* report = new QGroupBox(QStringLiteral("经营明细报表:"), this);
    auto* reportLayout = new QHBoxLayout(report);
    reportLayout->addWidget(business, 1, Qt::AlignTop);
    reportLayout->addWidget(funds, 1, Qt::AlignTop);

    QHBoxLayout* strip = stats::makePeriodStrip(this, ReportRules, StartDate, EndDate, BtnRefresh);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(strip);
    layout->addWidget(report);
    layout->addStretch(1);

    connectGuarded(BtnRefresh, &QPushButton::clicked, this, [this] { refresh(); });
    connectGuarded(ReportRules, &QComboBox::activated, this, [this](int index) { Q_EMIT ruleChosen(index); });
}

QLabel* TReportSaleFm::addFigure(QGridLayout* grid, const QString& caption, const QString& name, bool money,
                                 const QString& unit) {
    const int row = grid->rowCount();
    auto* figure = new QLabel(money ? QStringLiteral("0.00") : QStringLiteral("0"), this);
    figure->setObjectName(name);
    figure->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    figure->setMinimumWidth(90);
    grid->addWidget(new QLabel(caption, this), row, 0);
    grid->addWidget(figure, row, 1);
    grid->addWidget(new QLabel(unit, this), row, 2);
    return figure;
}

void TReportSaleFm::refresh() {
    const stats::Period period = stats::periodFromBoxes(StartDate, EndDate);
    // Closed however the refresh ends, a database error included.
    auto progress = std::make_unique<TProgessBarFm>();
    progress->show();
    QApplication::processEvents();
    auto step = [&progress] { progress->step(kStepPauseMs); };
    auto fill = [](QLabel* figure, const QString& text) {
        figure->setText(text);
        stats::markFilled(figure);
    };
    auto count = [&fill](QLabel* figure, qint64 value) { fill(figure, QString::number(value)); };
    auto money = [&fill](QLabel* figure, db::Money value) { fill(figure, value.toString()); };

    const stats::IncomeFigures figures(db::Connection::shared(), period);
    const stats::RentalFigures lent = figures.rentals();
    count(RentCount, lent.counts.rentCount);
    step();
    count(BackCount, lent.counts.backCount);
    step();
    count(MemberRentCount, lent.counts.memberRentCount);
    step();
    count(MemberBackCount, lent.counts.memberBackCount);
    count(PersonRentCount, lent.counts.personRentCount());
    count(PersonBackCount, lent.counts.personBackCount());
    step();
    const stats::TitleFigures shelf = figures.titles();
    count(RemainCount, shelf.remainCount);
    step();
    money(PersonRentMoney, lent.rent.walkInPaid);
    step();
    money(PersonRentnoMoney, lent.rent.unpaid);
    step();
    money(PersonMortagageMoney, figures.depositsHeld());
    step();
    money(label40, figures.memberFees());
    step();
    money(Label35, figures.profitParts(lent, shelf).profit());
}

void TReportSaleFm::keyPressEvent(QKeyEvent* event) {
    if (handleEnterKey(this, event, {BtnRefresh})) return;
    QWidget::keyPressEvent(event);
}
