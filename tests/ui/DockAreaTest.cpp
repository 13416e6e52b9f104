#include <gtest/gtest.h>

#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <functional>

#include "ui/DockArea.h"

namespace {

// A window like the main one: a module button at the left, then the work area with a docked view of an input and
// a save button; the view holds an inner area (like the settings hub) with a view of its own.
class DockAreaTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = new QWidget;
        module = new QPushButton(QStringLiteral("光盘资料管理"));
        area = new DockArea(QStringLiteral("PanelMain"));
        auto* layout = new QHBoxLayout(window);
        layout->addWidget(module);
        layout->addWidget(area);
        view = new QWidget;
        input = new QLineEdit(view);
        save = new QPushButton(QStringLiteral("保存"), view);
        inner = new DockArea(QStringLiteral("PanelSetting"), view);
        auto* viewLayout = new QVBoxLayout(view);
        viewLayout->addWidget(input);
        viewLayout->addWidget(save);
        viewLayout->addWidget(inner);
        innerView = new QWidget;
        innerInput = new QLineEdit(innerView);
        innerLast = new QLineEdit(innerView);
        auto* innerLayout = new QVBoxLayout(innerView);
        innerLayout->addWidget(innerInput);
        innerLayout->addWidget(innerLast);
        area->dock(view);
        inner->dock(innerView);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }
    void TearDown() override { delete window; }

    QWidget* window = nullptr;
    QPushButton* module = nullptr;
    DockArea* area = nullptr;
    DockArea* inner = nullptr;
    QWidget* view = nullptr;
    QWidget* innerView = nullptr;
    QLineEdit* input = nullptr;
    QLineEdit* innerInput = nullptr;
    QLineEdit* innerLast = nullptr;
    QPushButton* save = nullptr;
};

TEST_F(DockAreaTest, TheFocusMovesOnWithinTheDockedViewNeverToTheModuleButtons) {
    const struct {
        const char* what;
        std::function<QWidget*()> start;  // focuses a control, returns it
        std::function<void(QWidget*)> act;
        std::function<QWidget*()> expected;
    } cases[] = {
        // The last control of the inner view is the last of the outer view too: the focus wraps to the outer
        // view's first control rather than staying in the inner view or leaving for the module button.
        {"the last control is disabled", [&] { return innerLast; }, [](QWidget* w) { w->setEnabled(false); },
         [&] { return input; }},
        {"the save button is disabled", [&] { return save; }, [](QWidget* w) { w->setEnabled(false); },
         [&] { return innerInput; }},
        {"the last control is hidden", [&] { return innerLast; }, [](QWidget* w) { w->hide(); }, [&] { return input; }},
        {"Tab on the last control", [&] { return innerLast; }, [](QWidget* w) { QTest::keyClick(w, Qt::Key_Tab); },
         [&] { return input; }},
        {"Shift+Tab on the first control", [&] { return input; },
         [](QWidget* w) { QTest::keyClick(w, Qt::Key_Backtab, Qt::ShiftModifier); }, [&] { return innerLast; }},
        {"Tab on a middle control", [&] { return input; }, [](QWidget* w) { QTest::keyClick(w, Qt::Key_Tab); },
         [&] { return save; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (QWidget* w : std::initializer_list<QWidget*>{input, save, innerInput, innerLast}) {
            w->setEnabled(true);
            w->show();
        }
        QWidget* start = c.start();
        start->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), start);
        c.act(start);
        EXPECT_EQ(QApplication::focusWidget(), c.expected());
    }
}

TEST_F(DockAreaTest, AViewWithoutAnotherControlLetsTheFocusGo) {
    input->setEnabled(false);
    innerInput->setEnabled(false);
    innerLast->setEnabled(false);
    save->setFocus();
    save->setEnabled(false);
    EXPECT_FALSE(view->isAncestorOf(QApplication::focusWidget()));
}

}  // namespace
