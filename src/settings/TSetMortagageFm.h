#pragma once

#include <QDialog>

#include "db/Query.h"

class QLineEdit;
class QPushButton;

// Sets the default deposit.
class TSetMortagageFm : public QDialog {
    Q_OBJECT
public:
    explicit TSetMortagageFm(QWidget* parent = nullptr);
    QLineEdit* CaleMortagage;
    QPushButton* BtnEnter;
    QPushButton* BtnCancel;
    db::Query* QMortagageSet;

private:
    void onEnter();
};
