#pragma once

#include <QDialog>

#include "db/Query.h"

class QComboBox;
class QLineEdit;
class QPushButton;

class TpasswordFm : public QDialog {
    Q_OBJECT
public:
    explicit TpasswordFm(QWidget* parent = nullptr);

    QComboBox* userlabel;
    QLineEdit* paslabel;
    QPushButton* ButtonYes;
    QPushButton* Buttoncancel;
    db::Query* Quser;
    db::Query* Qauthority;

    int loginResult() const { return result_; }

private:
    void onYes();
    int result_ = 0;
};

// Shows the login window; 1 when an operator logged in, 0 otherwise.
int Login();
