#pragma once

#include <QWidget>

class DockArea;

// The settings hub: six buttons and the content area the settings views live in.
class TcdsetFm : public QWidget {
    Q_OBJECT
public:
    explicit TcdsetFm(QWidget* parent = nullptr);
    DockArea* PanelSetting;
};
