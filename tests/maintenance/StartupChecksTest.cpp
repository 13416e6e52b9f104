// The live database file is checked when the program starts, before the operator trusts it with a day's work.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <chrono>
#include <memory>
#include <thread>

#include "MaintenanceSupport.h"
#include "app/TDmFm.h"
#include "common/Platform.h"
#include "db/Connection.h"
#include "db/Errors.h"
#include "db/Money.h"
#include "db/Query.h"
#include "support/Fixture.h"

using maintenance_test::Unwritable;
using maintenance_test::writeBytes;
using testing_support::AppTest;

namespace {

class StartupChecksTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        db::Connection::shared().close();
        db::Connection::setBusyTimeout(300);
    }
    void TearDown() override {
        db::Connection::setBusyTimeout(5000);
        AppTest::TearDown();
    }
    QString live() const { return database->databaseFile(); }
    // Starts the data module as the program does: its error, if any, in the standard error box.
    void startExpecting(const QString& error) {
        messages->expect(kErrorBoxKind, error);
        TDmFm dataModule;
        messages->verifyDone();
        EXPECT_FALSE(dataModule.conn.isOpen());
        // The login and every later statement repeat why the file did not open.
        db::Query q;
        try {
            q.reopen(QStringLiteral("select * from TPerson"));
            ADD_FAILURE() << "read from a file that did not open";
        } catch (const db::Error& e) {
            EXPECT_EQ(e.message(), error);
        }
    }
};

TEST_F(StartupChecksTest, AFileThatIsNotThisSystemsDatabaseIsSaidToBeSo) {
    const QString notOurs = QStringLiteral("数据库文件%1不是本系统的数据库!").arg(live());
    const struct {
        const char* name;
        std::function<void(const QString&)> make;
    } cases[] = {
        {"an empty file", [](const QString& path) { writeBytes(path, {}); }},
        {"a database of another program",
         [](const QString& path) {
             db::Connection other;
             other.create(path);
             other.execEngine(QStringLiteral("CREATE TABLE TPerson (Id INTEGER, PersonName TEXT)"));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(live());
        c.make(live());
        startExpecting(notOurs);
    }
}

// Today's file must serve the whole day: a file without what the shop needs is named with its fault before anyone
// logs in, and something that is no file is named as what it is.
TEST_F(StartupChecksTest, AFileThatLacksWhatTheShopNeedsOrIsNoFileIsNamedWithItsFault) {
    for (const maintenance_test::BadFile& bad : maintenance_test::badFiles()) {
        SCOPED_TRACE(bad.name);
        QFile::remove(live());
        bad.make(live());
        startExpecting(bad.isFile
                           ? QStringLiteral("数据库文件%1不能使用:%2。请把备份文件恢复到这里，或用 orvane-initdb "
                                            "建立新的数据库。")
                                 .arg(live(), bad.fault)
                           : QStringLiteral("数据库文件的位置“%1”上是%2,不是数据库文件。请把它移走,再把备份文件恢复到"
                                            "这里，或用 orvane-initdb 建立新的数据库。")
                                 .arg(live(), bad.fault));
        QDir(live()).removeRecursively();
        QFile::remove(live());
    }
}

TEST_F(StartupChecksTest, AFileOrFolderThatCannotBeWrittenIsReportedAtStartUp) {
    const QString message = QStringLiteral("数据库文件%1不能写入,请检查文件和文件夹的权限!").arg(live());
    for (const QString& locked : {live(), database->folder() + QStringLiteral("/data")}) {
        SCOPED_TRACE(locked.toStdString());
        Unwritable lock(locked);
        if (!lock.ok()) GTEST_SKIP() << maintenance_test::kCannotLock;
        startExpecting(message);
    }
    // Writable again, the file opens and takes a save.
    TDmFm dataModule;
    EXPECT_TRUE(dataModule.conn.isOpen());
    exec(QStringLiteral("update CdCycle set Cycle=2"));
}

TEST_F(StartupChecksTest, AFileLockedByAnotherProgramIsReportedAsInUseAfterWaiting) {
    db::Connection other;
    other.open(live());
    other.execEngine(QStringLiteral("BEGIN EXCLUSIVE"));
    QElapsedTimer waited;
    waited.start();
    startExpecting(QStringLiteral("数据库文件%1正被其它程序使用,请关闭该程序后再试!").arg(live()));
    EXPECT_GE(waited.elapsed(), 250);
    other.execEngine(QStringLiteral("ROLLBACK"));
}

TEST_F(StartupChecksTest, AStatementWaitsForAShortLockOfAnotherProgram) {
    db::Connection::setBusyTimeout(5000);
    TDmFm dataModule;
    ASSERT_TRUE(dataModule.conn.isOpen());
    db::Connection other;
    other.open(live());
    other.execEngine(QStringLiteral("BEGIN EXCLUSIVE"));
    std::thread release([&other] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        other.execEngine(QStringLiteral("ROLLBACK"));
    });
    EXPECT_NO_THROW(exec(QStringLiteral("update CdCycle set Cycle=5")));
    release.join();
    EXPECT_EQ(scalarInt(QStringLiteral("select Cycle from CdCycle")), 5);
}

// Amounts stay exact: typed amounts are bounded, and a stored value that is no number is an error, not an amount.
TEST_F(StartupChecksTest, MoneyRefusesWhatItCannotKeepExact) {
    const struct {
        const char* text;
        bool ok;
    } typed[] = {{"1000000000", true},        {"-1000000000", true},   {"1000000000.0001", false},
                 {"-1000000000.0001", false}, {"123456789012", false}, {"999999999.9999", true}};
    for (const auto& t : typed) {
        db::Money m;
        EXPECT_EQ(db::Money::tryParse(QString::fromLatin1(t.text), &m), t.ok) << t.text;
    }
    TDmFm dataModule;
    db::Query deposit;
    deposit.reopen(QStringLiteral("select * from TbMortagage"));
    deposit.edit();
    EXPECT_THROW(deposit.field(QStringLiteral("MortagageSum")).setString(QStringLiteral("2000000000")), db::Error);
    deposit.cancel();

    dataModule.conn.execEngine(QStringLiteral("UPDATE TbMortagage SET MortagageSum = 1e999"));
    EXPECT_THROW(deposit.reopen(QStringLiteral("select MortagageSum from TbMortagage")), db::Error);
    dataModule.conn.execEngine(QStringLiteral("UPDATE TbMortagage SET MortagageSum = 123456789.125"));
    deposit.reopen(QStringLiteral("select MortagageSum from TbMortagage"));
    EXPECT_EQ(deposit.field(0).asMoney().toString(), QStringLiteral("123456789.125"));
}

}  // namespace
