#pragma once

#include "db/Query.h"
#include "ui/DataGrid.h"
#include "ui/TGridFatherFm.h"

class QAction;
class QLabel;
class QPushButton;
class TCdRentListFm;

// The rental desk: the sheets (by default those with discs still out) and the items of the selected one. New sheets
// start here, open sheets are continued from here, and a sheet can be found by one of its discs.
class TCdRentBackFm : public TGridFatherFm {
    Q_OBJECT
public:
    explicit TCdRentBackFm(QWidget* parent = nullptr);

    // The desk as a run starts with it: the open sheets under their label, the items of the first, and both
    // counters. Whatever resets the desk's list (a backup, a restore) calls this, so the label says what is shown.
    void showOpenSheets();
    // Re-runs the list of sheets (with the text in force) and the items of the selected one.
    void refreshLists();
    // RecordCount shows the list's row count as a bare number.
    void showRecordCount();
    void showNotBackCount(int items);

    db::Query* SubQ;
    ui::DataGrid* dxDBGrid1;
    QLabel* RecordCount;
    QLabel* NotBackCount;
    QLabel* OperationId;
    QLabel* DisplayLabel;
    QPushButton* BtnAddNew;
    QPushButton* BtnAddOld;
    QPushButton* QuickBack;

    // The view menu's entries, in menu order.
    QAction* MenuAll;
    QAction* MenuBack;
    QAction* MenuNotBack;
    QAction* MenuWalkIn;
    QAction* MenuMember;

Q_SIGNALS:
    // A member's remaining days or discs changed on a sheet.
    void memberRemainChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildEditPanel();
    void buildViewMenu();
    void applyFilter(const QString& label, const QString& sql);
    void onSelectionChange();
    void onAddNew();
    void onAddOld();
    void onQuickBack();
    void openSheet(qint64 id);
    void followSheet(TCdRentListFm* sheet);
};
