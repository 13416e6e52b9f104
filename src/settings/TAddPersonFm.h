#pragma once

#include <QDialog>

#include "db/Query.h"

class QLabel;
class QLineEdit;
class QPushButton;

// A new operator (id 0) or a new name for the operator with that TPerson Id.
class TAddPersonFm : public QDialog {
    Q_OBJECT
public:
    explicit TAddPersonFm(qint64 id, QWidget* parent = nullptr);
    QLineEdit* PersonName;
    QLabel* Label2;
    QPushButton* AuthorityManage;
    QPushButton* EnterButton;
    QPushButton* CancelButton;
    db::Query* Q;

private:
    // The name as the login will look it up: blanks at both ends do not count.
    QString typedName() const;
    void onAuthorityManage();
    void onEnter();
    QString rowText() const;
    qint64 id_;
};
