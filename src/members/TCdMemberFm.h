#pragma once

#include <QWidget>

#include "db/Query.h"
#include "ui/DataGrid.h"
#include "ui/DbControls.h"

class QLabel;
class QPushButton;
class QTabWidget;

// Members and member schemes: one tab lists the members with their boxes and buttons, the other the schemes they
// pay for. A member's first payment row is written here; renewals go through TMemberKponTollFm.
class TCdMemberFm : public QWidget {
    Q_OBJECT
public:
    explicit TCdMemberFm(QWidget* parent = nullptr);

    QTabWidget* PageControl;
    QWidget* TabMember;  // "会员资料管理"
    QWidget* TabSystem;  // "会员制度管理"

    // Members.
    ui::DataGrid* dxDBGrid1;
    ui::DbEdit* MemberName;
    ui::DbEdit* dxDBEdit1;
    ui::DbPickList* SystemType;
    QLabel* OpenDate;
    QLabel* AllowCounts;
    QLabel* RemainCounts;
    QPushButton* BtnAddMember;
    QPushButton* MemberkponToll;
    QPushButton* BtnSaveMember;
    QPushButton* BtnCancelMember;
    QPushButton* EpButton2;

    // Schemes.
    ui::DataGrid* GridMain;
    ui::DbEdit* SystemName;
    ui::DbPickList* SystemTypes;
    ui::DbMoneyEdit* CdSystemPrice;
    ui::DbSpinEdit* CdRewardDays;
    QPushButton* AddSystemBtn;
    QPushButton* SaveSystemBtn;
    QPushButton* CancleSystemBtn;
    QPushButton* RzBitBtn4;

    db::Query* Q;   // schemes
    db::Query* Q2;  // members
    db::Query* Qtype;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* buildMemberPanel();
    QWidget* buildSystemPanel();
    void connectHandlers();

    void onTabChanged(int index);
    void showCurrentMember();
    void onMemberSchemeChosen(const QString& name);
    void setSchemeBoxesEnabled(bool enabled);
    void endMemberEntry();

    void addMember();
    void saveMember();
    void cancelMember();
    void deleteMember();
    void renewMember();
    void checkMember();

    void addSystem();
    void saveSystem();
    void cancelSystem();
    void deleteSystem();
    void checkSystem();

    bool shownOnce_ = false;
};
