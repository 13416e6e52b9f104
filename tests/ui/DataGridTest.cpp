#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "db/Errors.h"
#include "db/Query.h"
#include "support/Fixture.h"
#include "ui/DataGrid.h"
#include "ui/DbControls.h"
#include "ui/TGridFatherFm.h"

using testing_support::AppTest;
using ui::DataGrid;

namespace {

// Five titles: two series and three single titles, listed in insertion order.
class DataGridTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        const char* rows[][3] = {
            {"A1", "甲", "否"}, {"A2", "乙", "是"}, {"A3", "丙", "否"}, {"A4", "丁", "是"}, {"A5", "戊", "否"}};
        for (auto& r : rows)
            exec(
                QStringLiteral("insert into TCdResource (CountId, CdName, SitComYesOrNo, stock) values (%1, %2, %3, 1)")
                    .arg(jet::quoted(r[0]), jet::quoted(QString::fromUtf8(r[1])),
                         jet::quoted(QString::fromUtf8(r[2]))));
        query = new db::Query(nullptr, QStringLiteral("Q"));
        grid = new DataGrid(query, QStringLiteral("GridMain"));
        grid->setColumns({{QStringLiteral("光盘编号"), QStringLiteral("CountId")},
                          {QStringLiteral("光盘名称"), QStringLiteral("CdName")},
                          {QStringLiteral("当前库存"), QStringLiteral("stock"), ui::ColumnKind::Number},
                          {QStringLiteral("连续剧"), QStringLiteral("SitComYesOrNo")}});
        ui::GridOptions options;
        options.editable = options.insertDelete = options.sorting = options.groupPanel = true;
        grid->setOptions(options);
        query->reopen(QStringLiteral("select * from TCdResource"));
        grid->resize(600, 300);
    }
    void TearDown() override {
        delete grid;
        delete query;
        AppTest::TearDown();
    }
    QColor background(const QModelIndex& index) const {
        const QBrush brush = grid->cellStyle(index).backgroundBrush;
        return brush.style() == Qt::NoBrush ? QColor() : brush.color();
    }
    QModelIndex top(int row, int column = 0) const { return grid->model()->index(row, column); }
    QStringList shownNames() const {
        QStringList names;
        for (int r = 0; r < grid->model()->rowCount(); ++r) names << top(r, 1).data().toString();
        return names;
    }

    db::Query* query = nullptr;
    DataGrid* grid = nullptr;
};

TEST_F(DataGridTest, StripesRowsAndLeavesTheSelectedRowToTheHighlight) {
    const QColor even(224, 231, 208), odd(239, 239, 223);
    grid->view()->selectionModel()->clearSelection();
    for (int r = 0; r < 5; ++r) EXPECT_EQ(background(top(r)), r % 2 ? odd : even) << r;
    grid->clickRow(top(1));
    EXPECT_FALSE(background(top(1)).isValid());
    for (int r : {0, 2, 3, 4}) EXPECT_EQ(background(top(r)), r % 2 ? odd : even) << r;
}

TEST_F(DataGridTest, PaintsTheStripesOnScreen) {
    grid->show();
    grid->view()->selectionModel()->clearSelection();
    QApplication::processEvents();
    const QImage image = grid->view()->viewport()->grab().toImage();
    const QRect second = grid->view()->visualRect(top(2, 1));
    const QRect third = grid->view()->visualRect(top(3, 1));
    EXPECT_EQ(QColor(image.pixel(second.right() - 2, second.center().y())), QColor(224, 231, 208));
    EXPECT_EQ(QColor(image.pixel(third.right() - 2, third.center().y())), QColor(239, 239, 223));
}

TEST_F(DataGridTest, GroupedRowsAreStripedWithinTheirGroupAndHeadingsKeepTheirColour) {
    grid->groupBy(QStringLiteral("SitComYesOrNo"));
    ASSERT_EQ(grid->model()->rowCount(), 2);
    const QModelIndex no = top(0), yes = top(1);
    EXPECT_TRUE(grid->model()->isGroupRow(no));
    EXPECT_TRUE(no.data().toString().contains(QStringLiteral("否")));
    EXPECT_FALSE(background(no).isValid());
    EXPECT_FALSE(background(yes).isValid());
    grid->view()->selectionModel()->clearSelection();
    ASSERT_EQ(grid->model()->rowCount(no), 3);
    ASSERT_EQ(grid->model()->rowCount(yes), 2);
    const QColor even(224, 231, 208), odd(239, 239, 223);
    for (int r = 0; r < 3; ++r) EXPECT_EQ(background(grid->model()->index(r, 0, no)), r % 2 ? odd : even);
    for (int r = 0; r < 2; ++r) EXPECT_EQ(background(grid->model()->index(r, 0, yes)), r % 2 ? odd : even);
    EXPECT_EQ(grid->model()->index(0, 1, yes).data().toString(), QStringLiteral("乙"));
}

