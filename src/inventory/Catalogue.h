#pragma once

#include <QList>
#include <QString>

#include "db/Money.h"
#include "inventory/SeriesVolumes.h"

namespace db {
class Connection;
}

namespace inventory {

// A title as the record checks see it: what was typed for it.
struct TitleEntry {
    qint64 id = 0;  // 0 for a title not written yet
    QString number;
    QString name;
    QString rentStandard;  // the name of the charge standard shown for it; empty when none
};

// Why a title may not be written, in the order the checks run.
enum class RecordRefusal { None, NoNumber, NumberInUse, NoName, NoRentStandard };

// What a new title starts with.
struct NewTitleValues {
    qint64 stock = 0;
    db::Money rentPrice;
};

// Sets leaving the shop for good.
enum class StockMoveKind { Sale, WriteOff };

// Why sale or write-off mode may not be entered for a title.
enum class MoveStartRefusal { None, NoStock, SeriesVolumeWithoutStock };

struct StockMove {
    qint64 titleId = 0;
    StockMoveKind kind = StockMoveKind::Sale;
    int count = 0;
    db::Money salePrice;  // a sale only: a write-off is valued at the purchase price
};

// Why a sale or write-off was not recorded. `available` is the stock the count may not exceed.
struct StockMoveRefusal {
    enum Reason { None, CountBelowOne, AboveStock, AboveSeriesStock } reason = None;
    qint64 available = 0;
    explicit operator bool() const { return reason != None; }
};

// The rules that change the disc catalogue (TCdResource with its volumes and its sales and write-offs). Every
// action that writes more than one row is one transaction: it stays whole or not at all.
class Catalogue {
public:
    explicit Catalogue(db::Connection& connection);

    // The checks before a title is written, in order; the first that fails is returned.
    RecordRefusal checkRecord(const TitleEntry& entry) const;
    // Single titles with this name other than the title itself, in query order: each may be the same film bought
    // again.
    QList<qint64> sameNamedSingles(const QString& name, qint64 exceptId) const;
    // A repeated purchase of a single title: the sets bought join its count and its stock.
    void mergePurchase(qint64 titleId, int setsBought);
    // A new title's stock is the sets bought; its rent is that of the charge standard chosen (0 when none).
    NewTitleValues newTitleValues(int setsBought, qint64 chargeStandardId) const;

    SeriesVolumes& volumes() { return volumes_; }

    // Whether a sale or write-off of the title may start: a single title needs stock, a series every volume.
    MoveStartRefusal checkMoveStart(qint64 titleId) const;
    // The counts a sale or write-off may take: at least one set, no more than the stock (for a series, the least
    // stock of its volumes).
    StockMoveRefusal checkStockMove(qint64 titleId, int count) const;
    // Records a sale or write-off: its CdSalesDiscard row, dated now, and the stock it takes (a single title's own
    // stock, every volume of a series).
    StockMoveRefusal recordStockMove(const StockMove& move);

    // Deletes a title, a series with its volumes. Its sales, write-offs and rentals stay.
    void deleteTitle(qint64 titleId);

private:
    bool isSeries(qint64 titleId) const;

    db::Connection& connection_;
    SeriesVolumes volumes_;
};

}  // namespace inventory
