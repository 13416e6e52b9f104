#pragma once

#include <QDialog>

#include "db/Query.h"

class QLineEdit;
class QPushButton;

// A new disc type (id 0) or a change of the type with that Id.
class TAddTypesFm : public QDialog {
    Q_OBJECT
public:
    explicit TAddTypesFm(qint64 id, QWidget* parent = nullptr);
    QLineEdit* TypeName;
    QPushButton* EnterButton;
    QPushButton* CancelButton;
    db::Query* Q;

private:
    void onEnter();
    QString rowText() const;
    qint64 id_;
};
