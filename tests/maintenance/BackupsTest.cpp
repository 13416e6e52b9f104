// Copies of the database file without any view: backup, restore, and what a failed copy must leave alone.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

#include "MaintenanceSupport.h"
#include "common/Platform.h"
#include "db/Connection.h"
#include "db/Errors.h"
#include "db/Query.h"
#include "maintenance/Backups.h"
#include "support/Fixture.h"

using maintenance::Backups;
using maintenance_test::bytesOf;
using maintenance_test::dumpTables;
using maintenance_test::fillShop;
using maintenance_test::Unwritable;
using maintenance_test::writeBytes;
using testing_support::AppTest;

namespace {

class BackupsTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        fillShop();
    }
    Backups backups() { return Backups(db::Connection::shared(), databasePath()); }
    QString inFolder(const QString& name) const { return database->folder() + u'/' + name; }
    // Names in the folder that a copy left behind under a temporary name.
    QStringList leftovers(const QString& folder) const {
        return QDir(folder).entryList({QStringLiteral("*.part")}, QDir::Files | QDir::Hidden);
    }
};

TEST_F(BackupsTest, RestoreBringsBackEveryRowAndTheAutoNumbersGoOnFromThem) {
    const QStringList before = dumpTables();
    const QString target = inFolder(QStringLiteral("copy.mdb"));
    backups().backup(target);
    EXPECT_TRUE(db::Connection::checkFile(target).isEmpty());

    exec(QStringLiteral("delete * from TRentList"));
    exec(QStringLiteral("insert into TPerson (PersonName) values (\"王五\")"));
    exec(QStringLiteral("update TCdResource set stock=99"));
    ASSERT_NE(dumpTables(), before);

    EXPECT_EQ(backups().restore(target), Backups::RestoreResult::Restored);
    EXPECT_TRUE(db::Connection::shared().isOpen());
    EXPECT_EQ(dumpTables(), before);
    // A new operator after the restore does not reuse the number of one that the restore took away.
    exec(QStringLiteral("insert into TPerson (PersonName) values (\"赵六\")"));
    EXPECT_EQ(scalarInt(QStringLiteral("select Id from TPerson where PersonName=\"赵六\"")), 3);
    EXPECT_TRUE(leftovers(database->folder() + QStringLiteral("/data")).isEmpty());
}

TEST_F(BackupsTest, BackupReplacesAnEarlierBackupWithoutTouchingTheLiveFile) {
    const QString target = inFolder(QStringLiteral("twice.mdb"));
    const QByteArray live = bytesOf(database->databaseFile());
    backups().backup(target);
    exec(QStringLiteral("insert into TCdType (CdTypes) values (\"动作\")"));
    const QByteArray liveAfterChange = bytesOf(database->databaseFile());
    backups().backup(target);

    EXPECT_EQ(bytesOf(database->databaseFile()), liveAfterChange);
    EXPECT_NE(live, liveAfterChange);
    db::Connection copy;
    copy.open(target);
    db::Query q(nullptr, {}, &copy);
    q.reopen(QStringLiteral("select count(*) from TCdType where CdTypes=\"动作\""));
    EXPECT_EQ(q.field(0).asInteger(), 1);
    EXPECT_TRUE(leftovers(database->folder()).isEmpty());
    // Whoever may read the shop's file may read its backup.
    EXPECT_EQ(QFile::permissions(target), QFile::permissions(database->databaseFile()));
}

TEST_F(BackupsTest, BackupKeepsQueriesOpenWithTheirRows) {
    db::Query catalogue;
    catalogue.reopen(QStringLiteral("select * from TCdResource"));
    backups().backup(inFolder(QStringLiteral("copy.mdb")));
    EXPECT_TRUE(catalogue.isActive());
    EXPECT_EQ(catalogue.recordCount(), 2);
    catalogue.refresh();
    EXPECT_EQ(catalogue.recordCount(), 2);
}

