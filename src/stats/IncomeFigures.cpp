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

RentalFigures IncomeFigures::rentals() const {
    const QString price = units(QStringLiteral("TRentList.RentPrice"));
    const QString back = QStringLiteral("TRentList.Back=true");
    const QString member = QStringLiteral("TRentOperation.RentPerson=\"会员\"");
    const QString walkIn = QStringLiteral("TRentOperation.RentPerson=\"零客户\"");
    db::Query q(nullptr, {}, &connection_);
    q.reopen(QStringLiteral("select count(*) as salescount, sum(iif(") + back +
             QStringLiteral(",1,0)) as personbackcount, sum(iif(") + member +
             QStringLiteral(",1,0)) as counts, sum(iif(") + back + QStringLiteral(" and ") + member +
             QStringLiteral(",1,0)) as backcount, sum(iif(") + back + QStringLiteral(" and ") + walkIn + u',' + price +
             QStringLiteral(",0)) as rmoney, sum(iif(TRentList.Back=false,") + price +
             QStringLiteral(",0)) as nmoney, sum(iif(") + back + u',' + price +
             QStringLiteral(",0)) as bmoney from TRentList LEFT JOIN TRentOperation ON TRentList.Id_RentOperation = "
                            "TRentOperation.ID where ") +
             periodCondition(QStringLiteral("TRentList.OccurDate"), period_));
    RentalFigures figures;
    figures.counts.rentCount = q.field(QStringLiteral("salescount")).asInteger();
    figures.counts.backCount = q.field(QStringLiteral("personbackcount")).asInteger();
    figures.counts.memberRentCount = q.field(QStringLiteral("counts")).asInteger();
    figures.counts.memberBackCount = q.field(QStringLiteral("backcount")).asInteger();
    figures.rent.walkInPaid = moneyOf(q, QStringLiteral("rmoney"));
    figures.rent.unpaid = moneyOf(q, QStringLiteral("nmoney"));
    figures.rent.returnedRent = moneyOf(q, QStringLiteral("bmoney"));
    return figures;
}

TitleFigures IncomeFigures::titles() const {
    db::Query q(nullptr, {}, &connection_);
    q.reopen(QStringLiteral("select sum(stock) as sumcount, sum(iif(") +
             periodCondition(QStringLiteral("BuyDate"), period_) + u',' + units(QStringLiteral("BuyPrice")) +
             QStringLiteral(",0)) as bmoney from TCdResource"));
    TitleFigures figures;
    figures.remainCount = q.field(QStringLiteral("sumcount")).asInteger();
    figures.purchases = moneyOf(q, QStringLiteral("bmoney"));
    return figures;
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

ProfitParts IncomeFigures::profitParts(const RentalFigures& rentals, const TitleFigures& titles) const {
    ProfitParts parts;
    parts.returnedRent = rentals.rent.returnedRent;
    parts.purchases = titles.purchases;
    db::Query q(nullptr, {}, &connection_);
    q.reopen(QStringLiteral("SELECT Sum(") + units(QStringLiteral("PayCash")) +
             QStringLiteral(") AS mmoney FROM TMemberKeepOnToll where ") +
             periodCondition(QStringLiteral("KeeponDate"), period_));
    parts.renewals = moneyOf(q, QStringLiteral("mmoney"));
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
    const RentalFigures lent = rentals();
    report.counts = lent.counts;
    report.rent = lent.rent;
    const TitleFigures shelf = titles();
    report.remainCount = shelf.remainCount;
    report.depositsHeld = depositsHeld();
    report.memberFees = memberFees();
    report.profit = profitParts(lent, shelf);
    return report;
}

}  // namespace stats
