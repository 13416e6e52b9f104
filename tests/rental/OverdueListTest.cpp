// Items out longer than the time limit, and the reminder view that lists them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <memory>

#include "db/Connection.h"
#include "db/JetDialect.h"
#include "db/Query.h"
#include "rental/OverdueList.h"
#include "rental/TAwokeFm.h"
#include "support/Fixture.h"
#include "ui/DataGrid.h"

namespace {

QString u8(const char* text) {
    return QString::fromUtf8(text);
}

class OverdueTest : public testing_support::AppTest {
protected:
    void addItem(const char* number, const char* lent, bool back) {
        exec(u8("insert into TRentList (Id_RentOperation, OccurDate, CdCountId_TCdResource, CdName_TCdResource, "
                "RentPrice, Back) values (1,#") +
             u8(lent) + u8("#,") + jet::quoted(u8(number)) + u8(",\"片\",2,") + (back ? u8("true") : u8("false")) +
             u')');
    }
    void setLimit(int days) { exec(u8("update Timelimited set timelimited=") + QString::number(days)); }
    void setSwitch(const QString& value) { exec(u8("update TbAwoke set Awoke=") + jet::quoted(value)); }
    QStringList listed(qint64 limit) {
        db::Query q;
        q.reopen(rental::OverdueList::listSql(limit));
        QStringList numbers;
        for (q.first(); !q.eof(); q.next()) numbers << q.field(QStringLiteral("CdCountId_TCdResource")).asString();
        return numbers;
    }
};

// Today is 2026-12-10 (10:30): an item is overdue once more midnights than the limit have passed since lending.
TEST_F(OverdueTest, AnItemIsOverdueFromTheDayAfterTheLimitRunsOut) {
    addItem("T10", "2026-12-10", false);
    addItem("T09", "2026-12-09", false);
    addItem("T07", "2026-12-07", false);
    addItem("T06", "2026-12-06", false);
    addItem("R01", "2026-01-01", true);  // back long ago
    struct Case {
        qint64 limit;
        QStringList overdue;
    };
    for (const Case& c : {
             Case{0, {u8("T09"), u8("T07"), u8("T06")}},
             Case{3, {u8("T06")}},
             Case{4, {}},
         })
        EXPECT_EQ(listed(c.limit), c.overdue) << "limit " << c.limit;
}

TEST_F(OverdueTest, OnlyNoSwitchesRemindersOff) {
    const rental::OverdueList overdue(db::Connection::shared());
    struct Case {
        const char* stored;
        bool on;
    };
    for (const Case& c : {Case{"是", true}, Case{"否", false}, Case{"", true}, Case{"随便", true}}) {
        setSwitch(u8(c.stored));
        EXPECT_EQ(overdue.remindersOn(), c.on) << c.stored;
    }
    setLimit(7);
    EXPECT_EQ(overdue.timeLimit(), 7);
}

class AwokeViewTest : public OverdueTest {
protected:
    void TearDown() override {
        view.reset();
        OverdueTest::TearDown();
    }
    void show() {
        if (!view) view = std::make_unique<TAwokeFm>();
        view->show();
        QApplication::processEvents();
    }
    void hide() { view->hide(); }
    std::unique_ptr<TAwokeFm> view;
};

TEST_F(AwokeViewTest, ListsOverdueItemsUnderTheHeadingBuiltAtTheFirstShowing) {
    setSwitch(u8("是"));
    setLimit(3);
    addItem("T06", "2026-12-06", false);
    addItem("T07", "2026-12-07", false);
    show();
    EXPECT_EQ(view->LabAwoke->text(), u8("当前超过3天未归还的碟片列表如下："));
    EXPECT_TRUE(view->PanelList->isVisible());
    ui::GridModel* model = view->dxDBGrid1->model();
    ASSERT_EQ(model->rowCount(), 1);
    QStringList row, captions;
    for (int c = 0; c < model->columnCount(); ++c) {
        row << model->data(model->index(0, c), Qt::DisplayRole).toString();
        captions << model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    }
    EXPECT_EQ(captions, (QStringList{u8("租借日期"), u8("碟片编号"), u8("碟片名称"), u8("出租价格")}));
    EXPECT_EQ(row, (QStringList{u8("2026-12-06"), u8("T06"), u8("片"), u8("2")}));

    // Shown again in the same run: the list as it was built, whatever changed since.
    hide();
    exec(u8("update TRentList set Back=true"));
    setLimit(0);
    show();
    EXPECT_EQ(model->rowCount(), 1);
    EXPECT_EQ(view->LabAwoke->text(), u8("当前超过3天未归还的碟片列表如下："));
}

TEST_F(AwokeViewTest, SwitchedOffShowsOnlyTheRedNotice) {
    setSwitch(u8("否"));
    addItem("T06", "2026-12-01", false);
    show();
    EXPECT_EQ(view->LabAwoke->text(), u8("对不起，当前没有启用提醒功能，若需系统提醒，请在项目设置模块中启用此功能!"));
    EXPECT_EQ(view->LabAwoke->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_FALSE(view->PanelList->isVisible());
    EXPECT_FALSE(view->Qnotback->isActive());
}

}  // namespace
