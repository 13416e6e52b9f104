#pragma once

#include <QWidget>

#include "db/Query.h"

class QCheckBox;
class QLabel;
class QPushButton;
namespace ui {
class DataGrid;
}

// The rental time limit and the switch of the overdue reminder.
class TTimelimitFm : public QWidget {
    Q_OBJECT
public:
    explicit TTimelimitFm(QWidget* parent = nullptr);
    QCheckBox* AwokeCheckBox;
    QLabel* Label2;
    ui::DataGrid* dxDBGrid10;
    QPushButton* TimeSet;
    db::Query* Qtimelimited;
    db::Query* QAwoke;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void storeReminderSwitch();
    bool shownBefore_ = false;
};
