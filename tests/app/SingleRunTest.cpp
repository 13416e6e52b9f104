// One run of the program per database: a second start is told the database is in use and opens nothing, while a
// lock that a run which has ended left behind blocks nobody.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/SingleRun.h"
#include "app/Startup.h"
#include "common/Platform.h"
#include "db/Connection.h"
#include "support/Fixture.h"

using testing_support::AppTest;

namespace {

class SingleRunTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        db::Connection::shared().close();  // as before a start
    }
    QString inUse() const {
        return QStringLiteral("数据库%1正在被另一个已经运行的本系统使用,不能再启动一次!请使用已经打开的窗口.")
            .arg(databasePath());
    }
    QApplication& app() { return *static_cast<QApplication*>(QCoreApplication::instance()); }

    // A second process that holds the lock the way a run does, until it is killed (nothing but system calls after
    // the fork, so the child cannot trip over the parent's threads).
    pid_t holderProcess(const QString& lockPath) {
        const QByteArray name = QFile::encodeName(lockPath);
        int ready[2];
        if (::pipe(ready) != 0) return -1;
        const pid_t child = ::fork();
        if (child == 0) {
            const int fd = ::open(name.constData(), O_RDWR | O_CREAT, 0666);
            const char ok = (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0) ? '1' : '0';
            (void)!::write(ready[1], &ok, 1);
            for (;;) ::pause();
        }
        char ok = '0';
        (void)!::read(ready[0], &ok, 1);
        ::close(ready[0]);
        ::close(ready[1]);
        if (ok != '1') {
            kill(child);
            return -1;
        }
        return child;
    }
    // Ends a process as a crash would: no chance to unlock anything.
    static void kill(pid_t process) {
        ::kill(process, SIGKILL);
        ::waitpid(process, nullptr, 0);
    }
};

TEST_F(SingleRunTest, ASecondStartIsToldTheDatabaseIsInUseAndOpensNothing) {
    SingleRun first(databasePath());
    ASSERT_TRUE(first.acquire());
    messages->expect(mkNotice, inUse());
    EXPECT_EQ(runSession(app()), 1);  // a login window would be an unexpected dialog
    messages->verifyDone();
    EXPECT_FALSE(db::Connection::shared().isOpen());
    EXPECT_EQ(dialogs->opened(QStringLiteral("TpasswordFm")), 0);

    // Once the first run has ended, a start goes on to the login.
    first.release();
    dialogs->on(QStringLiteral("TpasswordFm"), [](QDialog* d) { d->reject(); });
    EXPECT_EQ(runSession(app()), 0);
    EXPECT_EQ(dialogs->opened(QStringLiteral("TpasswordFm")), 1);
}

TEST_F(SingleRunTest, ARunInAnotherProcessHoldsTheDatabaseUntilItEndsHoweverItEnds) {
    SingleRun run(databasePath());
    const pid_t other = holderProcess(run.lockPath());
    ASSERT_GT(other, 0);
    EXPECT_FALSE(run.acquire());
    EXPECT_FALSE(run.held());
    kill(other);
    EXPECT_TRUE(QFile::exists(run.lockPath()));  // left behind by the killed run
    EXPECT_TRUE(run.acquire());
}

TEST_F(SingleRunTest, ALockFileOfARunThatIsGoneBlocksNobody) {
    {
        QFile stale(databasePath() + QStringLiteral(".lock"));
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
        stale.write("99999999\n");  // the number of a process that no longer runs
    }
    dialogs->on(QStringLiteral("TpasswordFm"), [](QDialog* d) { d->reject(); });
    EXPECT_EQ(runSession(app()), 0);
    EXPECT_EQ(dialogs->opened(QStringLiteral("TpasswordFm")), 1);
}

// A start takes away what copies of a killed run left beside the database, and nothing else.
TEST_F(SingleRunTest, AStartRemovesWhatAKilledCopyLeftBesideTheDatabase) {
    const QString data = QFileInfo(databasePath()).absolutePath();
    const QString left = data + QStringLiteral("/discvault.mdb.orvane-99999999-Qw3rTy.part");
    const QString other = data + QStringLiteral("/discvault.mdb.part");
    for (const QString& path : {left, other}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    dialogs->on(QStringLiteral("TpasswordFm"), [](QDialog* d) { d->reject(); });
    EXPECT_EQ(runSession(app()), 0);
    EXPECT_FALSE(QFile::exists(left));
    EXPECT_TRUE(QFile::exists(other));
}

}  // namespace
