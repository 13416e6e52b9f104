#pragma once

#include <QStringList>

#include "db/JetDialect.h"
#include "db/Query.h"
#include "rental/Rentals.h"
#include "support/Fixture.h"

namespace rental_tests {

// A shop with titles, series volumes and members written straight into a fresh database.
class ShopTest : public testing_support::AppTest {
protected:
    qint64 addTitle(const QString& number, const QString& name, int stock = 3, const QString& rent = "2",
                    const QString& series = QStringLiteral("否"), const QString& type = QStringLiteral("其它类型")) {
        exec(QStringLiteral("insert into TCdResource (CountId, CdName, SitComYesOrNo, stock, BuySeriesCount, "
                            "RentPrice, PerPieces, Types, CdDvdOrVcd) values (") +
             jet::quoted(number) + u',' + jet::quoted(name) + u',' + jet::quoted(series) + u',' +
             QString::number(stock) + u',' + QString::number(stock) + u',' + rent + QStringLiteral(",1,") +
             jet::quoted(type) + QStringLiteral(",\"DVD\")"));
        return scalarInt(QStringLiteral("select max(ID) from TCdResource"));
    }
    qint64 addVolume(qint64 seriesId, const QString& number, const QString& name, int stock) {
        exec(QStringLiteral("insert into Sitcom (CdId, CdCountId, CdCountName, CdNumber, BuySeriesCount, Stock) "
                            "values (") +
             QString::number(seriesId) + u',' + jet::quoted(number) + u',' + jet::quoted(name) +
             QStringLiteral(",\"1,2集\",") + QString::number(stock) + u',' + QString::number(stock) + u')');
        return scalarInt(QStringLiteral("select max(Id) from Sitcom"));
    }
    // A member of a scheme by days ("按天数优惠") or by discs ("按部数优惠").
    void addMember(const QString& id, const QString& schemeType, int allow, int remain,
                   const QDate& joined = QDate(2026, 12, 1)) {
        const QString scheme = schemeType + QStringLiteral("制");
        if (count("TMemberSystem", "where SystemName=" + jet::quoted(scheme)) == 0)
            exec(QStringLiteral("insert into TMemberSystem (SystemName, SystemType, PayCash, RewardDaysOrCounts) "
                                "values (") +
                 jet::quoted(scheme) + u',' + jet::quoted(schemeType) + QStringLiteral(",100,30)"));
        exec(QStringLiteral("insert into TMemberResource (PersonId, MemberName, OpenAccountDate, AttributeType, "
                            "AllowDaysOrCounts, RemainDaysOrCounts) values (") +
             jet::quoted(id) + QStringLiteral(",\"张三\",") + jet::dateLiteral(joined) + u',' + jet::quoted(scheme) +
             u',' + QString::number(allow) + u',' + QString::number(remain) + u')');
    }
    qint64 stockOf(const QString& number) {
        return scalarInt("select stock from TCdResource where CountId=" + jet::quoted(number));
    }
    qint64 volumeStock(const QString& number) {
        return scalarInt("select Stock from Sitcom where CdCountId=" + jet::quoted(number));
    }
    qint64 remainOf(const QString& member) {
        return scalarInt("select RemainDaysOrCounts from TMemberResource where PersonId=" + jet::quoted(member));
    }
    // An item lent some days before today, straight into the table.
    qint64 addItem(qint64 sheet, const QString& number, const QString& price, int daysAgo, bool back = false) {
        exec(QStringLiteral("insert into TRentList (Id_RentOperation, OccurDate, CdCountId_TCdResource, "
                            "CdName_TCdResource, RentPrice, Back) values (") +
             QString::number(sheet) + u',' + jet::dateLiteral(kNow.date().addDays(-daysAgo)) + u',' +
             jet::quoted(number) + QStringLiteral(",\"片名\",") + price + u',' +
             (back ? QStringLiteral("true") : QStringLiteral("false")) + u')');
        return scalarInt(QStringLiteral("select max(ID) from TRentList"));
    }
    qint64 addSheet(const QString& renter, const QString& deposit, const QString& member = {}) {
        exec(QStringLiteral("insert into TRentOperation (OccurPerson, RentPerson, PersonId, Deposit, RentCount, "
                            "BackStatus) values (\"超级用户\",") +
             jet::quoted(renter) + u',' + jet::quoted(member) + u',' + deposit + QStringLiteral(",\"1\",\"否\")"));
        return scalarInt(QStringLiteral("select max(ID) from TRentOperation"));
    }

    // Every row the counter touches, as text: what an action that failed must leave exactly as it was.
    QStringList snapshot() {
        QStringList rows;
        const char* const reads[] = {
            "select * from TRentList order by ID",
            "select * from TRentOperation order by ID",
            "select ID, stock from TCdResource order by ID",
            "select Id, Stock from Sitcom order by Id",
            "select id, RemainDaysOrCounts from TMemberResource order by id",
        };
        for (const char* read : reads) {
            db::Query q;
            q.reopen(QString::fromUtf8(read));
            for (q.first(); !q.eof(); q.next()) {
                QStringList cells;
                for (int c = 0; c < q.columns().size(); ++c) cells << q.field(c).asString();
                rows << cells.join(u'|');
            }
        }
        return rows;
    }

    rental::Rentals rentals;
    const rental::Renter walkIn{QStringLiteral("零客户"), {}};
    rental::Renter memberRenter(const QString& id) { return {QStringLiteral("会员"), id}; }
    rental::NewItem item(const QString& number, const QString& price = QStringLiteral("2")) {
        return {kNow.date(), number, QStringLiteral("片名"), price};
    }
};

}  // namespace rental_tests
