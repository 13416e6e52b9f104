#include "stats/IncomeFigures.h"

#include "db/Connection.h"
#include "db/Query.h"

namespace stats {

namespace {
// Each amount is rounded to whole 1/10000 yuan before it is added, so that a sum over a million prices stays exact.
QString units(const QString& amount) {
    return QStringLiteral("round(") + amount + QStringLiteral("*10000)");
}
db::Money moneyOf(db::Query& query, const QString& name) {
    return db::Money::fromUnits(query.field(name).asInteger());
}
}  // namespace

IncomeFigures::IncomeFigures(db::Connection& connection, const Period& period)
    : connection_(connection), period_(period) {}

RentalCounts IncomeFigures::rentalCounts() const {
    // The sheet is read by its key for each item of the period: one query, however many items.
    db::Query q(nullptr, {}, &connection_);
    q.reopen(QStringLiteral("select count(*) as salescount, sum(iif(TRentList.Back=true,1,0)) as personbackcount, "
                            "sum(iif(TRentOperation.RentPerson=\"会员\",1,0)) as counts, "
                            "sum(iif(TRentList.Back=true and TRentOperation.RentPerson=\"会员\",1,0)) as backcount "
                            "from TRentList LEFT JOIN TRentOperation ON TRentList.Id_RentOperation = TRentOperation.ID "
                            "where ") +
             periodCondition(QStringLiteral("TRentList.OccurDate"), period_));
    RentalCounts counts;
    counts.rentCount = q.field(QStringLiteral("salescount")).asInteger();
    counts.backCount = q.field(QStringLiteral("personbackcount")).asInteger();
    counts.memberRentCount = q.field(QStringLiteral("counts")).asInteger();
    counts.memberBackCount = q.field(QStringLiteral("backcount")).asInteger();
    return counts;
}

qint64 IncomeFigures::remainCount() const {
    db::Query q(nullptr, {}, &connection_);
    q.reopen(QStringLiteral("select sum(stock) as sumcount from TCdResource"));
    return q.field(QStringLiteral("sumcount")).asInteger();
}

RentMoney IncomeFigures::rentMoney() const {
    const QString price = units(QStringLiteral("TRentList.RentPrice"));
    db::Query q(nullptr, {}, &connection_);
    q.reopen(QStringLiteral("select sum(iif(TRentList.Back=true and TRentOperation.RentPerson=\"零客户\",") + price +
             QStringLiteral(",0)) as rmoney, sum(iif(TRentList.Back=false,") + price +
             QStringLiteral(",0)) as nmoney, sum(iif(TRentList.Back=true,") + price +
             QStringLiteral(",0)) as bmoney from TRentList LEFT JOIN TRentOperation ON TRentList.Id_RentOperation = "
                            "TRentOperation.ID where ") +
             periodCondition(QStringLiteral("TRentList.OccurDate"), period_));
    RentMoney money;
    money.walkInPaid = moneyOf(q, QStringLiteral("rmoney"));
    money.unpaid = moneyOf(q, QStringLiteral("nmoney"));
    money.returnedRent = moneyOf(q, QStringLiteral("bmoney"));
    return money;
}

db::Money IncomeFigures::depositsHeld() const {
    db::Query q(nullptr, {}, &connection_);
    q.reopen(QStringLiteral("select sum(") + units(QStringLiteral("Deposit")) +
             QStringLiteral(") as mmoney from TRentOperation where BackStatus=\"否\""));
    return moneyOf(q, QStringLiteral("mmoney"));
}

db::Money IncomeFigures::memberFees() const {
    db::Query q(nullptr, {}, &connection_);
    q.reopen(QStringLiteral("SELECT Sum(") + units(QStringLiteral("TMemberSystem.PayCash")) +
             QStringLiteral(") AS mmoney FROM TMemberResource LEFT JOIN TMemberSystem ON TMemberResource.AttributeType "
                            "= TMemberSystem.SystemName where ") +
             periodCondition(QStringLiteral("TMemberResource.OpenAccountDate"), period_));
    return moneyOf(q, QStringLiteral("mmoney"));
}

ProfitParts IncomeFigures::profitParts(db::Money returnedRent) const {
    ProfitParts parts;
    parts.returnedRent = returnedRent;
    db::Query q(nullptr, {}, &connection_);
    q.reopen(QStringLiteral("SELECT Sum(") + units(QStringLiteral("PayCash")) +
             QStringLiteral(") AS mmoney FROM TMemberKeepOnToll where ") +
             periodCondition(QStringLiteral("KeeponDate"), period_));
    parts.renewals = moneyOf(q, QStringLiteral("mmoney"));
    q.reopen(QStringLiteral("SELECT sum(") + units(QStringLiteral("BuyPrice")) +
             QStringLiteral(") as bmoney FROM TCdResource Where ") +
             periodCondition(QStringLiteral("BuyDate"), period_));
    parts.purchases = moneyOf(q, QStringLiteral("bmoney"));
    const QString price = units(QStringLiteral("CdSalePrice"));
    q.reopen(QStringLiteral("SELECT sum(iif(CdSaleOrDiscard=0,") + price +
             QStringLiteral(",0)) as Smoney, sum(iif(CdSaleOrDiscard=1,") + price +
             QStringLiteral(",0)) as dmoney FROM CdSalesDiscard where ") +
             periodCondition(QStringLiteral("CdSaleDiscardDate"), period_));
    parts.sales = moneyOf(q, QStringLiteral("Smoney"));
    parts.writeOffs = moneyOf(q, QStringLiteral("dmoney"));
    return parts;
}

IncomeReport IncomeFigures::compute() const {
    IncomeReport report;
    report.counts = rentalCounts();
    report.remainCount = remainCount();
    report.rent = rentMoney();
    report.depositsHeld = depositsHeld();
    report.memberFees = memberFees();
    report.profit = profitParts(report.rent.returnedRent);
    return report;
}

}  // namespace stats