TEST_F(DataGridTest, AGroupHeadingShowsCaptionValueAndCountInFullAcrossTheRow) {
    grid->show();
    grid->groupBy(QStringLiteral("SitComYesOrNo"));
    const QString headings[] = {QStringLiteral("连续剧 : 否 (共3条)"), QStringLiteral("连续剧 : 是 (共2条)")};
    // The heading must stay whole after whatever rebuilds the rows.
    const std::pair<const char*, std::function<void()>> steps[] = {
        {"grouped", [] {}},
        {"sorted", [&] { grid->sortBy(QStringLiteral("CdName"), Qt::DescendingOrder); }},
        {"refreshed", [&] { query->refresh(); }},
    };
    for (const auto& [name, step] : steps) {
        SCOPED_TRACE(name);
        step();
        QApplication::processEvents();
        ASSERT_EQ(grid->model()->rowCount(), 2);
        for (int r = 0; r < 2; ++r) {
            EXPECT_EQ(top(r).data().toString(), headings[r]);
            QFont bold = grid->view()->font();
            bold.setBold(true);
            EXPECT_TRUE(grid->view()->isFirstColumnSpanned(r, {}));
            EXPECT_GT(grid->view()->visualRect(top(r)).width(), QFontMetrics(bold).horizontalAdvance(headings[r]));
        }
    }
    exec(QStringLiteral("update TCdResource set SitComYesOrNo=null where CountId=\"A1\""));
    query->refresh();
    EXPECT_EQ(top(0).data().toString(), QStringLiteral("连续剧 : (空) (共1条)"));  // an empty value is named
}

TEST_F(DataGridTest, GroupsStayOpenAndASavedRowMovesToTheGroupOfItsNewValue) {
    grid->groupBy(QStringLiteral("SitComYesOrNo"));
    const auto groupOf = [&](const QString& name) {
        for (int g = 0; g < grid->model()->rowCount(); ++g)
            for (int r = 0; r < grid->model()->rowCount(top(g)); ++r)
                if (grid->model()->index(r, 1, top(g)).data().toString() == name) return top(g).data().toString();
        return QString();
    };
    query->refresh();
    for (int g = 0; g < grid->model()->rowCount(); ++g) EXPECT_TRUE(grid->view()->isExpanded(top(g))) << g;

    grid->clickRow(grid->model()->index(0, 0, top(0)));  // 甲, a single title
    query->edit();
    query->field("SitComYesOrNo").setString(QStringLiteral("是"));
    EXPECT_EQ(groupOf(QStringLiteral("甲")), QStringLiteral("连续剧 : 否 (共3条)"));  // not moved while typing
    query->post();
    EXPECT_EQ(groupOf(QStringLiteral("甲")), QStringLiteral("连续剧 : 是 (共3条)"));
    EXPECT_EQ(query->field("CdName").asString(), QStringLiteral("甲"));  // still the current row
    EXPECT_EQ(grid->view()->currentIndex().siblingAtColumn(1).data().toString(), QStringLiteral("甲"));
    for (int g = 0; g < grid->model()->rowCount(); ++g) EXPECT_TRUE(grid->view()->isExpanded(top(g))) << g;
}

