// The three statistics views as the operator sees them: figures, the details list, the chart and the switching.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <memory>

#include "app/TProjectMainFm.h"
#include "app/Views.h"
#include "common/FileDialog.h"
#include "common/TProgessBarFm.h"
#include "stats/PieChart.h"
#include "stats/StatsFixture.h"
#include "stats/TReportFm.h"
#include "stats/TReportSaleFm.h"
#include "stats/TReportSortFm.h"
#include "ui/DataGrid.h"
#include "ui/DockArea.h"

using stats_test::u8;

namespace {

bool isRed(const QLabel* label) {
    return label->palette().color(QPalette::WindowText) == QColor(Qt::red);
}

template <typename View>
std::unique_ptr<View> shownView() {
    auto view = std::make_unique<View>();
    view->resize(900, 600);
    view->show();
    QApplication::setActiveWindow(view.get());
    QApplication::processEvents();
    return view;
}

void typePeriod(QLineEdit* start, QLineEdit* end, const char* from, const char* to) {
    start->setText(u8(from));
    end->setText(u8(to));
}

class StatsViewsTest : public stats_test::StatsDataTest {};

TEST_F(StatsViewsTest, AnalysisShowsEveryFigureOfThePeriodInRed) {
    fillNovember();
    auto view = shownView<TReportSaleFm>();
    struct Shown {
        QLabel* figure;
        const char* before;
        const char* after;
    };
    const std::vector<Shown> figures = {
        {view->RentCount, "0", "8"},
        {view->BackCount, "0", "5"},
        {view->RemainCount, "0", "6"},
        {view->PersonRentCount, "0", "5"},
        {view->PersonBackCount, "0", "3"},
        {view->MemberRentCount, "0", "3"},
        {view->MemberBackCount, "0", "2"},
        {view->PersonRentMoney, "0.00", "6.6"},
        {view->PersonRentnoMoney, "0.00", "6.5"},
        {view->PersonMortagageMoney, "0.00", "25.5"},
        {view->label40, "0.00", "150"},
        {view->Label35, "0.00", "110.65"},
    };
    for (const Shown& s : figures) {
        EXPECT_EQ(s.figure->text(), u8(s.before)) << s.figure->objectName().toStdString();
        EXPECT_FALSE(isRed(s.figure));
    }
    typePeriod(view->StartDate, view->EndDate, "2026-11-01", "2026-11-30");
    view->BtnRefresh->click();
    for (const Shown& s : figures) {
        EXPECT_EQ(s.figure->text(), u8(s.after)) << s.figure->objectName().toStdString();
        EXPECT_TRUE(isRed(s.figure)) << s.figure->objectName().toStdString();
    }
    // The progress window went away with the refresh.
    for (QWidget* w : QApplication::topLevelWidgets()) EXPECT_FALSE(qobject_cast<TProgessBarFm*>(w) && w->isVisible());
}

TEST_F(StatsViewsTest, AnEngineErrorStopsTheAnalysisWithFiguresSoFarAndNoProgressWindow) {
    fillNovember();
    auto view = shownView<TReportSaleFm>();
    typePeriod(view->StartDate, view->EndDate, "2026-11-01", "2026-11-30");
    exec(u8("drop table TMemberKeepOnToll"));  // the profit is the last figure read
    messages->expect(kErrorBoxKind, u8("no such table: TMemberKeepOnToll"));
    view->BtnRefresh->click();
    EXPECT_EQ(view->label40->text(), u8("150"));
    EXPECT_EQ(view->Label35->text(), u8("0.00"));
    for (QWidget* w : QApplication::topLevelWidgets()) EXPECT_FALSE(qobject_cast<TProgessBarFm*>(w) && w->isVisible());
}

// Each bad period: its notice, the focus on the box at fault, and nothing computed, in both views with a period.
TEST_F(StatsViewsTest, AMissingOrMalformedPeriodIsRefusedWithItsNotice) {
    fillNovember();
    struct Case {
        const char* start;
        const char* end;
        const char* notice;
        bool focusOnEnd;
    };
    const char* missing = "对不起,请输入时间范围,否则系统无法统计!";
    const char* malformed = "对不起,你输入的时间信息格式不对!";
    const std::vector<Case> cases = {
        {"", "2026-11-30", missing, false},
        {"2026-11-01", "", missing, false},
        {"2026-11-31", "2026-11-30", malformed, false},
        {"2026-11-01", "20261130", malformed, true},
    };
    auto details = shownView<TReportFm>();
    for (const Case& c : cases) {
        typePeriod(details->StartDate, details->EndDate, c.start, c.end);
        messages->expect(mkNotice, u8(c.notice));
        details->BtnRefresh->click();
        EXPECT_TRUE((c.focusOnEnd ? details->EndDate : details->StartDate)->hasFocus()) << c.start << c.end;
        EXPECT_FALSE(details->QDetail->isActive());
        EXPECT_EQ(details->Label15->text(), u8("0 部"));
    }
    details.reset();
    auto analysis = shownView<TReportSaleFm>();
    for (const Case& c : cases) {
        typePeriod(analysis->StartDate, analysis->EndDate, c.start, c.end);
        messages->expect(mkNotice, u8(c.notice));
        analysis->BtnRefresh->click();
        EXPECT_TRUE((c.focusOnEnd ? analysis->EndDate : analysis->StartDate)->hasFocus()) << c.start << c.end;
        EXPECT_EQ(analysis->RentCount->text(), u8("0"));
        EXPECT_EQ(analysis->Label35->text(), u8("0.00"));
    }
}

TEST_F(StatsViewsTest, DetailsListTheItemsWithTheirFooterSums) {
    fillNovember();
    auto view = shownView<TReportFm>();
    EXPECT_FALSE(view->QDetail->isActive());
    ui::GridModel* model = view->dxDBGrid1->model();
    QStringList captions;
    for (int c = 0; c < model->columnCount(); ++c)
        captions << model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    EXPECT_EQ(captions,
              (QStringList{u8("发生日期"), u8("光盘编号"), u8("光盘名称"), u8("实际出租价格"), u8("是否归还")}));
    for (QLabel* label : {view->Label15, view->Label16, view->Label18}) EXPECT_FALSE(isRed(label));

    typePeriod(view->StartDate, view->EndDate, "2026-11-30", "2026-11-30");
    view->BtnRefresh->click();
    ASSERT_EQ(model->rowCount(), 2);
    QStringList first;
    for (int c = 0; c < model->columnCount(); ++c) first << model->data(model->index(0, c), Qt::DisplayRole).toString();
    EXPECT_EQ(first, (QStringList{u8("2026-11-30"), u8("A001"), u8("片A001"), u8("1.1"), u8("是")}));
    EXPECT_EQ(view->Label15->text(), u8("2部"));
    EXPECT_EQ(view->Label16->text(), u8("1.1元"));
    EXPECT_EQ(view->Label18->text(), u8("2.5元"));
    for (QLabel* label : {view->Label15, view->Label16, view->Label18}) EXPECT_TRUE(isRed(label));

    typePeriod(view->StartDate, view->EndDate, "2026-11-01", "2026-11-30");
    view->BtnRefresh->click();
    EXPECT_EQ(model->rowCount(), 8);
    EXPECT_EQ(view->Label15->text(), u8("8部"));
    EXPECT_EQ(view->Label16->text(), u8("6.6元"));
    EXPECT_EQ(view->Label18->text(), u8("6.5元"));
    // The shared striping, row by row (the first row is the current one).
    for (int row = 1; row < 4; ++row)
        EXPECT_EQ(view->dxDBGrid1->cellStyle(model->index(row, 2)).backgroundBrush.color(),
                  row % 2 ? ui::kOddRowColor : ui::kEvenRowColor);
}

TEST_F(StatsViewsTest, TheDetailsExportAsShown) {
    fillNovember();
    auto view = shownView<TReportFm>();
    typePeriod(view->StartDate, view->EndDate, "2026-11-30", "2026-11-30");
    view->BtnRefresh->click();
    const QString path = database->folder() + QStringLiteral("/details.csv");
    file_dialog_seam::setNextFileName(path);
    messages->expect(mkNotice, u8("已将2条记录导出到文件 ") + QDir::toNativeSeparators(path));
    view->BtnExport->click();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_TRUE(lines.value(0).startsWith("\xEF\xBB\xBF"));  // spreadsheet programs read the Chinese as UTF-8
    EXPECT_EQ(QString::fromUtf8(lines.value(0).mid(3)).trimmed(),
              u8("发生日期,光盘编号,光盘名称,实际出租价格,是否归还"));
    EXPECT_EQ(QString::fromUtf8(lines.value(1)).trimmed(), u8("2026-11-30,A001,片A001,1.1,是"));
}

TEST_F(StatsViewsTest, EnterRefreshesOnTheButtonAndMovesOnElsewhere) {
    fillNovember();
    auto view = shownView<TReportFm>();
    typePeriod(view->StartDate, view->EndDate, "2026-11-01", "2026-11-30");
    view->StartDate->setFocus();
    QTest::keyClick(view->StartDate, Qt::Key_Return);
    EXPECT_TRUE(view->EndDate->hasFocus());
    EXPECT_EQ(view->Label15->text(), u8("0 部"));
    view->BtnRefresh->setFocus();
    QTest::keyClick(view.get(), Qt::Key_Return);
    EXPECT_EQ(view->Label15->text(), u8("8部"));

    auto analysis = shownView<TReportSaleFm>();
    typePeriod(analysis->StartDate, analysis->EndDate, "2026-11-01", "2026-11-30");
    analysis->BtnRefresh->setFocus();
    QTest::keyClick(analysis.get(), Qt::Key_Return);
    EXPECT_EQ(analysis->RentCount->text(), u8("8"));
}

class StatsSwitchingTest : public stats_test::StatsDataTest {
protected:
    void choose(QComboBox* selector, int rule) {
        selector->setCurrentIndex(rule);
        Q_EMIT selector->activated(rule);
        QApplication::processEvents();
    }
};

TEST_F(StatsSwitchingTest, TheSelectorsBringUpEachViewAndTheAnalysisTakesTheDetailsPeriod) {
    fillNovember();
    TProjectMainFm* main = startViews();
    const AppViews& v = views();
    main->selectModule(Module::CdReport);
    ASSERT_EQ(main->PanelMain->current(), v.report);
    EXPECT_EQ(v.report->ReportRules->currentIndex(), -1);

    typePeriod(v.report->StartDate, v.report->EndDate, "2026-11-01", "2026-11-30");
    choose(v.report->ReportRules, 1);
    EXPECT_EQ(main->PanelMain->current(), v.reportSale);
    EXPECT_EQ(v.reportSale->ReportRules->currentText(), u8("出租经营情况分析"));
    EXPECT_EQ(v.reportSale->StartDate->text(), u8("2026-11-01"));
    EXPECT_EQ(v.reportSale->EndDate->text(), u8("2026-11-30"));
    v.reportSale->BtnRefresh->click();
    EXPECT_EQ(v.reportSale->Label35->text(), u8("110.65"));

    choose(v.reportSale->ReportRules, 2);
    EXPECT_EQ(main->PanelMain->current(), v.reportSort);
    EXPECT_EQ(v.reportSort->ReportRules->currentText(), u8("出租排行榜"));

    choose(v.reportSort->ReportRules, 0);
    EXPECT_EQ(main->PanelMain->current(), v.report);
    EXPECT_EQ(v.report->ReportRules->currentText(), u8("出租明细情况"));
    // The details view kept its period; the analysis its figures.
    EXPECT_EQ(v.report->StartDate->text(), u8("2026-11-01"));
    choose(v.report->ReportRules, 1);
    EXPECT_EQ(v.reportSale->Label35->text(), u8("110.65"));
}

TEST_F(StatsSwitchingTest, TheChartCountsRentalsMadeSinceStartUp) {
    fillNovember();
    TProjectMainFm* main = startViews();
    const AppViews& v = views();
    main->selectModule(Module::CdReport);
    choose(v.report->ReportRules, 2);
    EXPECT_EQ(v.reportSort->Chart1->title(), u8("光盘出租排行历史情况一览表"));
    EXPECT_EQ(v.reportSort->LabNote->text(), u8("(注:此统计不包括连续剧)"));
    EXPECT_EQ(v.reportSort->Chart1->slices(), (QVector<stats::RankingSlice>{{u8("动作片"), 6}, {u8("爱情片"), 3}}));

    choose(v.reportSort->ReportRules, 0);
    addTitle("B001", "喜剧片", "2026-12-10", "20", 1);
    addItem(addSheet("零客户", false, "10"), "2026-12-10", "B001", "2", false);
    addItem(2, "2026-12-10", "S001-2", "0", false);  // a series volume: never in the chart
    choose(v.report->ReportRules, 2);
    EXPECT_EQ(v.reportSort->Chart1->slices(),
              (QVector<stats::RankingSlice>{{u8("动作片"), 6}, {u8("喜剧片"), 1}, {u8("爱情片"), 3}}));
}

TEST(PieChartTest, MarksStayApartAndInsideTheChartWhenSlicesCrowd) {
    stats::PieChart chart;
    QVector<stats::RankingSlice> slices;
    slices.push_back({u8("动作片"), 500});
    for (int i = 0; i < 11; ++i) slices.push_back({u8("类型%1").arg(i), 1 + i % 3});
    chart.setSlices(slices);
    for (const QSize size : {QSize(640, 420), QSize(900, 600)}) {
        const stats::PieChart::Geometry g = chart.geometry(size);
        ASSERT_EQ(g.slices.size(), slices.size());
        const QRectF bounds(0, 0, size.width(), size.height());
        double spans = 0;
        for (int i = 0; i < g.slices.size(); ++i) {
            const auto& s = g.slices[i];
            spans += s.span;
            EXPECT_TRUE(bounds.contains(s.mark)) << i << " in " << size.width();
            EXPECT_FALSE(s.mark.intersects(g.titleRect)) << i;
            // the pointer leaves the rim by its fixed length
            EXPECT_NEAR(QLineF(s.anchor, s.pointerEnd).length(), stats::PieChart::kPointerLength, 1e-6);
            for (int j = i + 1; j < g.slices.size(); ++j)
                EXPECT_FALSE(s.mark.intersects(g.slices[j].mark)) << i << " and " << j << " in " << size.width();
        }
        EXPECT_NEAR(spans, 360.0, 1e-9);
    }
    // Rendering a crowded chart and an empty one works at any size.
    for (const QVector<stats::RankingSlice>& data : {slices, QVector<stats::RankingSlice>{}}) {
        chart.setSlices(data);
        chart.resize(300, 200);
        EXPECT_FALSE(chart.grab().isNull());
    }
}

}  // namespace
