#include "inventory/Catalogue.h"

#include "db/Clock.h"
#include "db/Connection.h"
#include "db/Errors.h"
#include "db/Query.h"
#include "db/Transaction.h"

namespace inventory {

namespace {
const QString kYes = QStringLiteral("是");
const QString kNo = QStringLiteral("否");

QString titleById(qint64 titleId) {
    return QStringLiteral("select * from TCdResource where ID=") + jet::number(titleId);
}
}  // namespace

Catalogue::Catalogue(db::Connection& connection) : connection_(connection), volumes_(connection) {}

RecordRefusal Catalogue::checkRecord(const TitleEntry& entry) const {
    if (entry.number.trimmed().isEmpty()) return RecordRefusal::NoNumber;
    db::Query found(nullptr, {}, &connection_);
    if (entry.id == 0)
        found.reopen(QStringLiteral("select * from TCdResource where CountId=") + jet::quoted(entry.number));
    else
        found.reopen(QStringLiteral("Select * from TCdResource where CountId=") + jet::quoted(entry.number) +
                     QStringLiteral(" And ID <>") + jet::number(entry.id));
    if (!found.isEmpty()) return RecordRefusal::NumberInUse;
    if (entry.name.trimmed().isEmpty()) return RecordRefusal::NoName;
    if (entry.rentStandard.isEmpty()) return RecordRefusal::NoRentStandard;
    return RecordRefusal::None;
}

QList<qint64> Catalogue::sameNamedSingles(const QString& name, qint64 exceptId) const {
    db::Query found(nullptr, {}, &connection_);
    if (exceptId == 0)
        found.reopen(QStringLiteral("Select * from TCdResource where CdName=") + jet::quoted(name) +
                     QStringLiteral(" and SitComYesOrNo=") + jet::quoted(kNo));
    else
        found.reopen(QStringLiteral("Select * from TCdResource where CdName=") + jet::quoted(name) +
                     QStringLiteral(" And ID <>") + jet::number(exceptId) + QStringLiteral(" and SitComYesOrNo=") +
                     jet::quoted(kNo));
    QList<qint64> ids;
    for (found.first(); !found.eof(); found.next()) ids.append(found.field("ID").asInteger());
    return ids;
}

void Catalogue::mergePurchase(qint64 titleId, int setsBought) {
    db::Transaction action(connection_);
    db::Query title(nullptr, {}, &connection_);
    title.reopen(titleById(titleId));
    if (title.isEmpty()) throw db::Error(QStringLiteral("光盘资料已不存在"));
    title.edit();
    title.field("BuySeriesCount").setInteger(title.field("BuySeriesCount").asInteger() + setsBought);
    title.field("stock").setInteger(title.field("stock").asInteger() + setsBought);
    title.post();
    action.commit();
}

NewTitleValues Catalogue::newTitleValues(int setsBought, qint64 chargeStandardId) const {
    NewTitleValues values;
    values.stock = setsBought;
    if (chargeStandardId != 0) {
        db::Query standard(nullptr, {}, &connection_);
        standard.reopen(QStringLiteral("select * from TChargeStandard where id=") + jet::number(chargeStandardId));
        if (!standard.isEmpty()) values.rentPrice = standard.field("RentSum").asMoney();
    }
    return values;
}

MoveStartRefusal Catalogue::checkMoveStart(qint64 titleId) const {
    if (isSeries(titleId)) {
        const std::optional<qint64> smallest = volumes_.smallestStock(titleId);
        return smallest && *smallest <= 0 ? MoveStartRefusal::SeriesVolumeWithoutStock : MoveStartRefusal::None;
    }
    db::Query title(nullptr, {}, &connection_);
    title.reopen(titleById(titleId));
    if (title.isEmpty() || title.field("stock").asInteger() <= 0) return MoveStartRefusal::NoStock;
    return MoveStartRefusal::None;
}

StockMoveRefusal Catalogue::checkStockMove(qint64 titleId, int count) const {
    if (count < 1) return {StockMoveRefusal::CountBelowOne, 0};
    db::Query title(nullptr, {}, &connection_);
    title.reopen(titleById(titleId));
    const qint64 stock = title.isEmpty() ? 0 : title.field("stock").asInteger();
    if (!title.isEmpty() && title.field("SitComYesOrNo").asString() == kYes) {
        // A series without volumes has only its own count to go by.
        const qint64 smallest = volumes_.smallestStock(titleId).value_or(stock);
        if (count > smallest) return {StockMoveRefusal::AboveSeriesStock, smallest};
    } else if (count > stock) {
        return {StockMoveRefusal::AboveStock, stock};
    }
    return {};
}

StockMoveRefusal Catalogue::recordStockMove(const StockMove& move) {
    if (const StockMoveRefusal refusal = checkStockMove(move.titleId, move.count)) return refusal;
    const bool sale = move.kind == StockMoveKind::Sale;
    db::Transaction action(connection_);
    db::Query title(nullptr, {}, &connection_);
    title.reopen(titleById(move.titleId));
    const bool series = title.field("SitComYesOrNo").asString() == kYes;

    db::Query record(nullptr, {}, &connection_);
    record.reopen(QStringLiteral("select * from CdSalesDiscard"));
    record.append();
    record.field("CdId").setInteger(move.titleId);
    record.field("SaleCount").setInteger(move.count);
    // Written off at the purchase price in whole yuan, once, whatever the count.
    record.field("CdSalePrice").setMoney(sale ? move.salePrice : title.field("BuyPrice").asMoney().roundedToYuan());
    record.field("CdSaleDiscardDate").setDateTime(db::Clock::now());
    record.field("CdSaleOrDiscard").setInteger(sale ? 0 : 1);
    record.post();

    if (series) {
        volumes_.lowerStock(move.titleId, move.count);
    } else {
        title.edit();
        title.field("stock").setInteger(title.field("stock").asInteger() - move.count);
        title.post();
    }
    action.commit();
    return {};
}

void Catalogue::deleteTitle(qint64 titleId) {
    db::Transaction action(connection_);
    if (isSeries(titleId)) volumes_.removeAll(titleId);
    db::Query(nullptr, {}, &connection_)
        .execSql(QStringLiteral("delete * from TCdResource where ID=") + jet::number(titleId));
    action.commit();
}

bool Catalogue::isSeries(qint64 titleId) const {
    db::Query title(nullptr, {}, &connection_);
    title.reopen(titleById(titleId));
    return !title.isEmpty() && title.field("SitComYesOrNo").asString() == kYes;
}

}  // namespace inventory
