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
};
