#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "inventory/CatalogueFixture.h"
#include "inventory/TQueryFm.h"

using inventory_tests::CatalogueTest;

namespace {

class QueryDialogTest : public CatalogueTest {
protected:
    void SetUp() override {
        CatalogueTest::SetUp();
        query = views().query;
        ASSERT_NE(query, nullptr);
        addTitle("A1", "英雄", "否", 1, "10", "2026-12-01");
        addTitle("B2", "英雄本色", "是", 1, "10", "2026-12-05");
        addTitle("C3", "十面埋伏", "否", 1, "10", "2026-12-10");
        exec(
            "update TCdResource set CdDvdOrVcd=\"vcd\", CdRegion=\"大陆\", CdDirector=\"张艺谋\" where CountId=\"C3\"");
        exec("update TCdResource set CdDvdOrVcd=\"DVD\", CdMainPlayer=\"周润发\" where CountId=\"B2\"");
        open();
    }
    void open() { fm->MenuQuery->trigger(); }
    void choose(int criterion) { query->criteria()[criterion].custom->click(); }
    QStringList listed() {
        QStringList numbers;
        for (fm->Q->first(); !fm->Q->eof(); fm->Q->next()) numbers << fm->Q->field("CountId").asString();
        numbers.sort();
        return numbers;
    }

    TQueryFm* query = nullptr;
};

TEST_F(QueryDialogTest, OpensBesideTheCatalogueWithEveryCriterionUnlimited) {
    EXPECT_TRUE(query->isVisible());
    EXPECT_FALSE(query->isModal());
    EXPECT_EQ(query->parentWidget(), mainWindow);
    ASSERT_EQ(query->criteria().size(), 9);
    QStringList captions;
    for (const TQueryFm::Criterion& c : query->criteria()) {
        captions << c.group->title() + u'|' + c.custom->text();
        EXPECT_TRUE(c.unlimited->isChecked());
        for (QWidget* input : c.inputs) EXPECT_FALSE(input->isEnabled());
    }
    EXPECT_EQ(captions,
              (QStringList{"碟片名称:|自定义  包含", "碟片编号:|自定义  包含", " 购买时间范围:|自定义   从",
                           "类型范围:|自定义  属于", "是否属于连续剧:|自定义  属于", "属于DVD或VCD|自定义  属于",
                           "出产地范围:|自定义  属于", "导演|自定义  包含", "演员|自定义  包含"}));
    choose(0);
    EXPECT_TRUE(query->QueryName->isEnabled());
    query->QueryName->setText("英");
    query->criteria()[0].unlimited->click();
    EXPECT_FALSE(query->QueryName->isEnabled());
    EXPECT_EQ(query->QueryName->text(), QStringLiteral("英"));

    // Shown again: everything unlimited and emptied.
    choose(0);
    query->BtnCancel->click();
    EXPECT_FALSE(query->isVisible());
    open();
    EXPECT_TRUE(query->criteria()[0].unlimited->isChecked());
    EXPECT_TRUE(query->QueryName->text().isEmpty());
    EXPECT_EQ(query->QueryType->itemText(0), QStringLiteral("其它类型"));
}

TEST_F(QueryDialogTest, TheSqlTextIsBuiltLineByLine) {
    EXPECT_EQ(query->buildSql(), (QStringList{"select * from TCdResource ", "where", "0=0"}));
    choose(0);
    query->QueryName->setText("英\"雄");
    choose(6);
    query->Querycountry->setEditText("香港");
    EXPECT_EQ(query->buildSql(), (QStringList{"select * from TCdResource ", "where", "CdName like \"*英\"\"雄*\"",
                                              "and", "CdRegion=\"香港\"", "and", "0=0"}));
    for (int i = 1; i < 9; ++i) choose(i);
    query->Querystarttime->setText("2026-12-1");
    query->Queryendtime->setText("2026-12-10");
    query->QueryId->setText("A");
    query->QueryType->setEditText("其它类型");
    query->Querysitcom->setEditText("否");
    query->Querydvdvcd->setEditText("VCD");
    query->Querydirect->setText("张");
    query->Queryplayer->setText("周");
    EXPECT_EQ(query->buildSql(), (QStringList{"select * from TCdResource ",
                                              "where",
                                              "CdName like \"*英\"\"雄*\"",
                                              "and",
                                              "CountId like \"*A*\"",
                                              "and",
                                              "BuyDate >=#2026-12-01# and BuyDate <= #2026-12-10#",
                                              "and",
                                              "Types=\"其它类型\"",
                                              "and",
                                              "sitComYesOrNo=\"否\"",
                                              "and",
                                              "CdDvdOrVcd=\"VCD\"",
                                              "and",
                                              "CdRegion=\"香港\"",
                                              "and",
                                              "CdDirector like \"*张*\"",
                                              "and",
                                              "CdMainPlayer like \"*周*\"",
                                              "and",
                                              "0=0"}));
}

TEST_F(QueryDialogTest, ConfirmReopensTheCatalogueList) {
    struct Case {
        const char* label;
        std::function<void(TQueryFm*)> set;
        QStringList numbers;
    } cases[] = {
        {"no criterion", [](TQueryFm*) {}, {"A1", "B2", "C3"}},
        {"one character of the name",
         [](TQueryFm* q) {
             q->criteria()[0].custom->click();
             q->QueryName->setText("雄");
         },
         {"A1", "B2"}},
        {"name and series flag",
         [](TQueryFm* q) {
             q->criteria()[0].custom->click();
             q->QueryName->setText("英雄");
             q->criteria()[4].custom->click();
             q->Querysitcom->setEditText("否");
         },
         {"A1"}},
        {"same-day range",
         [](TQueryFm* q) {
             q->criteria()[2].custom->click();
             q->Querystarttime->setText("2026-12-05");
             q->Queryendtime->setText("2026-12-05");
         },
         {"B2"}},
        {"VCD finds vcd",
         [](TQueryFm* q) {
             q->criteria()[5].custom->click();
             q->Querydvdvcd->setCurrentIndex(1);
         },
         {"A1", "C3"}},
        {"director and region",
         [](TQueryFm* q) {
             q->criteria()[7].custom->click();
             q->Querydirect->setText("艺");
             q->criteria()[6].custom->click();
             q->Querycountry->setEditText("大陆");
         },
         {"C3"}},
        {"empty name matches every title", [](TQueryFm* q) { q->criteria()[0].custom->click(); }, {"A1", "B2", "C3"}},
    };
    fm->MenuSeries->trigger();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        open();
        c.set(query);
        query->BtnEnter->click();
        EXPECT_FALSE(query->isVisible());
        EXPECT_EQ(listed(), c.numbers);
        EXPECT_FALSE(fm->Q->isReadOnly());
        // The filter label keeps its text.
        EXPECT_EQ(fm->DisplayLabel->text(), QStringLiteral("[是连续剧的碟片]"));
    }
}

