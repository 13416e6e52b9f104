#pragma once

#include <QDialog>

#include "db/Query.h"

class QLineEdit;
class QPushButton;

// Sets the billing cycle in days.
class TSetCycleFm : public QDialog {
    Q_OBJECT
public:
    explicit TSetCycleFm(QWidget* parent = nullptr);
    QLineEdit* SetCycle;
    QPushButton* BtnEnter;
    QPushButton* BtnCancel;
    db::Query* QSetCycle;

private:
    void onEnter();
};
