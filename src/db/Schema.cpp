#include "db/Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "db/Connection.h"
#include "db/Errors.h"

namespace db {

namespace {
// Declared types carry the column's kind (CURRENCY, DATE, BOOLEAN, MEMO) for the query objects; text compares
// ignoring letter case; AutoNumbers are never handed out twice.
const char* const kSchema = R"SQL(
CREATE TABLE TCdResource (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  CountId TEXT COLLATE NOCASE,
  CdName TEXT COLLATE NOCASE,
  Types TEXT COLLATE NOCASE,
  CdRegion TEXT COLLATE NOCASE,
  CdDvdOrVcd TEXT COLLATE NOCASE,
  CdMatieral TEXT COLLATE NOCASE,
  CdDirector TEXT COLLATE NOCASE,
  CdMainPlayer TEXT COLLATE NOCASE,
  Intrduction TEXT COLLATE NOCASE,
  CdPosition TEXT COLLATE NOCASE,
  BuyDate DATE,
  BuyPrice CURRENCY,
  PerPieces INTEGER,
  BuySeriesCount INTEGER,
  stock INTEGER,
  RentPrice CURRENCY,
  SitComYesOrNo TEXT COLLATE NOCASE
);
CREATE INDEX TCdResource_CountId ON TCdResource (CountId);
CREATE INDEX TCdResource_CdName ON TCdResource (CdName);
CREATE TABLE Sitcom (
  Id INTEGER PRIMARY KEY AUTOINCREMENT,
  CdId INTEGER,
  CdCountId TEXT COLLATE NOCASE,
  CdCountName TEXT COLLATE NOCASE,
  CdNumber TEXT COLLATE NOCASE,
  BuySeriesCount INTEGER,
  Stock INTEGER
);
CREATE INDEX Sitcom_CdId ON Sitcom (CdId);
CREATE INDEX Sitcom_CdCountId ON Sitcom (CdCountId);
CREATE TABLE CdSalesDiscard (
  CdId INTEGER,
  SaleCount INTEGER,
  CdSalePrice CURRENCY,
  CdSaleDiscardDate DATE,
  CdSaleOrDiscard INTEGER
);
CREATE INDEX CdSalesDiscard_CdId ON CdSalesDiscard (CdId);
CREATE TABLE TRentOperation (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  OccurPerson TEXT COLLATE NOCASE,
  RentPerson TEXT COLLATE NOCASE,
  PersonId TEXT COLLATE NOCASE,
  Deposit CURRENCY,
  OtherMortagage MEMO TEXT COLLATE NOCASE,
  Explain TEXT COLLATE NOCASE,
  RentCount TEXT COLLATE NOCASE,
  BackStatus TEXT COLLATE NOCASE,
  TimeLimit TEXT COLLATE NOCASE
);
CREATE TABLE TRentList (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  Id_RentOperation INTEGER,
  OccurDate DATE,
  CdCountId_TCdResource TEXT COLLATE NOCASE,
  CdName_TCdResource TEXT COLLATE NOCASE,
  RentPrice CURRENCY,
  Back BOOLEAN DEFAULT 0,
  TimeLimited TEXT COLLATE NOCASE
);
CREATE INDEX TRentList_Operation ON TRentList (Id_RentOperation);
CREATE INDEX TRentList_CountId ON TRentList (CdCountId_TCdResource);
CREATE INDEX TRentList_OccurDate ON TRentList (OccurDate);
CREATE INDEX TRentList_Back ON TRentList (Back, Id_RentOperation);
CREATE TABLE TMemberSystem (
  Id INTEGER PRIMARY KEY AUTOINCREMENT,
  SystemName TEXT COLLATE NOCASE,
  SystemType TEXT COLLATE NOCASE,
  PayCash CURRENCY,
  RewardDaysOrCounts INTEGER
);
CREATE TABLE TMemberResource (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  PersonId TEXT COLLATE NOCASE,
  MemberName TEXT COLLATE NOCASE,
  OpenAccountDate DATE,
  AttributeType TEXT COLLATE NOCASE,
  AllowDaysOrCounts INTEGER,
  RemainDaysOrCounts INTEGER
);
CREATE INDEX TMemberResource_PersonId ON TMemberResource (PersonId);
CREATE TABLE TMemberKeepOnToll (
  PersonId TEXT COLLATE NOCASE,
  MemberName TEXT COLLATE NOCASE,
  AttributeType TEXT COLLATE NOCASE,
  AllowDaysOrCounts INTEGER,
  PayCash CURRENCY,
  KeeponDate DATE
);
CREATE TABLE TPerson (
  Id INTEGER PRIMARY KEY AUTOINCREMENT,
  PersonName TEXT COLLATE NOCASE
);
CREATE TABLE TAuthority (
  UserName TEXT COLLATE NOCASE,
  Passward TEXT,
  Authority INTEGER
);
CREATE TABLE TCdType (
  Id INTEGER PRIMARY KEY AUTOINCREMENT,
  CdTypes TEXT COLLATE NOCASE
);
CREATE TABLE TChargeStandard (
  Id INTEGER PRIMARY KEY AUTOINCREMENT,
  ChargeName TEXT COLLATE NOCASE,
  RentSum CURRENCY
);
CREATE TABLE TbMortagage (MortagageSum CURRENCY);
CREATE TABLE Timelimited (timelimited INTEGER);
CREATE TABLE TbAwoke (Awoke TEXT COLLATE NOCASE);
CREATE TABLE CdCycle (Cycle INTEGER);
)SQL";

// The figures of a period read these instead of the wide rows: a month's rentals lie scattered over the whole table.
const char* const kStatisticsIndexes = R"SQL(
CREATE INDEX IF NOT EXISTS TRentList_Period ON TRentList (OccurDate, Id_RentOperation, Back, RentPrice);
CREATE INDEX IF NOT EXISTS TRentOperation_Open ON TRentOperation (BackStatus, ID, Deposit);
CREATE INDEX IF NOT EXISTS TCdResource_Bought ON TCdResource (BuyDate, BuyPrice, stock);
)SQL";
}  // namespace

