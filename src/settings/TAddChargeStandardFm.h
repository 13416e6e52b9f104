#pragma once

#include <QDialog>

#include "db/Query.h"

class QLineEdit;
class QPushButton;

// A new charge standard (id 0) or a change of the standard with that Id.
class TAddChargeStandardFm : public QDialog {
    Q_OBJECT
public:
    explicit TAddChargeStandardFm(qint64 id, QWidget* parent = nullptr);
    QLineEdit* ChargeName;
    QLineEdit* RentSum;
    QPushButton* BtnOk;
    QPushButton* BtnCancel;
    db::Query* Q;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void onOk();
    QString rowText() const;
    qint64 id_;
};
