#include "settings/TcdsetFm.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/Guard.h"
#include "settings/SettingsValues.h"
#include "ui/DockArea.h"

TcdsetFm::TcdsetFm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TcdsetFm"));
    setWindowTitle(QStringLiteral("系统设置"));
    PersonManage = settings::makeButton(QStringLiteral("PersonManage"), QStringLiteral("经手人员设置"), this);
    typemanage = settings::makeButton(QStringLiteral("typemanage"), QStringLiteral("光盘类型设置"), this);
    Chargemanage = settings::makeButton(QStringLiteral("Chargemanage"), QStringLiteral("资费标准设置"), this);
    MortagageManage = settings::makeButton(QStringLiteral("MortagageManage"), QStringLiteral("默认押金设置"), this);
    TimeManage = settings::makeButton(QStringLiteral("TimeManage"), QStringLiteral("时间限制设置"), this);
    CycleManage = settings::makeButton(QStringLiteral("CycleManage"), QStringLiteral("计费周期设置"), this);
    PanelSetting = new DockArea(QStringLiteral("PanelSetting"), this);
    PanelSetting->setFrameShape(QFrame::StyledPanel);

    auto* column = new QVBoxLayout;
    for (QPushButton* button : {PersonManage, typemanage, Chargemanage, MortagageManage, TimeManage, CycleManage}) {
        button->setMinimumHeight(36);
        button->setMinimumWidth(120);
        column->addWidget(button);
    }
    column->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(column);
    layout->addWidget(PanelSetting, 1);
}

void TcdsetFm::placeViews(const SettingViews& views) {
    views_ = views;
    // Every view lives in the content area; the charge standards show there before any button is pressed.
    for (QWidget* view : {views.person, views.cdType, views.mortagage, views.timelimit, views.cycle})
        PanelSetting->adopt(view);
    PanelSetting->dock(views.charge);

    // Each button brings its view to the front of the content area.
    auto bring = [this](QPushButton* button, QWidget* SettingViews::*view) {
        connectGuarded(button, &QPushButton::clicked, this, [this, view] {
            if (QWidget* w = views_.*view) PanelSetting->dock(w);
        });
    };
    bring(PersonManage, &SettingViews::person);
    bring(typemanage, &SettingViews::cdType);
    bring(Chargemanage, &SettingViews::charge);
    bring(MortagageManage, &SettingViews::mortagage);
    bring(TimeManage, &SettingViews::timelimit);
    bring(CycleManage, &SettingViews::cycle);
}
