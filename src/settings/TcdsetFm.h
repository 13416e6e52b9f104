#pragma once

#include <QWidget>

class DockArea;
class QPushButton;

// The settings hub: six buttons and the content area the settings views live in.
class TcdsetFm : public QWidget {
    Q_OBJECT
public:
    explicit TcdsetFm(QWidget* parent = nullptr);
    QPushButton* PersonManage;
    QPushButton* typemanage;
    QPushButton* Chargemanage;
    QPushButton* MortagageManage;
    QPushButton* TimeManage;
    QPushButton* CycleManage;
    DockArea* PanelSetting;

    // The six settings views, in the order of the buttons.
    struct SettingViews {
        QWidget* person = nullptr;
        QWidget* cdType = nullptr;
        QWidget* charge = nullptr;
        QWidget* mortagage = nullptr;
        QWidget* timelimit = nullptr;
        QWidget* cycle = nullptr;
    };
    // Takes the settings views into the content area and ties each button to its view.
    void placeViews(const SettingViews& views);

private:
    SettingViews views_;
};