TEST_F(BackupsTest, AFailedBackupLeavesTheOldBackupAndTheLiveFileAsTheyWere) {
    const QString folder = inFolder(QStringLiteral("backups"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString existing = folder + QStringLiteral("/old.mdb");
    backups().backup(existing);
    exec(QStringLiteral("insert into TCdType (CdTypes) values (\"动作\")"));
    const QByteArray oldBackup = bytesOf(existing);
    QByteArray live = bytesOf(database->databaseFile());
    QFile(inFolder(QStringLiteral("plain"))).open(QIODevice::WriteOnly);

    struct Case {
        const char* name;
        QString target;
        bool lockFolder;
    } cases[] = {
        {"the folder cannot be written", existing, true},
        {"the target is a folder", folder, false},
        {"the folder cannot be made", inFolder(QStringLiteral("plain/sub/x.mdb")), false},
        {"the target is the live file", database->databaseFile(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<Unwritable> lock;
        if (c.lockFolder) {
            lock = std::make_unique<Unwritable>(folder);
            if (!lock->ok()) GTEST_SKIP() << maintenance_test::kCannotLock;
        }
        EXPECT_THROW(backups().backup(c.target), db::Error);
        lock.reset();
        EXPECT_EQ(bytesOf(existing), oldBackup);
        EXPECT_EQ(bytesOf(database->databaseFile()), live);
        EXPECT_TRUE(leftovers(folder).isEmpty());
        // The program goes on working with the open connection.
        EXPECT_EQ(count(QStringLiteral("TCdType")), 3);
        exec(QStringLiteral("update CdCycle set Cycle=Cycle+1"));
        live = bytesOf(database->databaseFile());
    }
}

TEST_F(BackupsTest, ARestoreRefusesAnyFileThatIsNotABackupOfThisShop) {
    const QString good = inFolder(QStringLiteral("good.mdb"));
    backups().backup(good);
    const QString text = inFolder(QStringLiteral("notes.mdb"));
    writeBytes(text, "这不是数据库\n");
    const QString otherKey = inFolder(QStringLiteral("otherkey.mdb"));
    {
        db::Connection other;
        other.create(otherKey, "another password");
        other.execEngine(QStringLiteral("CREATE TABLE TPerson (Id INTEGER)"));
    }
    const QString foreign = inFolder(QStringLiteral("foreign.mdb"));
    {
        db::Connection other;
        other.create(foreign);
        other.execEngine(QStringLiteral("CREATE TABLE TPerson (Id INTEGER, PersonName TEXT)"));
    }
    const QString damaged = inFolder(QStringLiteral("damaged.mdb"));
    QByteArray bytes = bytesOf(good);
    ASSERT_GT(bytes.size(), 8192);
    for (int i = 4096; i < 8192; ++i) bytes[i] = char(i * 7);
    writeBytes(damaged, bytes);
    const QString empty = inFolder(QStringLiteral("empty.mdb"));
    writeBytes(empty, {});

    exec(QStringLiteral("insert into TCdType (CdTypes) values (\"动作\")"));
    const QStringList rows = dumpTables();
    const QByteArray live = bytesOf(database->databaseFile());
    const struct {
        const char* name;
        QString file;
        Backups::RestoreResult result;
    } cases[] = {
        {"missing", inFolder(QStringLiteral("nothing.mdb")), Backups::RestoreResult::Missing},
        {"a text file", text, Backups::RestoreResult::NotABackup},
        {"another password", otherKey, Backups::RestoreResult::NotABackup},
        {"another program's tables", foreign, Backups::RestoreResult::NotABackup},
        {"a damaged copy", damaged, Backups::RestoreResult::NotABackup},
        {"an empty file", empty, Backups::RestoreResult::NotABackup},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(backups().restore(c.file), c.result);
        EXPECT_EQ(bytesOf(database->databaseFile()), live);
        EXPECT_EQ(dumpTables(), rows);
    }
    EXPECT_TRUE(leftovers(database->folder() + QStringLiteral("/data")).isEmpty());
}

TEST_F(BackupsTest, ARestoreThatCannotWriteBesideTheLiveFileKeepsIt) {
    const QString good = inFolder(QStringLiteral("good.mdb"));
    backups().backup(good);
    exec(QStringLiteral("insert into TCdType (CdTypes) values (\"动作\")"));
    const QStringList rows = dumpTables();
    const QByteArray live = bytesOf(database->databaseFile());
    {
        Unwritable lock(database->folder() + QStringLiteral("/data"));
        if (!lock.ok()) GTEST_SKIP() << maintenance_test::kCannotLock;
        EXPECT_THROW(backups().restore(good), db::Error);
    }
    EXPECT_EQ(bytesOf(database->databaseFile()), live);
    EXPECT_TRUE(db::Connection::shared().isOpen());
    EXPECT_EQ(dumpTables(), rows);
}

// A file with every table but not what the shop needs in them would be restored, and then nobody could log in.
TEST_F(BackupsTest, ARestoreRefusesAFileWhoseTablesLackWhatTheShopNeedsOrThatIsNoFile) {
    exec(QStringLiteral("insert into TCdType (CdTypes) values (\"动作\")"));
    const QStringList rows = dumpTables();
    const QByteArray live = bytesOf(database->databaseFile());
    int n = 0;
    for (const maintenance_test::BadFile& bad : maintenance_test::badFiles()) {
        SCOPED_TRACE(bad.name);
        const QString source = inFolder(QStringLiteral("bad%1.mdb").arg(++n));
        bad.make(source);
        Backups restoring = backups();
        EXPECT_EQ(restoring.restore(source), Backups::RestoreResult::Unusable);
        EXPECT_EQ(restoring.refusal(),
                  bad.isFile ? bad.fault : QStringLiteral("“%1”是%2,不是文件").arg(source, bad.fault));
        EXPECT_EQ(bytesOf(database->databaseFile()), live);
        EXPECT_EQ(dumpTables(), rows);
        EXPECT_TRUE(leftovers(database->folder() + QStringLiteral("/data")).isEmpty());
    }
}

TEST_F(BackupsTest, TheLiveFileIsNoSourceForARestore) {
    const QString link = inFolder(QStringLiteral("link.mdb"));
    ASSERT_TRUE(QFile::link(database->databaseFile(), link));
    const QString hardLink = inFolder(QStringLiteral("hard.mdb"));
    ASSERT_EQ(::link(QFile::encodeName(database->databaseFile()).constData(), QFile::encodeName(hardLink).constData()),
              0);
    exec(QStringLiteral("insert into TCdType (CdTypes) values (\"动作\")"));
    const QStringList rows = dumpTables();
    for (const QString& source : {database->databaseFile(), link, hardLink}) {
        SCOPED_TRACE(source.toStdString());
        EXPECT_EQ(backups().restore(source), Backups::RestoreResult::LiveFile);
        EXPECT_THROW(backups().backup(source), db::Error);
        EXPECT_EQ(dumpTables(), rows);
    }
}

// A run killed in the middle of a copy leaves its partial file; the next copy to that folder takes it away, and
// nothing that is not one of ours.
TEST_F(BackupsTest, ACopyRemovesWhatKilledCopiesLeftInItsFolder) {
    const QString data = database->folder() + QStringLiteral("/data");
    const QString dead = QStringLiteral("99999999");  // above any process number the system hands out
    const QStringList ours = {
        QStringLiteral("BackData.bak.orvane-%1-aB3dE9.part").arg(dead),
        QStringLiteral("discvault.mdb.orvane-%1-Zz0000.part").arg(dead),
        QStringLiteral("discvault.mdb.orvane-%1-Zz0000.part-journal").arg(dead),
    };
    const QStringList others = {
        QStringLiteral("film.mkv.part"),                       // another program's download
        QStringLiteral("BackData.bak.orvane-1-aB3dE9.part"),   // of a run still going
        QStringLiteral("notes.orvane-%1-abc.part").arg(dead),  // not our naming
    };
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round == 0 ? "backup" : "restore");
        for (const QString& name : ours + others) writeBytes(data + u'/' + name, "x");
        if (round == 0)
            backups().backup(data + QStringLiteral("/BackData.bak"));
        else
            EXPECT_EQ(backups().restore(data + QStringLiteral("/BackData.bak")), Backups::RestoreResult::Restored);
        for (const QString& name : ours) EXPECT_FALSE(QFile::exists(data + u'/' + name)) << name.toStdString();
        for (const QString& name : others) EXPECT_TRUE(QFile::exists(data + u'/' + name)) << name.toStdString();
        for (const QString& name : others) QFile::remove(data + u'/' + name);
    }
}

// The copy reaches the disk before it replaces an earlier backup: when it cannot be synced the old one stays.
TEST_F(BackupsTest, ABackupThatCannotReachTheDiskKeepsTheOldBackup) {
    const QString target = inFolder(QStringLiteral("old.mdb"));
    backups().backup(target);
    exec(QStringLiteral("insert into TCdType (CdTypes) values (\"动作\")"));
    const QByteArray old = bytesOf(target);
    write_seam::failSyncs(true);
    EXPECT_THROW(backups().backup(target), db::Error);
    write_seam::failSyncs(false);
    EXPECT_EQ(bytesOf(target), old);
    EXPECT_TRUE(leftovers(database->folder()).isEmpty());
}

TEST(BackupPathsTest, TheProposedPathIsTheLastBackupOrTheDefault) {
    testing_support::FreshDatabase database;
    EXPECT_EQ(Backups::proposedPath(), database.folder() + QStringLiteral("/data/BackData.bak"));
    rememberBackupPath(QStringLiteral("/media/usb/shop.mdb"));
    EXPECT_EQ(Backups::proposedPath(), QStringLiteral("/media/usb/shop.mdb"));
    // A path remembered before the live file was refused as a backup target is not proposed again.
    rememberBackupPath(database.databaseFile());
    EXPECT_EQ(Backups::proposedPath(), database.folder() + QStringLiteral("/data/BackData.bak"));

    const struct {
        const char* typed;
        const char* kept;
    } names[] = {{"/b/shop", "/b/shop.mdb"}, {"/b/shop.bak", "/b/shop.bak"}, {"/b.d/shop", "/b.d/shop.mdb"}};
    for (const auto& n : names)
        EXPECT_EQ(Backups::withDefaultSuffix(QString::fromUtf8(n.typed)), QString::fromUtf8(n.kept)) << n.typed;
}

}  // namespace
