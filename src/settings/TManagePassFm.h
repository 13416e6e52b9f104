#pragma once

#include <QDialog>

#include "db/Query.h"

class QLineEdit;
class QPushButton;

// Sets the password of one operator's rights row.
class TManagePassFm : public QDialog {
    Q_OBJECT
public:
    TManagePassFm(const QString& name, QWidget* parent = nullptr);
    QLineEdit* OldPass;
    QLineEdit* NewPass;
    QPushButton* BtnOk;
    QPushButton* BtnCancel;
    db::Query* Q;

private:
    void onOk();

    QString name_;
};
