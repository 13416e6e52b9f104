// The settings hub and the six views that live in its content area.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QVBoxLayout>

#include "app/TProjectMainFm.h"
#include "app/Views.h"
#include "settings/TChargefm.h"
#include "settings/TCycleFm.h"
#include "settings/TMortagageFm.h"
#include "settings/TPersonFm.h"
#include "settings/TTimelimitFm.h"
#include "settings/TcdTypeFm.h"
#include "settings/TcdsetFm.h"
#include "support/Fixture.h"
#include "ui/DockArea.h"

using testing_support::AppTest;

namespace {

class SettingsHubTest : public AppTest {};

TEST_F(SettingsHubTest, SixViewsLiveInTheHubAndTheChargeListShowsFirst) {
    TProjectMainFm* main = startViews();
    main->CdProjectButton->click();
    TcdsetFm* hub = views().cdset;
    ASSERT_EQ(main->PanelMain->current(), hub);
    const QList<QWidget*> inHub{views().person,    views().cdType,    views().charge,
                                views().mortagage, views().timelimit, views().cycle};
    for (QWidget* view : inHub) EXPECT_EQ(view->parentWidget(), hub->PanelSetting) << view->objectName().toStdString();
    EXPECT_EQ(hub->PanelSetting->current(), views().charge);
    EXPECT_TRUE(views().charge->isVisible());
    EXPECT_FALSE(views().person->isVisible());
}

TEST_F(SettingsHubTest, EachButtonBringsItsViewToTheFront) {
    TProjectMainFm* main = startViews();
    main->CdProjectButton->click();
    TcdsetFm* hub = views().cdset;
    struct Case {
        QPushButton* button;
        const char* caption;
        QWidget* view;
    };
    const Case cases[] = {
        {hub->PersonManage, "经手人员设置", views().person},  {hub->typemanage, "光盘类型设置", views().cdType},
        {hub->Chargemanage, "资费标准设置", views().charge},  {hub->MortagageManage, "默认押金设置", views().mortagage},
        {hub->TimeManage, "时间限制设置", views().timelimit}, {hub->CycleManage, "计费周期设置", views().cycle},
    };
    int previousTop = -1;
    for (const Case& c : cases) {
        EXPECT_EQ(c.button->text(), QString::fromUtf8(c.caption));
        // Top to bottom in the order of the table.
        EXPECT_GT(c.button->y(), previousTop);
        previousTop = c.button->y();
        c.button->click();
        EXPECT_EQ(hub->PanelSetting->current(), c.view) << c.caption;
        EXPECT_TRUE(c.view->isVisible()) << c.caption;
    }
    // A view brought back keeps what it showed.
    hub->typemanage->click();
    EXPECT_EQ(hub->PanelSetting->current(), views().cdType);
}

}  // namespace
