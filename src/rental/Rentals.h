#pragma once

#include <QDate>
#include <QString>
#include <QVector>
#include <exception>

#include "db/Money.h"
#include "db/Vocabulary.h"

namespace db {
class Connection;
}

// The counter's rules: lending items on a sheet, confirming, deleting and cancelling, taking discs back and settling
// the rent. No widget and no message here: a refusal is a Refused the sheet turns into its notice.
namespace rental {

using vocab::memberRenter;
using vocab::no;
using vocab::walkInRenter;
using vocab::yes;

enum class Refusal {
    NoRenter,          // the renter box is empty
    NoMemberNumber,    // a member without a number
    MemberNotFound,    // no member with that number
    MemberExpired,     // nothing left of the member's days or discs
    NoPrice,           // an item saved before a lookup filled its price
    TitleOutOfStock,   // the title's last copy went out since the lookup
    VolumeOutOfStock,  // the volume's last copy went out since it was chosen
    NoItems,           // a new sheet confirmed without items
    NothingTicked,     // a return without a ticked item
};

class Refused : public std::exception {
public:
    explicit Refused(Refusal reason) : reason_(reason) {}
    Refusal reason() const { return reason_; }
    const char* what() const noexcept override { return "refused"; }

private:
    Refusal reason_;
};

// Who rents on a sheet: the renter kind text ("零客户", "会员") and the member number.
struct Renter {
    QString kind;
    QString memberId;
    bool isWalkIn() const { return kind == walkInRenter(); }
    bool isMember() const { return kind == memberRenter(); }
};

// A member's allowance as the sheet shows it.
struct MemberState {
    bool found = false;
    qint64 allow = 0;
    qint64 remain = 0;
    bool byCounts = false;  // a scheme by discs ("部") rather than by days ("天")
};

// The item being entered: the number and name of the title or volume the lookup found.
struct NewItem {
    QDate date;
    QString number;
    QString name;
    QString priceText;  // the price box; empty until a lookup filled it
};

// What a start-up recovery gave back.
struct Recovery {
    int items = 0;   // unconfirmed items of sheet 0, their stock and the members' days or discs given back
    int sheets = 0;  // sheets left without any item, deleted
};

struct SavedItem {
    qint64 itemId = 0;
    int sheetItems = 0;  // every item of the sheet, returned or not
};

// What the sheet writes into its TRentOperation row.
struct SheetHeader {
    QString handler;
    Renter renter;
    db::Money deposit;
    QString otherPledge;
    QString remark;
    QString rentCount;
};

enum class AfterDelete {
    ItemsRemain,   // the sheet still has items out
    SheetSettled,  // the last item out is gone but others were returned: the sheet is settled
    SheetEmpty,    // the sheet has no item at all any more: ask whether to drop it
};

struct DeleteResult {
    bool stockRestored = true;  // false: the number matched neither a title nor a volume
    int openItems = 0;
    AfterDelete after = AfterDelete::ItemsRemain;
    bool sheetDropped = false;  // the emptied sheet was deleted with its last item
};

// A return as computed before the operator settles it.
struct ReturnPlan {
    qint64 sheetId = 0;
    QVector<qint64> ticked;
    bool walkIn = false;
    bool final = false;  // no item of the sheet stays out
    db::Money due;
    db::Money deposit;
};

struct Settlement {
    db::Money received;
    bool fromDeposit = false;
};

struct ReturnResult {
    bool settled = false;
    int openItems = 0;
    db::Money deposit;
};

// Rent for one item: the per-day price times the days out, at least one day.
db::Money chargeFor(db::Money pricePerDay, qint64 daysOut);
// The amount divided among n items, rounded to 1/10000 yuan with ties to the even neighbour.
db::Money shareOf(db::Money amount, int items);
// A settlement box: empty means the amount due; false for a text that is not an amount of 0 or more.
bool readSettlementAmount(const QString& text, db::Money due, db::Money* out);
// A typed amount that reads as money below 0.
bool isNegativeAmount(const QString& text);

class Rentals {
public:
    explicit Rentals(db::Connection& connection);
    Rentals();

    // The member's row; found false when there is none.
    MemberState member(const QString& memberId);
    // The checks at the start of an item entry, then, for a member on a scheme by days, the remaining days
    // recomputed from the joining date and stored. Walk-in customers get a state with found false.
    MemberState beginEntry(const Renter& renter);

    // Appends the item to the sheet (0 for a sheet not yet confirmed) and takes one of the stock of its title, or of
    // its series volume, checked again here (Refused when another lending took the last copy); for a member one of
    // his days or discs. An item of sheet 0 keeps its member's number until the sheet is confirmed, so that an
    // abandoned or killed sheet gives him back what it took. Ticks not yet returned are cleared.
    SavedItem saveItem(qint64 sheetId, const Renter& renter, const NewItem& item,
                       const QVector<qint64>& unreturnedTicks = {});
    // Creates the sheet's row and moves every item of sheet 0 onto it; returns the new sheet number.
    qint64 confirmNewSheet(const SheetHeader& header);
    void confirmSheet(qint64 sheetId, const SheetHeader& header);
    // Deletes one item, gives its stock back and the member his day or disc; settles the sheet when its last open
    // item goes while returned ones remain. A continued sheet left without any item is deleted with it when
    // dropEmptySheet says so (the operator was asked before). Ticks not yet returned are cleared first.
    DeleteResult deleteItem(qint64 itemId, qint64 sheetId, const Renter& renter,
                            const QVector<qint64>& unreturnedTicks = {}, bool dropEmptySheet = false);
    // Deletes the row of a sheet that has no item left; false when it still has items.
    bool dropSheet(qint64 sheetId);
    // Gives back the stock and the members' days of every item of sheet 0 and deletes them.
    void cancelNewSheet();

    // The sheet closes without being confirmed: a new sheet's items are cancelled as above; a continued sheet whose
    // items were all deleted is deleted. True when a sheet row was deleted.
    bool closeSheet(qint64 sheetId);

    // At start-up, before anyone lends: what a run that was killed left behind goes back, in one transaction. The
    // items of sheet 0 (never confirmed) give back their stock and their members' days or discs, as cancelling the
    // sheet would, and are deleted; a sheet left without any item is deleted.
    Recovery recoverUnconfirmed();

    // Writes the ticks of the listed items.
    void setTicks(const QVector<qint64>& itemIds, bool back);

    ReturnPlan planReturn(qint64 sheetId, const QVector<qint64>& ticked);
    // Takes the ticked items back: their ticks, stock, deposit, each item's share of the money received, the sheet
    // settled when nothing stays out. Every ticked item must still be out on the sheet.
    ReturnResult applyReturn(const ReturnPlan& plan, const Settlement& settlement);

    bool giveBackVolume(const QString& volumeNumber);

    // The desk's counters.
    int openSheets();
    int itemsOut();
    int openItems(qint64 sheetId);
    int sheetItems(qint64 sheetId);

private:
    // Stock back for a title (by number) or else a volume; false when neither exists.
    bool restock(const QString& number);
    void changeMemberRemain(const QString& memberId, qint64 delta);
    // Gives back the stock and the member's day or disc of every item of sheet 0 and deletes them; their number.
    int releaseSheetZero();
    Renter sheetRenter(qint64 sheetId, const Renter& fallback);
    qint64 scalar(const QString& jetText);

    db::Connection& connection_;
};

}  // namespace rental