TEST_F(DataGridTest, ColumnsFitTheirContentsAndOnlyTheWidestTextColumnTakesTheSpareWidth) {
    exec(
        QStringLiteral("update TCdResource set CdName=\"一部名字很长很长很长很长的电影\", stock=1234567890123 where "
                       "CountId=\"A3\""));
    query->refresh();
    grid->resize(900, 300);
    grid->show();
    QApplication::processEvents();
    QTreeView* view = grid->view();
    const QFontMetrics metrics = view->fontMetrics();
    int total = 0;
    for (int c = 0; c < 4; ++c) {
        total += view->columnWidth(c);
        const QString caption = grid->model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        EXPECT_GT(view->columnWidth(c), metrics.horizontalAdvance(caption)) << c;
        for (int r = 0; r < 5; ++r)
            EXPECT_GT(view->columnWidth(c), metrics.horizontalAdvance(top(r, c).data().toString())) << r << "," << c;
    }
    EXPECT_EQ(total, view->viewport()->width());  // no caption runs past the grid, no gap at its right edge
    const int name = view->columnWidth(1), series = view->columnWidth(3);
    EXPECT_GT(name, metrics.horizontalAdvance(QStringLiteral("一部名字很长很长很长很长的电影")) + 100);
    EXPECT_LT(series, metrics.horizontalAdvance(QStringLiteral("连续剧")) + 80);  // the last column is not stretched

    // Counts and their caption sit at the right edge; text at the left.
    EXPECT_TRUE(top(0, 2).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
    EXPECT_TRUE(grid->model()->headerData(2, Qt::Horizontal, Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
    EXPECT_TRUE(top(0, 1).data(Qt::TextAlignmentRole).toInt() & Qt::AlignLeft);

    // A width the operator dragged survives a reopening; the others are fitted again.
    QHeaderView* header = view->header();
    const int edge = header->sectionViewportPosition(0) + header->sectionSize(0) - 1;
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(edge, 5), header->viewport()->mapToGlobal(QPointF(edge, 5)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(header->viewport(), &press);
    QMouseEvent drag(QEvent::MouseMove, QPointF(edge + 60, 5), header->viewport()->mapToGlobal(QPointF(edge + 60, 5)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(header->viewport(), &drag);
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, QPoint(edge + 60, 5));
    const int dragged = view->columnWidth(0), longCount = view->columnWidth(2);
    ASSERT_GT(dragged, metrics.horizontalAdvance(QStringLiteral("光盘编号")) + 50);
    query->reopen(QStringLiteral("select * from TCdResource where CountId<>\"A3\""));
    QApplication::processEvents();
    EXPECT_EQ(view->columnWidth(0), dragged);
    EXPECT_LT(view->columnWidth(2), longCount);  // fitted anew to the shorter counts
}

TEST_F(DataGridTest, DraggingACaptionOntoThePanelGroupsAndDraggingItBackUngroups) {
    auto drop = [](QWidget* target, const char* format, const QByteArray& data) {
        QMimeData mime;
        mime.setData(QString::fromLatin1(format), data);
        QDragEnterEvent enter(QPoint(5, 5), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent event(QPointF(5, 5), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    };
    drop(grid->groupPanel(), "application/x-orvane-grid-column", QByteArray::number(3));
    EXPECT_EQ(grid->model()->groupColumn(), 3);
    EXPECT_EQ(grid->groupPanel()->groupButton()->text(), QStringLiteral("连续剧"));
    drop(grid->view()->header()->viewport(), "application/x-orvane-grid-group", "1");
    EXPECT_EQ(grid->model()->groupColumn(), -1);
    EXPECT_EQ(grid->model()->rowCount(), 5);
}

TEST_F(DataGridTest, CaptionClickSortsOnlyTheDisplay) {
    grid->show();
    QTest::mouseClick(grid->view()->header()->viewport(), Qt::LeftButton, {},
                      QPoint(grid->view()->header()->sectionViewportPosition(3) + 5, 5));
    EXPECT_EQ(shownNames(), (QStringList{"甲", "丙", "戊", "乙", "丁"}));
    QTest::mouseClick(grid->view()->header()->viewport(), Qt::LeftButton, {},
                      QPoint(grid->view()->header()->sectionViewportPosition(3) + 5, 5));
    EXPECT_EQ(shownNames().first(), QStringLiteral("乙"));
    query->first();
    EXPECT_EQ(query->field("CdName").asString(), QStringLiteral("甲"));  // the query's own order is untouched
}

TEST_F(DataGridTest, TheFocusedRowIsTheCurrentRowBothWays) {
    grid->sortBy(QStringLiteral("SitComYesOrNo"));
    grid->clickRow(top(3));  // 乙 in the sorted display
    EXPECT_EQ(query->field("CdName").asString(), QStringLiteral("乙"));
    query->next();  // 丙 follows 乙 in the query
    EXPECT_EQ(grid->view()->currentIndex().siblingAtColumn(1).data().toString(), QStringLiteral("丙"));
}

TEST_F(DataGridTest, InPlaceEditsGoThroughTheQueryAndAreSavedByLeavingTheRow) {
    grid->clickRow(top(0));
    EXPECT_TRUE(grid->model()->setData(top(0, 1), QStringLiteral("甲甲"), Qt::EditRole));
    EXPECT_EQ(query->state(), db::Query::Edit);
    grid->clickRow(top(1));
    EXPECT_EQ(query->state(), db::Query::Browse);
    EXPECT_EQ(scalarText(QStringLiteral("select CdName from TCdResource where CountId=\"A1\"")),
              QStringLiteral("甲甲"));
    // A number column refuses a text that is not a number with the conversion message.
    messages->expect(kErrorBoxKind, QStringLiteral("'many' is not a valid integer value for field 'stock'"));
    EXPECT_FALSE(grid->model()->setData(top(1, 2), QStringLiteral("many"), Qt::EditRole));
}

TEST_F(DataGridTest, InsertAddsARowAndCtrlDeleteAsksFirst) {
    grid->show();
    grid->view()->setFocus();
    QTest::keyClick(grid->view(), Qt::Key_Insert);
    EXPECT_EQ(query->state(), db::Query::Insert);
    EXPECT_EQ(grid->model()->rowCount(), 6);
    query->cancel();
    EXPECT_EQ(grid->model()->rowCount(), 5);

    grid->clickRow(top(0));
    messages->expect(mkConfirm, QStringLiteral("Delete record?"), false);
    QTest::keyClick(grid->view(), Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(count("TCdResource"), 5);
    messages->expect(mkConfirm, QStringLiteral("Delete record?"), true);
    QTest::keyClick(grid->view(), Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(count("TCdResource"), 4);
    EXPECT_EQ(grid->model()->rowCount(), 4);
}

TEST_F(DataGridTest, ModelStaysConsistentThroughQueryChanges) {
    QAbstractItemModelTester tester(grid->model(), QAbstractItemModelTester::FailureReportingMode::Warning);
    query->append();
    query->field("CountId").setString("A6");
    query->post();
    query->remove();
    grid->groupBy(QStringLiteral("SitComYesOrNo"));
    query->append();
    query->cancel();
    query->refresh();
    grid->ungroup();
    query->close();
    EXPECT_EQ(grid->model()->rowCount(), 0);
}

TEST_F(DataGridTest, BoundBoxesShowTheCurrentRowAndWriteWhatWasTyped) {
    ui::DbEdit name(QStringLiteral("CdName"));
    name.bind(query, QStringLiteral("CdName"));
    EXPECT_EQ(name.text(), QStringLiteral("甲"));
    query->next();
    EXPECT_EQ(name.text(), QStringLiteral("乙"));
    name.show();
    name.selectAll();
    QTest::keyClicks(&name, QStringLiteral("Z\"'"));
    EXPECT_EQ(query->state(), db::Query::Edit);  // typing starts the edit
    query->post();
    EXPECT_EQ(scalarText(QStringLiteral("select CdName from TCdResource where CountId=\"A2\"")),
              QStringLiteral("Z\"'"));
    query->next();
    EXPECT_EQ(name.text(), QStringLiteral("丙"));
}

TEST_F(DataGridTest, ABadTypedNumberStopsThePostAndKeepsTheText) {
    ui::DbSpinEdit stock(QStringLiteral("CdCount"));
    ui::DbEdit price(QStringLiteral("CdPrice"));
    stock.bind(query, QStringLiteral("stock"));
    price.bind(query, QStringLiteral("BuyPrice"));
    price.setFieldText(QStringLiteral("abc"));
    stock.setFieldText(QStringLiteral("4"));
    EXPECT_THROW(query->post(), db::Error);
    EXPECT_EQ(query->state(), db::Query::Edit);
    EXPECT_EQ(price.text(), QStringLiteral("abc"));
    price.setFieldText(QStringLiteral("8.5"));
    query->post();
    EXPECT_EQ(scalarMoney(QStringLiteral("select BuyPrice from TCdResource where CountId=\"A1\"")),
              db::Money::fromDouble(8.5));
    EXPECT_EQ(scalarInt(QStringLiteral("select stock from TCdResource where CountId=\"A1\"")), 4);
}

class GridViewBaseTest : public AppTest {};

TEST_F(GridViewBaseTest, TheLinkOpensTheViewMenuUnderTheStrip) {
    TGridFatherFm view;
    view.MenuView->addAction(QStringLiteral("显示所有库存碟片记录"));
    view.resize(800, 500);
    view.show();
    QApplication::processEvents();
    EXPECT_EQ(view.LabChangeView->text(), QStringLiteral("<u>显示条件选择</u>"));
    EXPECT_EQ(view.LabSave->text(), QStringLiteral("导出列表"));
    QTest::mouseClick(view.LabChangeView, Qt::LeftButton);
    EXPECT_TRUE(view.MenuView->isVisible());
    const QPoint expected =
        view.PanelGridTop->mapToGlobal(QPoint(view.LabChangeView->x(), view.PanelGridTop->height()));
    EXPECT_EQ(view.MenuView->pos(), expected);
    view.MenuView->hide();
    QTest::mouseClick(view.Image2, Qt::LeftButton);
    EXPECT_TRUE(view.MenuView->isVisible());
    view.MenuView->hide();
    messages->expect(mkNotice, QStringLiteral("当前列表中没有记录,不需要导出!"));
    QTest::mouseClick(view.LabSave, Qt::LeftButton);  // exports the list, which is empty here
    EXPECT_FALSE(view.MenuView->isVisible());
    EXPECT_FALSE(view.Q->isActive());  // the base never opens its query
}

}  // namespace
