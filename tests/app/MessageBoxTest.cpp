#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "common/Guard.h"
#include "common/MyMessageBox.h"
#include "common/TProgessBarFm.h"
#include "db/Errors.h"
#include "support/Fixture.h"

using testing_support::DialogScript;

namespace {

struct BoxSeen {
    QString title, text;
    bool okVisible = false, cancelVisible = false;
};

// Shows the real box and answers it with the given action.
bool showAndAnswer(int kind, const QString& text, const std::function<void(TMyMessageBoxFm*)>& answer, BoxSeen* seen) {
    DialogScript dialogs;
    dialogs.on(QStringLiteral("TMyMessageBoxFm"), [&](QDialog* d) {
        auto* box = static_cast<TMyMessageBoxFm*>(d);
        *seen = {box->windowTitle(), box->LabM->text(), box->BtnOk->isVisible(), box->BtnCancel->isVisible()};
        answer(box);
    });
    return MyMessageBox(kind, text);
}

TEST(MessageBoxTest, EachKindHasItsTitleAndButtons) {
    const struct {
        int kind;
        const char* title;
        bool cancelShown;
    } kinds[] = {{mkWarning, "警告", true}, {mkNotice, "提醒", false}, {mkConfirm, "确认", true}};
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.title);
        BoxSeen seen;
        EXPECT_TRUE(showAndAnswer(
            k.kind, QStringLiteral("请输入编号"), [](TMyMessageBoxFm* b) { b->BtnOk->click(); }, &seen));
        EXPECT_EQ(seen.title.toStdString(), std::string(k.title));
        EXPECT_EQ(seen.text, QStringLiteral("  请输入编号"));
        EXPECT_TRUE(seen.okVisible);
        EXPECT_EQ(seen.cancelVisible, k.cancelShown);
    }
}

TEST(MessageBoxTest, CancelAndTheCloseBoxAnswerFalse) {
    BoxSeen seen;
    EXPECT_FALSE(showAndAnswer(
        mkConfirm, QStringLiteral("是否继续?"), [](TMyMessageBoxFm* b) { b->BtnCancel->click(); }, &seen));
    EXPECT_FALSE(showAndAnswer(
        mkConfirm, QStringLiteral("是否继续?"), [](TMyMessageBoxFm* b) { b->close(); }, &seen));
    EXPECT_FALSE(showAndAnswer(
        mkNotice, QStringLiteral("好"), [](TMyMessageBoxFm* b) { b->close(); }, &seen));
    EXPECT_TRUE(showAndAnswer(
        mkNotice, QString(), [](TMyMessageBoxFm* b) { b->BtnOk->click(); }, &seen));
    EXPECT_EQ(seen.text, QStringLiteral("  "));
}

TEST(MessageBoxTest, TheNoticeButtonIsCentredUnderTheText) {
    BoxSeen seen;
    int left = -1, expected = -2;
    showAndAnswer(
        mkNotice, QStringLiteral("对不起,你已经输入过这样的编号,请重新输入一个编号."),
        [&](TMyMessageBoxFm* b) {
            left = b->BtnOk->x();
            expected = b->width() / 2 - b->BtnOk->width() / 2;
            b->BtnOk->click();
        },
        &seen);
    EXPECT_NEAR(left, expected, 1);
}

TEST(MessageBoxTest, SentencesOfUpToFortyCharactersStayOnOneLineAndLongerOnesWrapInTheBox) {
    // A path a little wider than the line: it cannot be broken, so it widens the box.
    const QFontMetrics font(QApplication::font());
    const QString longPath =
        QStringLiteral("/") +
        QString(font.horizontalAdvance(QString(44, QChar(0x4E2D))) / font.horizontalAdvance(QStringLiteral("x")), u'x');
    const struct {
        QString text;
        bool oneLine;
        bool withinForty;  // a word that cannot be broken widens the box instead
    } cases[] = {
        {QStringLiteral("对不起,密码错误,请重新输入!"), true, true},
        {QStringLiteral("请输入允许的天数或部数,否则不能发生出租操作!"), true, true},
        {QString(40, QChar(0x4E2D)), true, true},
        {QString(100, QChar(0x4E2D)), false, true},
        {QStringLiteral("不能写入文件 ") + longPath + QStringLiteral(" (拒绝访问)"), false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        int labelWidth = 0, labelHeight = 0, boxWidth = 0, lineSpacing = 0, needed = 0, fortyWide = 0;
        QRect wrapped;
        DialogScript dialogs;
        dialogs.on(QStringLiteral("TMyMessageBoxFm"), [&](QDialog* d) {
            auto* box = static_cast<TMyMessageBoxFm*>(d);
            const QFontMetrics metrics(box->LabM->font());
            labelWidth = box->LabM->width();
            labelHeight = box->LabM->height();
            boxWidth = box->width();
            lineSpacing = metrics.lineSpacing();
            needed = metrics.horizontalAdvance(box->LabM->text());
            fortyWide = metrics.horizontalAdvance(QString(42, QChar(0x4E2D)));
            wrapped = metrics.boundingRect(QRect(0, 0, labelWidth, 100000), Qt::TextWordWrap, box->LabM->text());
            box->BtnOk->click();
        });
        MyMessageBox(mkNotice, c.text);
        EXPECT_EQ(labelHeight < 2 * lineSpacing, c.oneLine) << labelHeight << " for lines of " << lineSpacing;
        if (c.oneLine) {
            EXPECT_GE(labelWidth, needed);
        }
        EXPECT_LE(wrapped.width(), labelWidth);  // nothing is cut at the right
        EXPECT_LE(wrapped.height(), labelHeight);
        if (c.withinForty) {
            EXPECT_LE(labelWidth, fortyWide + 4);  // wraps at about 40 characters
            EXPECT_LT(boxWidth, fortyWide + 200);  // the picture and the margins beside it
        }
    }
}

TEST(MessageBoxTest, HandlersEndQuietlyOnSilentStopAndShowOtherErrors) {
    testing_support::MessageScript messages;
    bool after = false;
    guarded([&] {
        throw db::SilentStop();
        after = true;
    });
    EXPECT_FALSE(after);
    messages.expect(kErrorBoxKind, QStringLiteral("Field 'x' not found"));
    guarded([] { throw db::Error(QStringLiteral("Field 'x' not found")); });
    EXPECT_EQ(messages.shown().size(), 1u);
}

}  // namespace

namespace {

TEST(ProgressWindowTest, FourStepsFillTheBarAndItNeverRunsPastTheEnd) {
    TProgessBarFm progress;
    EXPECT_EQ(progress.FlatProgressBar1->minimum(), 0);
    EXPECT_EQ(progress.FlatProgressBar1->maximum(), 40);
    EXPECT_EQ(progress.FlatProgressBar1->value(), 0);
    EXPECT_EQ(progress.Label1->text(), QStringLiteral("敬请稍候......"));
    for (int expected : {10, 20, 30, 40, 40}) {
        progress.step(100);  // the pauses are 0 in tests
        EXPECT_EQ(progress.FlatProgressBar1->value(), expected);
    }
}

}  // namespace
