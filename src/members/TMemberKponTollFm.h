#pragma once

#include <QDialog>

#include "db/Query.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Renewal of one member ("会员续费"): the chosen scheme's grant is added to what the member has left and the payment
// is recorded. Shown modally for one use; the caller refreshes its member list afterwards.
class TMemberKponTollFm : public QDialog {
    Q_OBJECT
public:
    explicit TMemberKponTollFm(const QString& memberId, QWidget* parent = nullptr);

    // The number the dialog was opened with; both rows it writes use it, whatever MId shows.
    const QString& memberId() const { return memberId_; }

    QLineEdit* MId;
    QLineEdit* Mname;
    QComboBox* PickEditmembersystem;
    QLabel* AllowS;
    QLabel* Label4;  // "天" or "部"
    QLabel* Labeltoll;
    QPushButton* EnterBtn;
    QPushButton* RzBitBtn1;

    db::Query* Q;
    db::Query* Qsystem;

private:
    void onSchemeText(const QString& text);
    void enter();

    QString memberId_;
};
