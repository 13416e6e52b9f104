#pragma once

#include <QDialog>

#include "db/Query.h"

class QLineEdit;
class QPushButton;

// Sets the number of days after which a disc still out is overdue.
class TSetTimelimitedFm : public QDialog {
    Q_OBJECT
public:
    explicit TSetTimelimitedFm(QWidget* parent = nullptr);
    QLineEdit* SetTimelimited;
    QPushButton* BtnOk;
    QPushButton* BtnCancel;
    db::Query* QSetTimelimited;

private:
    void onOk();
};
