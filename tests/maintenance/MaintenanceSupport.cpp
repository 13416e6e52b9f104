#include "MaintenanceSupport.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>

#include "db/Connection.h"
#include "db/Query.h"
#include "db/Schema.h"

namespace maintenance_test {

void fillShop() {
    const char* const statements[] = {
        "insert into TCdResource (CountId, CdName, Types, BuyDate, BuyPrice, BuySeriesCount, stock, RentPrice, "
        "SitComYesOrNo) values (\"A001\", \"大话西游\", \"喜剧\", #2026-11-01#, 25.5, 3, 1, 2.5, \"否\")",
        "insert into TCdResource (CountId, CdName, Types, BuySeriesCount, stock, RentPrice, SitComYesOrNo) "
        "values (\"S001\", \"西游记\", \"其它类型\", 2, 2, 1, \"是\")",
        "insert into Sitcom (CdId, CdCountId, CdCountName, CdNumber, BuySeriesCount, Stock) "
        "values (2, \"S001\", \"西游记\", \"1\", 2, 0)",
        "insert into Sitcom (CdId, CdCountId, CdCountName, CdNumber, BuySeriesCount, Stock) "
        "values (2, \"S001\", \"西游记\", \"2\", 2, 1)",
        "insert into CdSalesDiscard (CdId, SaleCount, CdSalePrice, CdSaleDiscardDate, CdSaleOrDiscard) "
        "values (1, 1, 8.5, #2026-12-01 09:15:00#, 0)",
        "insert into CdSalesDiscard (CdId, SaleCount, CdSalePrice, CdSaleDiscardDate, CdSaleOrDiscard) "
        "values (1, 1, 0, #2026-12-02 10:00:00#, 1)",
        "insert into TRentOperation (OccurPerson, RentPerson, Deposit, BackStatus) "
        "values (\"超级用户\", \"零客户\", 10, \"否\")",
        "insert into TRentOperation (OccurPerson, RentPerson, Deposit, BackStatus) "
        "values (\"超级用户\", \"M001\", 0, \"是\")",
        "insert into TRentList (Id_RentOperation, OccurDate, CdCountId_TCdResource, CdName_TCdResource, RentPrice, "
        "Back) values (1, #2026-12-08#, \"A001\", \"大话西游\", 2.5, false)",
        "insert into TRentList (Id_RentOperation, OccurDate, CdCountId_TCdResource, CdName_TCdResource, RentPrice, "
        "Back) values (1, #2026-12-08#, \"S001\", \"西游记\", 1, false)",
        "insert into TMemberSystem (SystemName, SystemType, PayCash, RewardDaysOrCounts) "
        "values (\"月卡\", \"包天数\", 50, 30)",
        "insert into TMemberResource (PersonId, MemberName, OpenAccountDate, AttributeType, AllowDaysOrCounts, "
        "RemainDaysOrCounts) values (\"M001\", \"张三\", #2026-12-01#, \"月卡\", 30, 21)",
        "insert into TMemberKeepOnToll (PersonId, MemberName, AttributeType, AllowDaysOrCounts, PayCash, "
        "KeeponDate) values (\"M001\", \"张三\", \"月卡\", 30, 50, #2026-12-01#)",
        "insert into TPerson (PersonName) values (\"李四\")",
        "insert into TAuthority (UserName, Passward, Authority) values (\"李四\", \"abc\", 2)",
        "insert into TCdType (CdTypes) values (\"喜剧\")",
        "insert into TChargeStandard (ChargeName, RentSum) values (\"新片\", 5)",
        "update TbMortagage set MortagageSum=20",
        "update CdCycle set Cycle=3",
    };
    db::Query q;
    for (const char* statement : statements) q.execSql(QString::fromUtf8(statement));
}

QStringList dumpTables() {
    QStringList lines;
    QStringList tables;
    for (const char* table : db::kSystemTables) tables << QString::fromLatin1(table);
    for (const QString& table : tables) {
        db::Query q;
        q.reopen(QStringLiteral("select * from ") + table);
        for (q.first(); !q.eof(); q.next()) {
            QStringList cells;
            for (int c = 0; c < q.columns().size(); ++c) cells << q.field(c).asString();
            lines << table + u':' + cells.join(u'|');
        }
    }
    db::Statement counters(db::Connection::shared(),
                           QStringLiteral("SELECT name, seq FROM sqlite_sequence ORDER BY name"));
    while (counters.step()) lines << QStringLiteral("seq:") + counters.columnText(0) + u'=' + counters.columnText(1);
    return lines;
}

namespace {
// A fresh database of this system with the statements run on it.
std::function<void(const QString&)> freshWith(const char* sql) {
    return [sql](const QString& path) {
        db::writeFreshDatabase(path);
        db::Connection file;
        file.create(path);  // opens the existing file without checking it
        file.execEngine(QString::fromUtf8(sql));
    };
}
}  // namespace

std::vector<BadFile> badFiles() {
    return {
        {"a table without one of its columns",
         freshWith("DROP TABLE TAuthority; CREATE TABLE TAuthority (Passward TEXT, Authority INTEGER)"),
         QStringLiteral("表TAuthority缺少列UserName"), true},
        {"a column of another kind",
         freshWith("DROP TABLE CdCycle; CREATE TABLE CdCycle (Cycle TEXT); INSERT INTO CdCycle VALUES ('x')"),
         QStringLiteral("表CdCycle的列Cycle类型为“TEXT”,应为“INTEGER”"), true},
        {"a column this system does not have",
         freshWith("ALTER TABLE TPerson ADD COLUMN Nickname TEXT NOT NULL DEFAULT ''"),
         QStringLiteral("表TPerson含有本系统没有的列Nickname"), true},
        {"no super user", freshWith("DELETE FROM TPerson"), QStringLiteral("表TPerson中没有“超级用户”"), true},
        {"no rights for the super user", freshWith("DELETE FROM TAuthority"),
         QStringLiteral("表TAuthority中没有“超级用户”的权限"), true},
        {"no default disc type", freshWith("DELETE FROM TCdType"), QStringLiteral("表TCdType中没有“其它类型”"), true},
        {"no default charge standard", freshWith("DELETE FROM TChargeStandard"),
         QStringLiteral("表TChargeStandard中没有“默认标准”"), true},
        {"no deposit row", freshWith("DELETE FROM TbMortagage"), QStringLiteral("设置表TbMortagage中没有设置值"), true},
        {"no time limit row", freshWith("DELETE FROM Timelimited"), QStringLiteral("设置表Timelimited中没有设置值"),
         true},
        {"no reminder row", freshWith("DELETE FROM TbAwoke"), QStringLiteral("设置表TbAwoke中没有设置值"), true},
        {"no billing cycle row", freshWith("DELETE FROM CdCycle"), QStringLiteral("设置表CdCycle中没有设置值"), true},
        {"a foreign trigger",
         freshWith("CREATE TRIGGER wipe AFTER INSERT ON TRentList BEGIN DELETE FROM TCdResource; END"),
         QStringLiteral("含有本系统没有的触发器“wipe”"), true},
        {"a foreign view", freshWith("CREATE VIEW spy AS SELECT * FROM TAuthority"),
         QStringLiteral("含有本系统没有的视图“spy”"), true},
        {"a folder", [](const QString& path) { QDir().mkpath(path); }, QStringLiteral("一个文件夹"), false},
        {"a FIFO", [](const QString& path) { ::mkfifo(QFile::encodeName(path).constData(), 0600); },
         QStringLiteral("一个命名管道(FIFO)"), false},
        {"a link loop", [](const QString& path) { QFile::link(path, path); },
         QStringLiteral("一个循环的符号链接(它最终指回自己)"), false},
    };
}

namespace {
bool setImmutable(const QString& path, bool on) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
    if (fd < 0) return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}
}  // namespace

Unwritable::Unwritable(const QString& path) : path_(path), before_(QFile::permissions(path)) {
    if (::geteuid() == 0) {
        immutable_ = setImmutable(path, true);
        ok_ = immutable_;
    } else {
        ok_ = QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup);
    }
}

Unwritable::~Unwritable() {
    if (immutable_)
        setImmutable(path_, false);
    else if (ok_)
        QFile::setPermissions(path_, before_);
}

}  // namespace maintenance_test
