#pragma once

#include <QString>

#include "db/JetDialect.h"
#include "support/Fixture.h"

namespace stats_test {

inline QString u8(const char* text) {
    return QString::fromUtf8(text);
}

// A fresh database with helpers that write the rows the rental desk, the catalogue and the member views would.
class StatsDataTest : public testing_support::AppTest {
protected:
    void addTitle(const char* number, const char* type, const char* bought, const char* price, int stock,
                  bool series = false) {
        exec(u8("insert into TCdResource (CountId, CdName, Types, BuyDate, BuyPrice, stock, SitComYesOrNo) values (") +
             jet::quoted(u8(number)) + u',' + jet::quoted(u8("片") + u8(number)) + u',' + jet::quoted(u8(type)) +
             u8(",#") + u8(bought) + u8("#,") + u8(price) + u',' + QString::number(stock) + u',' +
             jet::quoted(series ? u8("是") : u8("否")) + u')');
    }
    // A saved rental sheet; returns its number.
    qint64 addSheet(const char* customer, bool settled, const char* deposit) {
        exec(u8("insert into TRentOperation (OccurPerson, RentPerson, Deposit, BackStatus) values (\"超级用户\",") +
             jet::quoted(u8(customer)) + u',' + u8(deposit) + u',' + jet::quoted(settled ? u8("是") : u8("否")) + u')');
        return scalarInt(u8("select max(ID) as newid from TRentOperation"));
    }
    void addItem(qint64 sheet, const char* lent, const char* number, const char* price, bool back) {
        exec(u8("insert into TRentList (Id_RentOperation, OccurDate, CdCountId_TCdResource, CdName_TCdResource, "
                "RentPrice, Back) values (") +
             QString::number(sheet) + u8(",#") + u8(lent) + u8("#,") + jet::quoted(u8(number)) + u',' +
             jet::quoted(u8("片") + u8(number)) + u',' + u8(price) + u',' + (back ? u8("true") : u8("false")) + u')');
    }
    void addScheme(const char* name, const char* fee) {
        exec(u8("insert into TMemberSystem (SystemName, SystemType, PayCash, RewardDaysOrCounts) values (") +
             jet::quoted(u8(name)) + u8(",\"按天数优惠\",") + u8(fee) + u8(",30)"));
    }
    void addMember(const char* number, const char* scheme, const char* joined) {
        exec(u8("insert into TMemberResource (PersonId, MemberName, OpenAccountDate, AttributeType, AllowDaysOrCounts, "
                "RemainDaysOrCounts) values (") +
             jet::quoted(u8(number)) + u8(",\"会员\",#") + u8(joined) + u8("#,") + jet::quoted(u8(scheme)) +
             u8(",30,30)"));
    }
    // A payment row; an empty amount is the row written when a member joins.
    void addPayment(const char* number, const char* paid, const char* amount) {
        exec(u8("insert into TMemberKeepOnToll (PersonId, MemberName, AttributeType, AllowDaysOrCounts, PayCash, "
                "KeeponDate) values (") +
             jet::quoted(u8(number)) + u8(",\"会员\",\"金卡\",30,") + (*amount ? u8(amount) : u8("null")) + u8(",#") +
             u8(paid) + u8("#)"));
    }
    // A sale (0) or write-off (1) saved at a moment with its time of day.
    void addSaleOrWriteOff(int kind, const char* moment, const char* price) {
        exec(u8("insert into CdSalesDiscard (CdId, SaleCount, CdSalePrice, CdSaleDiscardDate, CdSaleOrDiscard) values "
                "(1,1,") +
             u8(price) + u8(",#") + u8(moment) + u8("#,") + QString::number(kind) + u')');
    }

    // November 2026 at the shop: each row's comment says whether it falls into the period 2026-11-01 .. 2026-11-30.
    void fillNovember() {
        addTitle("A001", "动作片", "2026-11-05", "30", 2);         // bought in the period
        addTitle("A002", "爱情片", "2026-10-20", "25", 1);         // before
        addTitle("A003", "动作片", "2026-11-30", "12.5", 0);       // on the end date
        addTitle("S001", "动作片", "2026-12-01", "100", 3, true);  // after; a series

        const qint64 walkInSettled = addSheet("零客户", true, "10");
        addItem(walkInSettled, "2026-11-01", "A001", "3.3", true);  // on the start date
        addItem(walkInSettled, "2026-11-02", "A002", "2.2", true);
        const qint64 walkInOpen = addSheet("零客户", false, "20");
        addItem(walkInOpen, "2026-11-30", "A001", "1.1", true);   // on the end date
        addItem(walkInOpen, "2026-11-30", "A003", "2.5", false);  // still out
        addItem(walkInOpen, "2026-12-01", "A001", "2", false);    // after
        const qint64 memberSettled = addSheet("会员", true, "0");
        addItem(memberSettled, "2026-11-10", "A002", "0", true);
        addItem(memberSettled, "2026-10-31", "A001", "0", true);  // before
        const qint64 memberOpen = addSheet("会员", false, "5.5");
        addItem(memberOpen, "2026-11-15", "A001", "0", true);  // back, the sheet not yet settled
        addItem(memberOpen, "2026-11-15", "S001-1", "0", false);
        addItem(0, "2026-11-20", "A002", "4", false);  // on a sheet not saved yet

        addScheme("金卡", "100");
        addScheme("银卡", "50");
        addMember("M1", "金卡", "2026-11-03");
        addMember("M2", "银卡", "2026-11-30");
        addMember("M3", "金卡", "2026-10-01");    // before
        addMember("M4", "已停办", "2026-11-20");  // a scheme that no longer exists
        addPayment("M1", "2026-11-03", "");       // the joining row carries no amount
        addPayment("M1", "2026-11-25", "100");
        addPayment("M3", "2026-11-30", "30.25");
        addPayment("M3", "2026-12-01", "100");  // after

        addSaleOrWriteOff(0, "2026-11-10 14:22:05", "18.8");
        addSaleOrWriteOff(0, "2026-11-30 16:45:00", "10");  // on the end date, in the afternoon
        addSaleOrWriteOff(0, "2026-12-01 00:00:00", "7");   // after
        addSaleOrWriteOff(1, "2026-11-30 09:00:00", "12.5");
        addSaleOrWriteOff(1, "2026-10-31 23:59:59", "30");  // before
    }
};

}  // namespace stats_test
