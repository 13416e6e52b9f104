#include "rental/Rentals.h"

#include <QStringList>

#include "db/Connection.h"
#include "db/Errors.h"
#include "db/JetDialect.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "members/MemberCommon.h"

namespace rental {

namespace {

QString idList(const QVector<qint64>& ids) {
    QStringList parts;
    parts.reserve(ids.size());
    for (qint64 id : ids) parts << QString::number(id);
    return u'(' + parts.join(u',') + u')';
}

}  // namespace

db::Money chargeFor(db::Money pricePerDay, qint64 daysOut) {
    return pricePerDay * (daysOut > 0 ? daysOut : 1);
}

db::Money shareOf(db::Money amount, int items) {
    if (items <= 0) return amount;
    const qint64 units = amount.units();
    qint64 quotient = units / items;
    qint64 remainder = units % items;
    // Bring the remainder to the sign of the amount, so that the quotient is rounded toward minus infinity.
    if (remainder < 0) {
        remainder += items;
        --quotient;
    }
    const qint64 twice = remainder * 2;
    if (twice > items || (twice == items && quotient % 2 != 0)) ++quotient;
    return db::Money::fromUnits(quotient);
}

bool readSettlementAmount(const QString& text, db::Money due, db::Money* out) {
    if (text.trimmed().isEmpty()) {
        *out = due;
        return true;
    }
    db::Money amount;
    if (!db::Money::tryParse(text, &amount) || amount < db::Money()) return false;
    *out = amount;
    return true;
}

bool isNegativeAmount(const QString& text) {
    db::Money amount;
    return db::Money::tryParse(text.trimmed(), &amount) && amount < db::Money();
}

Rentals::Rentals(db::Connection& connection) : connection_(connection) {}

Rentals::Rentals() : Rentals(db::Connection::shared()) {}

qint64 Rentals::scalar(const QString& jetText) {
    db::Query q(nullptr, {}, &connection_);
    q.reopen(jetText);
    return q.isEmpty() ? 0 : q.field(0).asInteger();
}

MemberState Rentals::member(const QString& memberId) {
    MemberState state;
    db::Query q(nullptr, {}, &connection_);
    q.reopen(QStringLiteral("select * from TMemberResource where PersonId=") + jet::quoted(memberId));
    if (q.isEmpty()) return state;
    state.found = true;
    state.allow = q.field(QStringLiteral("AllowDaysOrCounts")).asInteger();
    state.remain = q.field(QStringLiteral("RemainDaysOrCounts")).asInteger();
    db::Query scheme(nullptr, {}, &connection_);
    scheme.reopen(QStringLiteral("select * from TMemberSystem where SystemName=") +
                  jet::quoted(q.field(QStringLiteral("AttributeType")).asString()));
    state.byCounts =
        !scheme.isEmpty() && scheme.field(QStringLiteral("SystemType")).asString() == members::countScheme();
    return state;
}

MemberState Rentals::beginEntry(const Renter& renter) {
    if (renter.kind.isEmpty()) throw Refused(Refusal::NoRenter);
    if (renter.isMember()) {
        if (renter.memberId.isEmpty()) throw Refused(Refusal::NoMemberNumber);
        const MemberState stored = member(renter.memberId);
        if (!stored.found) throw Refused(Refusal::MemberNotFound);
        // The stored value decides, before the recomputation below.
        if (stored.remain <= 0) throw Refused(Refusal::MemberExpired);
    }
    if (renter.isWalkIn()) return {};
    MemberState state = member(renter.memberId);
    if (!state.found || state.byCounts) return state;
    // A scheme by days: what is left is the days granted minus the days since joining.
    db::Query q(nullptr, {}, &connection_);
    q.reopen(QStringLiteral("select datediff(\"d\",OpenAccountDate,now()) as usedays,AllowDaysOrCounts,"
                            "RemainDaysOrCounts from TMemberResource where PersonId=") +
             jet::quoted(renter.memberId));
    state.remain = state.allow - q.field(QStringLiteral("usedays")).asInteger();
    q.execSql(QStringLiteral("update TMemberResource set RemainDaysOrCounts=") + jet::number(state.remain) +
              QStringLiteral(" where PersonId=") + jet::quoted(renter.memberId));
    return state;
}

SavedItem Rentals::saveItem(qint64 sheetId, const Renter& renter, const NewItem& item,
                            const QVector<qint64>& unreturnedTicks) {
    db::Money price;
    if (item.priceText.trimmed().isEmpty() || !db::Money::tryParse(item.priceText, &price))
        throw Refused(Refusal::NoPrice);
    if (!renter.isWalkIn()) price = db::Money();

    db::Transaction transaction(connection_);
    setTicks(unreturnedTicks, false);
    db::Query q(nullptr, {}, &connection_);
    // The stock is taken only while a copy is left, whatever else lent since the lookup: the check and the taking
    // are one statement.
    q.reopen(QStringLiteral("select ID, SitComYesOrNo from TCdResource where CountId=") + jet::quoted(item.number));
    if (!q.isEmpty() && q.field(QStringLiteral("SitComYesOrNo")).asString() == no()) {
        q.execSql(QStringLiteral("update TCdResource set stock=stock-1 where stock>0 and ID=") +
                  jet::number(q.field(QStringLiteral("ID")).asInteger()));
        if (connection_.changes() == 0) throw Refused(Refusal::TitleOutOfStock);
    } else {
        q.reopen(QStringLiteral("select Id from Sitcom where CdCountId=") + jet::quoted(item.number));
        if (!q.isEmpty()) {
            q.execSql(QStringLiteral("update Sitcom set Stock=Stock-1 where Stock>0 and Id=") +
                      jet::number(q.field(0).asInteger()));
            if (connection_.changes() == 0) throw Refused(Refusal::VolumeOutOfStock);
        }
    }
    // Until its sheet is confirmed an item keeps the member it was lent to.
    const QString pendingMember = sheetId == 0 && renter.isMember() ? renter.memberId : QString();
    q.execSql(QStringLiteral("insert into TRentList (Id_RentOperation, OccurDate, CdCountId_TCdResource, "
                             "CdName_TCdResource, RentPrice, Back, TimeLimited) values (") +
              jet::number(sheetId) + u',' + jet::dateLiteral(item.date) + u',' + jet::quoted(item.number) + u',' +
              jet::quoted(item.name) + u',' + jet::number(price) + QStringLiteral(",false,") +
              (pendingMember.isEmpty() ? QStringLiteral("null") : jet::quoted(pendingMember)) + u')');
    SavedItem saved;
    saved.itemId = connection_.lastInsertRowId();
    if (renter.isMember()) changeMemberRemain(renter.memberId, -1);
    saved.sheetItems = sheetItems(sheetId);
    transaction.commit();
    return saved;
}

qint64 Rentals::confirmNewSheet(const SheetHeader& header) {
    db::Transaction transaction(connection_);
    if (sheetItems(0) == 0) throw Refused(Refusal::NoItems);
    db::Query q(nullptr, {}, &connection_);
    q.execSql(QStringLiteral("insert into TRentOperation (OccurPerson, RentPerson, PersonId, Deposit, OtherMortagage, "
                             "Explain, RentCount, BackStatus) values (") +
              jet::quoted(header.handler) + u',' + jet::quoted(header.renter.kind) + u',' +
              jet::quoted(header.renter.memberId) + u',' + jet::number(header.deposit) + u',' +
              jet::quoted(header.otherPledge) + u',' + jet::quoted(header.remark) + u',' +
              jet::quoted(header.rentCount) + u',' + jet::quoted(no()) + u')');
    const qint64 newId = connection_.lastInsertRowId();
    q.execSql(QStringLiteral("update TRentList set Id_RentOperation=") + jet::number(newId) +
              QStringLiteral(", TimeLimited=null where Id_RentOperation=0"));
    transaction.commit();
    return newId;
}

void Rentals::confirmSheet(qint64 sheetId, const SheetHeader& header) {
    db::Query q(nullptr, {}, &connection_);
    q.execSql(QStringLiteral("update TRentOperation set OccurPerson=") + jet::quoted(header.handler) +
              QStringLiteral(", RentPerson=") + jet::quoted(header.renter.kind) + QStringLiteral(", PersonId=") +
              jet::quoted(header.renter.memberId) + QStringLiteral(", Deposit=") + jet::number(header.deposit) +
              QStringLiteral(", OtherMortagage=") + jet::quoted(header.otherPledge) + QStringLiteral(", Explain=") +
              jet::quoted(header.remark) + QStringLiteral(", RentCount=") + jet::quoted(header.rentCount) +
              QStringLiteral(", BackStatus=") + jet::quoted(no()) + QStringLiteral(" where ID=") +
              jet::number(sheetId));
}

DeleteResult Rentals::deleteItem(qint64 itemId, qint64 sheetId, const Renter& renter,
                                 const QVector<qint64>& unreturnedTicks, bool dropEmptySheet) {
    db::Transaction transaction(connection_);
    setTicks(unreturnedTicks, false);
    db::Query q(nullptr, {}, &connection_);
    q.reopen(QStringLiteral("select * from TRentList where ID=") + jet::number(itemId));
    if (q.isEmpty()) throw db::Error(QStringLiteral("该出租记录已不存在。"));
    const qint64 itemSheet = q.field(QStringLiteral("Id_RentOperation")).asInteger();
    const QString number = q.field(QStringLiteral("CdCountId_TCdResource")).asString();
    const QString pendingMember = q.field(QStringLiteral("TimeLimited")).asString();
    q.execSql(QStringLiteral("delete * from TRentList where ID=") + jet::number(itemId));

    DeleteResult result;
    result.stockRestored = restock(number);
    // The member gets back the day or disc the item took: the one it was lent to.
    if (itemSheet == 0) {
        if (!pendingMember.isEmpty()) changeMemberRemain(pendingMember, +1);
    } else {
        const Renter who = sheetRenter(itemSheet, renter);
        if (who.isMember()) changeMemberRemain(who.memberId, +1);
    }
    result.openItems = openItems(itemSheet);
    if (result.openItems == 0) {
        if (sheetItems(itemSheet) > 0) {
            q.execSql(QStringLiteral("update TRentOperation set RentCount=") +
                      jet::quoted(QString::number(result.openItems)) + QStringLiteral(", BackStatus=") +
                      jet::quoted(yes()) + QStringLiteral(" where ID=") + jet::number(sheetId));
            result.after = AfterDelete::SheetSettled;
        } else {
            result.after = AfterDelete::SheetEmpty;
            if (itemSheet != 0 && dropEmptySheet) result.sheetDropped = dropSheet(itemSheet);
        }
    }
    transaction.commit();
    return result;
}

bool Rentals::dropSheet(qint64 sheetId) {
    db::Transaction transaction(connection_);
    if (sheetItems(sheetId) > 0) return false;
    db::Query q(nullptr, {}, &connection_);
    q.execSql(QStringLiteral("delete * from TRentOperation where ID=") + jet::number(sheetId));
    const bool dropped = connection_.changes() > 0;
    transaction.commit();
    return dropped;
}

int Rentals::releaseSheetZero() {
    db::Query q(nullptr, {}, &connection_);
    q.reopen(QStringLiteral("select CdCountId_TCdResource, TimeLimited from TRentList where Id_RentOperation=0"));
    int items = 0;
    for (q.first(); !q.eof(); q.next()) {
        restock(q.field(0).asString());
        const QString member = q.field(1).asString();
        if (!member.isEmpty()) changeMemberRemain(member, +1);
        ++items;
    }
    q.execSql(QStringLiteral("delete * from TRentList where Id_RentOperation=0"));
    return items;
}

void Rentals::cancelNewSheet() {
    db::Transaction transaction(connection_);
    releaseSheetZero();
    transaction.commit();
}

bool Rentals::closeSheet(qint64 sheetId) {
    if (sheetId == 0) {
        cancelNewSheet();
        return false;
    }
    // A continued sheet whose items were all deleted is no sheet any more.
    return dropSheet(sheetId);
}

Recovery Rentals::recoverUnconfirmed() {
    db::Transaction transaction(connection_);
    Recovery recovery;
    recovery.items = releaseSheetZero();
    db::Query q(nullptr, {}, &connection_);
    q.execSql(QStringLiteral("delete * from TRentOperation where not ID in (select Id_RentOperation from TRentList)"));
    recovery.sheets = connection_.changes();
    transaction.commit();
    return recovery;
}

void Rentals::setTicks(const QVector<qint64>& itemIds, bool back) {
    if (itemIds.isEmpty()) return;
    db::Query q(nullptr, {}, &connection_);
    q.execSql(QStringLiteral("update TRentList set Back=") + (back ? QStringLiteral("true") : QStringLiteral("false")) +
              QStringLiteral(" where ID in ") + idList(itemIds));
}

ReturnPlan Rentals::planReturn(qint64 sheetId, const QVector<qint64>& ticked) {
    if (ticked.isEmpty()) throw Refused(Refusal::NothingTicked);
    ReturnPlan plan;
    plan.sheetId = sheetId;
    plan.ticked = ticked;
    db::Query q(nullptr, {}, &connection_);
    q.reopen(QStringLiteral("select * from TRentOperation where ID=") + jet::number(sheetId));
    if (q.isEmpty()) throw db::Error(QStringLiteral("该出租业务已不存在。"));
    plan.walkIn = q.field(QStringLiteral("RentPerson")).asString() == walkInRenter();
    plan.deposit = q.field(QStringLiteral("Deposit")).asMoney();
    plan.final = scalar(QStringLiteral("select count(*) from TRentList where Id_RentOperation=") +
                        jet::number(sheetId) + QStringLiteral(" and Back=false and not ID in ") + idList(ticked)) == 0;
    if (plan.walkIn) {
        q.reopen(QStringLiteral("select DateDiff(\"d\",OccurDate,now()) as RentDays,RentPrice from TRentList "
                                "where ID in ") +
                 idList(ticked));
        for (q.first(); !q.eof(); q.next())
            plan.due += chargeFor(q.field(QStringLiteral("RentPrice")).asMoney(),
                                  q.field(QStringLiteral("RentDays")).asInteger());
    }
    return plan;
}

ReturnResult Rentals::applyReturn(const ReturnPlan& plan, const Settlement& settlement) {
    if (plan.ticked.isEmpty()) throw Refused(Refusal::NothingTicked);
    db::Transaction transaction(connection_);
    db::Query q(nullptr, {}, &connection_);
    // Only items still out on this sheet come back, each once.
    q.execSql(QStringLiteral("update TRentList set Back=true where Back=false and Id_RentOperation=") +
              jet::number(plan.sheetId) + QStringLiteral(" and ID in ") + idList(plan.ticked));
    if (connection_.changes() != plan.ticked.size())
        throw db::Error(QStringLiteral("选中的碟片中有已归还或已不在此笔业务中的记录,请重新打开此笔业务后再归还。"));
    db::Query title(nullptr, {}, &connection_);
    q.reopen(QStringLiteral("select ID, CdCountId_TCdResource from TRentList where ID in ") + idList(plan.ticked));
    for (q.first(); !q.eof(); q.next()) {
        const QString number = q.field(1).asString();
        title.reopen(QStringLiteral("select ID, SitComYesOrNo from TCdResource where CountId=") + jet::quoted(number));
        if (!title.isEmpty() && title.field(1).asString() == no())
            title.execSql(QStringLiteral("update TCdResource set stock=stock+1 where ID=") +
                          jet::number(title.field(0).asInteger()));
        else
            title.execSql(QStringLiteral("update Sitcom set Stock=Stock+1 where CdCountId=") + jet::quoted(number));
    }

    ReturnResult result;
    result.deposit = plan.deposit;
    if (plan.walkIn) {
        if (!plan.final && settlement.fromDeposit) {
            result.deposit = plan.deposit - settlement.received;
            q.execSql(QStringLiteral("update TRentOperation set Deposit=") + jet::number(result.deposit) +
                      QStringLiteral(" where ID=") + jet::number(plan.sheetId));
        }
        // Each returned item records its share of the money taken, for the income figures.
        q.execSql(QStringLiteral("update TRentList set RentPrice=") +
                  jet::number(shareOf(settlement.received, plan.ticked.size())) + QStringLiteral(" where ID in ") +
                  idList(plan.ticked));
    }
    result.openItems = openItems(plan.sheetId);
    result.settled = result.openItems == 0;
    if (result.settled)
        q.execSql(QStringLiteral("update TRentOperation set BackStatus=") + jet::quoted(yes()) +
                  QStringLiteral(" where ID=") + jet::number(plan.sheetId));
    transaction.commit();
    return result;
}

bool Rentals::giveBackVolume(const QString& volumeNumber) {
    db::Query q(nullptr, {}, &connection_);
    q.reopen(QStringLiteral("select Id from Sitcom where CdCountId=") + jet::quoted(volumeNumber));
    if (q.isEmpty()) return false;
    q.execSql(QStringLiteral("update Sitcom set Stock=Stock+1 where Id=") + jet::number(q.field(0).asInteger()));
    return true;
}

int Rentals::openSheets() {
    return int(scalar(QStringLiteral("select count(*) as sumcounts from TRentOperation where BackStatus=") +
                      jet::quoted(no())));
}

int Rentals::itemsOut() {
    return int(scalar(QStringLiteral("select count(*) as sumcounts from TRentList where Back=false")));
}

int Rentals::openItems(qint64 sheetId) {
    return int(
        scalar(QStringLiteral("select count(*) as counts from TRentList where Back=false and Id_RentOperation=") +
               jet::number(sheetId)));
}

int Rentals::sheetItems(qint64 sheetId) {
    return int(scalar(QStringLiteral("select count(*) as counts from TRentList where Id_RentOperation=") +
                      jet::number(sheetId)));
}

bool Rentals::restock(const QString& number) {
    db::Query q(nullptr, {}, &connection_);
    q.reopen(QStringLiteral("select ID from TCdResource where CountId=") + jet::quoted(number));
    if (!q.isEmpty()) {
        q.execSql(QStringLiteral("update TCdResource set stock=stock+1 where ID=") +
                  jet::number(q.field(0).asInteger()));
        return true;
    }
    return giveBackVolume(number);
}

void Rentals::changeMemberRemain(const QString& memberId, qint64 delta) {
    db::Query q(nullptr, {}, &connection_);
    q.execSql(QStringLiteral("update TMemberResource set RemainDaysOrCounts=RemainDaysOrCounts") +
              (delta < 0 ? QStringLiteral("-") : QStringLiteral("+")) + jet::number(qAbs(delta)) +
              QStringLiteral(" where PersonId=") + jet::quoted(memberId));
}

Renter Rentals::sheetRenter(qint64 sheetId, const Renter& fallback) {
    if (sheetId == 0) return fallback;
    db::Query q(nullptr, {}, &connection_);
    q.reopen(QStringLiteral("select RentPerson, PersonId from TRentOperation where ID=") + jet::number(sheetId));
    if (q.isEmpty()) return fallback;
    return Renter{q.field(0).asString(), q.field(1).asString()};
}

}  // namespace rental