void createSchema(Connection& connection) {
    connection.execEngine(QString::fromUtf8(kSchema));
    connection.execEngine(QString::fromUtf8(kStatisticsIndexes));
    connection.execEngine(
        QStringLiteral("INSERT INTO TPerson (PersonName) VALUES ('%1');"
                       "INSERT INTO TAuthority (UserName, Passward, Authority) VALUES ('%1', '%2', 0);"
                       "INSERT INTO TCdType (CdTypes) VALUES ('%3');"
                       "INSERT INTO TChargeStandard (ChargeName, RentSum) VALUES ('%4', %5);"
                       "INSERT INTO TbMortagage (MortagageSum) VALUES (%6);"
                       "INSERT INTO Timelimited (timelimited) VALUES (%7);"
                       "INSERT INTO TbAwoke (Awoke) VALUES ('%8');"
                       "INSERT INTO CdCycle (Cycle) VALUES (%9);")
            .arg(QString::fromUtf8(fresh::kSuperUser), QString::fromUtf8(fresh::kSuperUserPassword),
                 QString::fromUtf8(fresh::kOtherType), QString::fromUtf8(fresh::kDefaultStandard))
            .arg(fresh::kDefaultStandardRent)
            .arg(fresh::kDeposit)
            .arg(fresh::kTimeLimitDays)
            .arg(QString::fromUtf8(fresh::kReminderOn))
            .arg(fresh::kCycleDays));
}

void writeFreshDatabase(const QString& path) {
    if (QFileInfo::exists(path)) throw Error(QStringLiteral("文件“%1”已经存在，不会覆盖它。").arg(path));
    QDir().mkpath(QFileInfo(path).absolutePath());
    // Build under a temporary name so that a failure never leaves a half-made database where the program looks.
    const QString partial = path + QStringLiteral(".partial");
    QFile::remove(partial);
    try {
        Connection connection;
        connection.create(partial);
        connection.execEngine(QStringLiteral("BEGIN"));
        createSchema(connection);
        connection.execEngine(QStringLiteral("COMMIT"));
        connection.close();
    } catch (...) {
        QFile::remove(partial);
        throw;
    }
    if (!QFile::rename(partial, path)) {
        QFile::remove(partial);
        throw Error(QStringLiteral("无法写入文件“%1”。").arg(path));
    }
}

}  // namespace db
