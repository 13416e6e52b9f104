#pragma once

#include <QDialog>

#include "db/Query.h"
#include "ui/DataGrid.h"

class QPushButton;

// The member lookup ("选择会员"): lists every member and hands back the number of the one picked. A member with
// nothing left cannot be picked.
//
//     const QString number = TFindMemberFm::choose(this);  // empty: nothing was chosen
class TFindMemberFm : public QDialog {
    Q_OBJECT
public:
    explicit TFindMemberFm(QWidget* parent = nullptr);

    // Opens the lookup modally for one use and returns result() once it is closed.
    static QString choose(QWidget* parent = nullptr);
    // The number picked by the last "确定", empty after "取消". It is kept for the whole run: closing the lookup by
    // its close box leaves it as the previous use set it.
    static QString result();
    // Forgets the kept result, as at the start of a run (for testing).
    static void resetResult();

    ui::DataGrid* dxDBGrid1;
    QPushButton* BtnEnter;
    QPushButton* Btncancel;
    db::Query* Q;

private:
    void enter();
    void cancel();
};
