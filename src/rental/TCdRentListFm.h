#pragma once

#include <QDialog>
#include <QSet>
#include <functional>

#include "db/Query.h"
#include "rental/DiscLookup.h"
#include "rental/Rentals.h"
#include "ui/DataGrid.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
struct DiscChoice;

// The sheet the rental sheet dialog works on: 0 for a new sheet, else the TRentOperation ID being continued.
extern qint64 CurrentRentOperationId;

// The rental sheet: who rents, the deposit and pledges, the items lent one by one, and on a continued sheet the
// return of ticked items with the settlement of the rent.
class TCdRentListFm : public QDialog {
    Q_OBJECT
public:
    explicit TCdRentListFm(QWidget* parent = nullptr);

    QLabel* HandlePerson;
    QComboBox* RentPerson;
    QLineEdit* PersonId;
    QPushButton* findmember;
    QLineEdit* CdPrice;
    QLineEdit* OtherMortagage;
    QLineEdit* RentExplain;
    QPushButton* BtnEnter;
    QPushButton* BtnEnd;
    ui::DataGrid* dxDBGrid1;
    QLabel* LabelCount;
    QPushButton* BtnAllCheck;
    QPushButton* BtnCancelCheck;
    QPushButton* BtnBack;
    QLabel* OccurDate;
    QLineEdit* SearchId;
    QLineEdit* CdName;
    QPushButton* FindAll;
    QLabel* CdType;
    QPushButton* BtnAdd;
    QPushButton* BtnSave;
    QPushButton* BtnCancel;
    QPushButton* BtnDel;
    QLineEdit* RentPrice;
    QLabel* LabelCycle;
    QLineEdit* Allow;
    QLabel* Label24;
    QLineEdit* Remain;
    QLabel* Label11;
    db::Query* Q;

    // The window frame and Escape cancel the sheet as "取消" does.
    void reject() override;

Q_SIGNALS:
    // The desk re-runs its list of sheets and the items of the selected one.
    void deskListsChanged();
    // The desk shows the row count of its list in RecordCount.
    void deskRecordCountChanged();
    // The desk shows this number of items still out in NotBackCount.
    void deskNotBackCountChanged(int items);
    // A member's remaining days or discs changed.
    void memberRemainChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildHeader();
    QWidget* buildItems();
    QWidget* buildEntry();
    void openSheet();
    void connectHandlers();

    void onRenterChanged(const QString& text);
    void onAdd();
    void onSave();
    void onCancelEntry();
    void onDelete();
    void onEnter();
    void onEnd();
    void onFindMember();
    void onTickAll(bool back);
    void onBack();
    enum class ReturnOutcome { Cancelled, Returned, Settled };
    // The return of the ticked items with its settlement.
    ReturnOutcome returnTicked();

    void lookupByNumber();
    void lookupByName();
    void lookupAll();
    // Fills the entry with what the selection list chose (a title, or a series volume it already took).
    void takeChoice(const DiscChoice& choice);
    // The same, after a number lookup or 显示全部: a cancelled list empties the number and name boxes.
    void takeChoiceOrClear(const DiscChoice& choice);
    void showTitle(const rental::Title& title, bool withNumber, bool withName);
    // A title found for the entry: the item will carry its number and name.
    void foundTitle(const rental::Title& title, bool withName);
    // After a lookup: the focus goes where the next useful key goes.
    void lookupDone();
    // A lookup's notice: the focus back to the box with its text selected, and the handler ends.
    [[noreturn]] void refuseAt(const QString& text, QLineEdit* box);
    // The operator changed a box after a lookup: what it found no longer counts.
    void forgetLookup();
    // A volume was taken for the entry: it replaces any volume taken before in the same entry.
    void holdVolume(const QString& number, const QString& name);
    void releaseHeldVolume();

    void setEntryState(bool entry);
    void setEntryBoxesVisible(bool visible);
    void followItemList();
    rental::Renter renter() const;
    qint64 itemAt(int row) const;
    // The ticked items still listed, in list order.
    QVector<qint64> tickedItems() const;
    // Drops the ticks of items no longer listed and shows the others.
    void showTicks();
    // Re-reads the item list after an action failed, so it shows the rows as they are.
    void reloadAfterFailure();
    // Closes without running the sheet's cancel rules.
    void closeSheet();

    qint64 sheetId_ = 0;
    QDate entryDate_;
    QString heldVolume_;  // chosen by the lookup for the item being entered; its stock goes when the item is saved
    struct Found {
        bool valid = false;
        QString number;
        QString name;
    };
    Found found_;         // what the last lookup of the entry found
    QString typedName_;   // the name typed for a name lookup that found one title
    QSet<qint64> ticks_;  // items ticked for the return, written only by the return itself
    QList<QWidget*> entryBoxes_;
    rental::Rentals rentals_;
    bool closing_ = false;
};

// Opens the sheet for a sheet number (0: a new sheet) modally; `prepare` may connect its signals before it shows.
void OpenRentSheet(qint64 sheetId, QWidget* parent = nullptr, const std::function<void(TCdRentListFm*)>& prepare = {});
