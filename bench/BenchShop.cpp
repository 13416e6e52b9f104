#include "bench/BenchShop.h"

#include <algorithm>

#include "db/Connection.h"

namespace bench {

namespace {
QString memberNumber(int i) {
    return QStringLiteral("M%1").arg(i, 4, 10, QLatin1Char('0'));
}
}  // namespace

void fillShop(db::Connection& connection, const ShopSize& size) {
    const int titles = size.titles;
    const int items = size.rentedItems;
    connection.execEngine(QStringLiteral("BEGIN"));
    {
        db::Statement insert(
            connection,
            QStringLiteral(
                "INSERT INTO TCdResource (CountId, CdName, Types, CdRegion, CdDvdOrVcd, CdMatieral, CdDirector, "
                "CdMainPlayer, Intrduction, CdPosition, BuyDate, BuyPrice, PerPieces, BuySeriesCount, stock, "
                "RentPrice, "
                "SitComYesOrNo) VALUES (?, ?, '动作片', '香港', 'DVD', '碟版', '导演', '主演甲 主演乙', '一部好片子', "
                "?, "
                "?, ?, 2, 3, 2, ?, ?)"));
        for (int i = 0; i < titles; ++i) {
            insert.bind(1, QStringLiteral("D%1").arg(i, 6, 10, QLatin1Char('0')));
            insert.bind(2, QStringLiteral("影片%1号").arg(i));
            insert.bind(3, QStringLiteral("架%1").arg(i % 200));
            insert.bind(4, QStringLiteral("20%1-%2-%3 00:00:00")
                               .arg(10 + i % 16)
                               .arg(1 + i % 12, 2, 10, QLatin1Char('0'))
                               .arg(1 + i % 28, 2, 10, QLatin1Char('0')));
            insert.bind(5, 20.0 + (i % 50) * 0.5);
            insert.bind(6, 2.0 + (i % 3) * 0.5);
            insert.bind(7, i % 10 == 0 ? QStringLiteral("是") : QStringLiteral("否"));
            insert.step();
            insert.reset();
        }
    }
    const int sheets = std::max(1, items / 5);
    {
        db::Statement insert(
            connection,
            QStringLiteral(
                "INSERT INTO TRentOperation (OccurPerson, RentPerson, PersonId, Deposit, BackStatus, RentCount) "
                "VALUES ('超级用户', ?, ?, 10, ?, '5')"));
        for (int i = 0; i < sheets; ++i) {
            const bool member = i % 4 == 0 && size.members > 0;
            insert.bind(1, member ? QStringLiteral("会员") : QStringLiteral("零客户"));
            insert.bind(2, member ? memberNumber(i % size.members) : QString());
            insert.bind(3, i % 20 == 0 ? QStringLiteral("否") : QStringLiteral("是"));
            insert.step();
            insert.reset();
        }
    }
    {
        db::Statement insert(connection, QStringLiteral("INSERT INTO TRentList (Id_RentOperation, OccurDate, "
                                                        "CdCountId_TCdResource, CdName_TCdResource, RentPrice, "
                                                        "Back) VALUES (?, ?, ?, ?, 2, ?)"));
        for (int i = 0; i < items; ++i) {
            const int title = int((qint64(i) * 7919) % titles);
            insert.bind(1, 1 + i / 5);
            insert.bind(2, QStringLiteral("20%1-%2-%3 00:00:00")
                               .arg(16 + i % 10)
                               .arg(1 + i % 12, 2, 10, QLatin1Char('0'))
                               .arg(1 + i % 28, 2, 10, QLatin1Char('0')));
            insert.bind(3, QStringLiteral("D%1").arg(title, 6, 10, QLatin1Char('0')));
            insert.bind(4, QStringLiteral("影片%1号").arg(title));
            insert.bind(5, (i / 5) % 20 == 0 ? 0 : 1);
            insert.step();
            insert.reset();
        }
    }
    {
        connection.execEngine(
            QStringLiteral("INSERT INTO TMemberSystem (SystemName, SystemType, PayCash, RewardDaysOrCounts) VALUES "
                           "('包月', '按天数优惠', 30, 30), ('十张', '按部数优惠', 20, 10)"));
        db::Statement insert(connection, QStringLiteral("INSERT INTO TMemberResource (PersonId, MemberName, "
                                                        "OpenAccountDate, AttributeType, AllowDaysOrCounts, "
                                                        "RemainDaysOrCounts) VALUES (?, ?, '2026-01-01 00:00:00', "
                                                        "?, ?, ?)"));
        for (int i = 0; i < size.members; ++i) {
            insert.bind(1, memberNumber(i));
            insert.bind(2, QStringLiteral("会员%1").arg(i));
            insert.bind(3, i % 2 == 0 ? QStringLiteral("包月") : QStringLiteral("十张"));
            insert.bind(4, i % 2 == 0 ? 400 : 10);
            insert.bind(5, 1000000);
            insert.step();
            insert.reset();
        }
    }
    connection.execEngine(QStringLiteral("COMMIT"));
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace bench