TEST_F(QueryDialogTest, ARangeWithAMissingOrBadDateIsRefused) {
    const QString notice = QStringLiteral("请输入正确的购买时间范围,日期的格式为yyyy-MM-dd,例如2004-05-01.");
    struct Case {
        const char* start;
        const char* end;
    } cases[] = {{"", "2026-12-10"}, {"2026-12-01", ""}, {"2026-13-01", "2026-12-10"}, {"昨天", "2026-12-10"}};
    fm->MenuSingles->trigger();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        open();
        choose(2);
        query->Querystarttime->setText(QString::fromUtf8(c.start));
        query->Queryendtime->setText(QString::fromUtf8(c.end));
        messages->expect(mkNotice, notice);
        query->BtnEnter->click();
        EXPECT_TRUE(query->isVisible());
        EXPECT_TRUE(fm->Q->isActive());
        EXPECT_EQ(listed(), (QStringList{"A1", "C3"}));
    }
}

TEST_F(QueryDialogTest, EnterClicksAFocusedButtonAndOtherwiseMovesOn) {
    QApplication::setActiveWindow(query);
    choose(0);
    query->QueryName->setFocus();
    if (QApplication::focusWidget() != query->QueryName) GTEST_SKIP() << "no focus on this platform";
    query->QueryName->setText("十面");
    QTest::keyClick(query->QueryName, Qt::Key_Return);
    EXPECT_TRUE(query->isVisible());
    EXPECT_NE(QApplication::focusWidget(), query->QueryName);
    query->BtnEnter->setFocus();
    QTest::keyClick(query->BtnEnter, Qt::Key_Return);
    EXPECT_FALSE(query->isVisible());
    EXPECT_EQ(listed(), (QStringList{"C3"}));
}

}  // namespace
