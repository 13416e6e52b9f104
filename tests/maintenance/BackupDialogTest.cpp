// The backup dialog in both modes and the exit reminder, as the operator uses them from the main window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "MaintenanceSupport.h"
#include "app/Startup.h"
#include "app/TProjectMainFm.h"
#include "app/Views.h"
#include "common/Platform.h"
#include "db/Connection.h"
#include "inventory/TCdResourceFm.h"
#include "maintenance/MaintenanceActions.h"
#include "maintenance/TAwokeExitFm.h"
#include "maintenance/TBackupFm.h"
#include "members/TCdMemberFm.h"
#include "rental/TCdRentBackFm.h"
#include "settings/TPersonFm.h"
#include "support/Fixture.h"
#include "ui/DbControls.h"

using maintenance_test::bytesOf;
using maintenance_test::dumpTables;
using maintenance_test::fillShop;
using maintenance_test::writeBytes;
using testing_support::AppTest;

namespace {

const QString kCancelChooser = QStringLiteral("<cancel>");

class BackupDialogTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        maintenance::resetExitAnswer();
        fillShop();
        startViews();
        dialogs->on(QStringLiteral("TBackupFm"), [this](QDialog* d) { onBackupFm(static_cast<TBackupFm*>(d)); });
        dialogs->on(QStringLiteral("BackupFileDialog"), [this](QDialog* d) { onChooser(d); });
        dialogs->on(QStringLiteral("TAwokeExitFm"), [this](QDialog* d) { onReminder(static_cast<TAwokeExitFm*>(d)); });
    }
    QString inFolder(const QString& name) const { return database->folder() + u'/' + name; }
    QString defaultBackup() const { return inFolder(QStringLiteral("data/BackData.bak")); }

    // Opens the dialog from the menu and runs act on it; returns what LabelPath showed when it opened.
    QString withDialog(bool restore, const std::function<void(TBackupFm*)>& act) {
        QString proposed;
        onBackupFm = [&](TBackupFm* fm) {
            proposed = fm->LabelPath->text();
            act(fm);
        };
        (restore ? mainWindow->MenuRestore : mainWindow->MenuBak)->trigger();
        return proposed;
    }
    // "设置" with the file dialog answered by a typed name (kCancelChooser cancels it); returns its title.
    QString choose(TBackupFm* fm, const QString& typed) {
        QString title;
        onChooser = [&](QDialog* d) {
            auto* chooser = static_cast<QFileDialog*>(d);
            title = chooser->windowTitle();
            EXPECT_EQ(chooser->nameFilters(), QStringList{QStringLiteral("*.mdb")});
            EXPECT_EQ(chooser->defaultSuffix(), QStringLiteral("mdb"));
            if (typed == kCancelChooser) return chooser->reject();
            chooser->selectFile(typed);
            d->accept();  // the dialog's own accept: it adds the default suffix
        };
        fm->BtnSet->click();
        return title;
    }
    std::function<void(TBackupFm*)> onBackupFm;
    std::function<void(QDialog*)> onChooser;
    std::function<void(TAwokeExitFm*)> onReminder;
    QString backupDone(const QString& path) const {
        return QStringLiteral("数据备份完毕,文件在") + path + QStringLiteral("处,系统将刷新一次.");
    }
    void backUpTo(const QString& path) {
        withDialog(false, [&](TBackupFm* fm) {
            fm->LabelPath->setText(path);
            fm->BtnOk->click();
        });
    }
};

TEST_F(BackupDialogTest, ShowsItsTextsInBothModesAndProposesTheLastBackup) {
    for (bool restore : {false, true}) {
        SCOPED_TRACE(restore);
        const QString proposed = withDialog(restore, [&](TBackupFm* fm) {
            EXPECT_EQ(fm->windowTitle(), restore ? QStringLiteral("恢复") : QStringLiteral("备份"));
            EXPECT_EQ(fm->LabelNote->text(),
                      QStringLiteral("为了你的数据安全,我们建议你经常性的备份数据,以免\n给你带来损失!"));
            EXPECT_EQ(fm->LabelPrompt->text(), QStringLiteral("请选择你要备份的路径:"));
            EXPECT_TRUE(fm->BtnOk->isDefault());
            fm->BtnCancel->click();
        });
        EXPECT_EQ(proposed, defaultBackup());
    }
    const QString chosen = inFolder(QStringLiteral("shop.mdb"));
    messages->expect(mkNotice, backupDone(chosen));
    backUpTo(chosen);
    EXPECT_EQ(rememberedBackupPath(), chosen);
    for (bool restore : {false, true})
        EXPECT_EQ(withDialog(restore, [](TBackupFm* fm) { fm->BtnCancel->click(); }), chosen);
    EXPECT_FALSE(QFile::exists(defaultBackup()));
}

TEST_F(BackupDialogTest, SetChoosesAFileByModeAndTellsWhatItFound) {
    const QString existing = inFolder(QStringLiteral("old.mdb"));
    writeBytes(existing, "x");
    const struct {
        const char* name;
        bool restore;
        QString typed;
        const char* notice;  // nullptr: none
        QString shown;       // LabelPath afterwards; empty: as proposed
    } cases[] = {
        {"backup to a new name without extension", false, inFolder(QStringLiteral("new")),
         "你输入的文件名不存在,现创建一个新的文件!", inFolder(QStringLiteral("new.mdb"))},
        {"backup over an existing file", false, existing, nullptr, existing},
        {"backup, chooser cancelled", false, kCancelChooser, nullptr, {}},
        {"restore from a missing file",
         true,
         inFolder(QStringLiteral("gone.mdb")),
         "无法找到您指定的备份文件,请确认选择了正确的文件!",
         {}},
        {"restore from an existing file", true, existing, nullptr, existing},
        {"restore, chooser cancelled", true, kCancelChooser, nullptr, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.notice) messages->expect(mkNotice, QString::fromUtf8(c.notice));
        QString title, shown;
        withDialog(c.restore, [&](TBackupFm* fm) {
            title = choose(fm, c.typed);
            shown = fm->LabelPath->text();
            fm->BtnCancel->click();
        });
        EXPECT_EQ(title, c.restore ? QStringLiteral("请选择要恢复的备份文件")
                                   : QStringLiteral("请选择或输入要备份到什么文件"));
        EXPECT_EQ(shown, c.shown.isEmpty() ? defaultBackup() : c.shown);
        messages->verifyDone();
    }
    EXPECT_EQ(bytesOf(existing), QByteArray("x"));
    EXPECT_TRUE(rememberedBackupPath().isEmpty());
}

TEST_F(BackupDialogTest, BackingUpTwiceReplacesTheFileAndReopensTheMainLists) {
    AppViews& v = views();
    v.cdResource->Q->reopen(QStringLiteral("select * from TCdResource where CountId=\"A001\""));
    const QString path = inFolder(QStringLiteral("twice.mdb"));
    for (int round = 0; round < 2; ++round) {
        messages->expect(mkNotice, backupDone(path));
        bool closed = false;
        withDialog(false, [&](TBackupFm* fm) {
            fm->LabelPath->setText(path);
            fm->BtnOk->click();
            closed = !fm->isVisible();
        });
        EXPECT_TRUE(closed);
        exec(QStringLiteral("insert into TCdType (CdTypes) values (\"类型%1\")").arg(round));
    }
    EXPECT_TRUE(db::Connection::checkFile(path).isEmpty());
    db::Connection copy;
    copy.open(path);
    db::Query types(nullptr, {}, &copy);
    types.reopen(QStringLiteral("select count(*) from TCdType"));
    EXPECT_EQ(types.field(0).asInteger(), 3);  // the second copy has the type added after the first
    EXPECT_EQ(v.cdResource->Q->sqlText(), QStringLiteral("select * from TCdResource"));
    EXPECT_EQ(v.cdResource->Q->recordCount(), 2);
    EXPECT_EQ(v.cdRentBack->Q->sqlText(), QStringLiteral("select * from TRentOperation where BackStatus=\"否\""));
}

TEST_F(BackupDialogTest, APathThatCannotBeRememberedStopsTheBackup) {
    const QString path = inFolder(QStringLiteral("data/shop.mdb"));
    {
        maintenance_test::Unwritable lock(database->folder());  // where the remembered path is kept
        if (!lock.ok()) GTEST_SKIP() << maintenance_test::kCannotLock;
        messages->expect(
            kErrorBoxKind,
            QStringLiteral("无法保存备份路径:设置文件“%1”不能写入。").arg(inFolder(QStringLiteral("settings.ini"))));
        bool stayedOpen = false;
        withDialog(false, [&](TBackupFm* fm) {
            fm->LabelPath->setText(path);
            fm->BtnOk->click();
            stayedOpen = fm->isVisible();
            fm->BtnCancel->click();
        });
        EXPECT_TRUE(stayedOpen);
    }
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(rememberedBackupPath().isEmpty());
}

TEST_F(BackupDialogTest, RestoreBringsTheBackedUpRowsIntoEveryView) {
    const QStringList before = dumpTables();
    const QString path = inFolder(QStringLiteral("shop.mdb"));
    messages->expect(mkNotice, backupDone(path));
    backUpTo(path);

    exec(QStringLiteral("delete * from TRentOperation"));
    exec(QStringLiteral("delete * from TCdResource where CountId=\"A001\""));
    exec(QStringLiteral("insert into TPerson (PersonName) values (\"王五\")"));
    exec(QStringLiteral("insert into TCdType (CdTypes) values (\"武侠\")"));
    AppViews& v = views();
    v.cdResource->reloadTypeChoices();
    ASSERT_NE(v.cdResource->CdType1->findText(QStringLiteral("武侠")), -1);
    v.cdRentBack->showOpenSheets();
    EXPECT_EQ(v.cdRentBack->RecordCount->text(), QStringLiteral("0条"));
    v.cdRentBack->Q->reopen(QStringLiteral("select * from TRentOperation"));
    db::Query* other = v.cdMember->Qtype;  // a list the restore does not read again
    other->reopen(QStringLiteral("select * from TMemberSystem"));

    messages->expect(mkNotice, QStringLiteral("数据恢复完毕,文件在") + path + QStringLiteral("处,系统将刷新一次."));
    withDialog(true, [&](TBackupFm* fm) {
        EXPECT_EQ(fm->LabelPath->text(), path);
        fm->BtnOk->click();
    });
    EXPECT_EQ(dumpTables(), before);
    EXPECT_EQ(v.cdResource->Q->recordCount(), 2);
    EXPECT_EQ(v.cdMember->Q->recordCount(), 1);
    EXPECT_EQ(v.cdMember->Q2->recordCount(), 1);
    EXPECT_EQ(v.cdRentBack->Q->sqlText(), QStringLiteral("select * from TRentOperation where BackStatus=\"否\""));
    EXPECT_EQ(v.cdRentBack->Q->recordCount(), 1);
    EXPECT_EQ(v.cdRentBack->SubQ->recordCount(), 2);  // the items of the restored open sheet
    EXPECT_EQ(v.cdRentBack->RecordCount->text(), QStringLiteral("1条"));
    EXPECT_EQ(v.cdRentBack->NotBackCount->text(), QStringLiteral("2条"));
    EXPECT_EQ(v.person->Qperson->recordCount(), 1);
    EXPECT_FALSE(other->isActive());  // its rows were read from the replaced file
    EXPECT_EQ(v.cdResource->CdType1->findText(QStringLiteral("武侠")), -1);  // a type the restored file lacks
    EXPECT_NE(v.cdResource->CdType1->findText(QStringLiteral("喜剧")), -1);
    EXPECT_EQ(rememberedBackupPath(), path);
}

TEST_F(BackupDialogTest, ARestoreFromAFileThatIsNoBackupChangesNothing) {
    const QString notes = inFolder(QStringLiteral("notes.txt"));
    writeBytes(notes, "进货单\n");
    const QByteArray live = bytesOf(database->databaseFile());
    const QStringList rows = dumpTables();
    const struct {
        const char* name;
        QString path;
        const char* notice;
    } cases[] = {
        {"a text file", notes, "你选择的文件不是本系统的备份文件,未做任何恢复!"},
        {"the default before any backup", defaultBackup(), "你要恢复的文件不存在,请重新选择文件路径.谢谢!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        messages->expect(mkNotice, QString::fromUtf8(c.notice));
        bool stayedOpen = false;
        withDialog(true, [&](TBackupFm* fm) {
            fm->LabelPath->setText(c.path);
            fm->BtnOk->click();
            stayedOpen = fm->isVisible();
            fm->BtnCancel->click();
        });
        EXPECT_TRUE(stayedOpen);
        EXPECT_EQ(bytesOf(database->databaseFile()), live);
        EXPECT_EQ(dumpTables(), rows);
    }
}

TEST_F(BackupDialogTest, EnterInTheFreshDialogBacksUp) {
    messages->expect(mkNotice, backupDone(defaultBackup()));
    withDialog(false, [&](TBackupFm* fm) {
        ASSERT_EQ(fm->focusWidget(), fm->BtnOk);
        QTest::keyClick(fm->focusWidget(), Qt::Key_Return);  // 设置 would open the file chooser, unexpected here
    });
    EXPECT_TRUE(db::Connection::checkFile(defaultBackup()).isEmpty());
}

// A refused target never becomes the path the next backup or restore proposes.
TEST_F(BackupDialogTest, ARefusedBackupPathIsNeverRemembered) {
    const QString good = inFolder(QStringLiteral("shop.mdb"));
    messages->expect(mkNotice, backupDone(good));
    backUpTo(good);
    const QString folder = inFolder(QStringLiteral("folder.mdb"));
    QDir().mkpath(folder);
    const struct {
        const char* name;
        QString path;
        QString error;
    } cases[] = {
        {"the live file", database->databaseFile(),
         QStringLiteral("“%1”是正在使用的数据库文件,不能作为备份文件!").arg(database->databaseFile())},
        {"a folder", folder, QStringLiteral("“%1”是一个文件夹,不能作为备份文件!").arg(folder)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        messages->expect(kErrorBoxKind, c.error);
        bool stayedOpen = false;
        withDialog(false, [&](TBackupFm* fm) {
            fm->LabelPath->setText(c.path);
            fm->BtnOk->click();
            stayedOpen = fm->isVisible();
            fm->BtnCancel->click();
        });
        EXPECT_TRUE(stayedOpen);
        messages->verifyDone();
        EXPECT_EQ(rememberedBackupPath(), good);
        for (bool restore : {false, true})
            EXPECT_EQ(withDialog(restore, [](TBackupFm* fm) { fm->BtnCancel->click(); }), good);
    }
}

// A backup that fails after its path was accepted leaves the remembered path as it was before.
TEST_F(BackupDialogTest, AFailedBackupKeepsTheRememberedPath) {
    const QString folder = inFolder(QStringLiteral("locked"));
    QDir().mkpath(folder);
    const QString target = folder + QStringLiteral("/shop.mdb");
    maintenance_test::Unwritable lock(folder);
    if (!lock.ok()) GTEST_SKIP() << maintenance_test::kCannotLock;
    QString shown;
    message_seam::setHandler([&](int kind, const QString& text) {
        EXPECT_EQ(kind, kErrorBoxKind);
        shown = text;
        return true;
    });
    withDialog(false, [&](TBackupFm* fm) {
        fm->LabelPath->setText(target);
        fm->BtnOk->click();
        fm->BtnCancel->click();
    });
    message_seam::setHandler({});
    EXPECT_FALSE(shown.isEmpty());
    EXPECT_TRUE(rememberedBackupPath().isEmpty());
}

TEST_F(BackupDialogTest, TheLiveFileIsRefusedAsARestoreSourceWithNothingRestored) {
    const QString live = database->databaseFile();
    const QStringList rows = dumpTables();
    const QString refused = QString::fromUtf8(kLiveFileAsSourceText);
    messages->expect(mkNotice, refused);  // chosen with 设置: the path stays as proposed
    messages->expect(mkNotice, refused);  // given to 确定
    bool stayedOpen = false;
    QString shownAfterSet;
    withDialog(true, [&](TBackupFm* fm) {
        choose(fm, live);
        shownAfterSet = fm->LabelPath->text();
        fm->LabelPath->setText(live);
        fm->BtnOk->click();
        stayedOpen = fm->isVisible();
        fm->BtnCancel->click();
    });
    messages->verifyDone();
    EXPECT_EQ(shownAfterSet, defaultBackup());
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(dumpTables(), rows);
}

TEST_F(BackupDialogTest, ARestoreFromAFileWithoutWhatTheShopNeedsSaysWhyAndChangesNothing) {
    const QString bad = inFolder(QStringLiteral("bad.mdb"));
    const maintenance_test::BadFile noColumn = maintenance_test::badFiles().front();
    noColumn.make(bad);
    const QByteArray live = bytesOf(database->databaseFile());
    messages->expect(mkNotice, QStringLiteral("你选择的文件不能用来恢复:%1。未做任何恢复!").arg(noColumn.fault));
    bool stayedOpen = false;
    withDialog(true, [&](TBackupFm* fm) {
        fm->LabelPath->setText(bad);
        fm->BtnOk->click();
        stayedOpen = fm->isVisible();
        fm->BtnCancel->click();
    });
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(bytesOf(database->databaseFile()), live);
}

// The exit reminder, asked by the main window when it closes.
class ExitReminderTest : public BackupDialogTest {
protected:
    // Closes the main window with the reminder answered by the button named (empty: its close box); true when
    // the window may close.
    bool closeWith(const char* button) {
        onReminder = [button](TAwokeExitFm* fm) {
            if (!*button) return fm->reject();  // the close box
            fm->findChild<QPushButton*>(QString::fromLatin1(button))->click();
        };
        QCloseEvent event;
        QApplication::sendEvent(mainWindow, &event);
        return event.isAccepted();
    }
};

TEST_F(ExitReminderTest, EachAnswerAndTheCloseBoxThatKeepsTheLastOne) {
    rememberBackupPath(inFolder(QStringLiteral("elsewhere.mdb")));
    const struct {
        const char* button;
        bool closes;
    } steps[] = {
        {"", true},            // no answer yet in this run: exit
        {"BtnCancel", false},  // cancel keeps running
        {"", false},           // and the close box repeats it
        {"BtnExit", true},    {"", true},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.button);
        EXPECT_EQ(closeWith(s.button), s.closes);
    }
    EXPECT_FALSE(QFile::exists(defaultBackup()));
    EXPECT_TRUE(closeWith("BtnBakExit"));
    EXPECT_TRUE(db::Connection::checkFile(defaultBackup()).isEmpty());
    EXPECT_FALSE(QFile::exists(inFolder(QStringLiteral("elsewhere.mdb"))));
}

TEST_F(ExitReminderTest, EscapeIsCancelNotExitWithoutABackup) {
    onReminder = [](TAwokeExitFm* fm) { QTest::keyClick(fm, Qt::Key_Escape); };
    QCloseEvent event;
    QApplication::sendEvent(mainWindow, &event);
    EXPECT_FALSE(event.isAccepted());
    EXPECT_EQ(TAwokeExitFm::exitAnswer(), -1);
    EXPECT_FALSE(QFile::exists(defaultBackup()));
}

// The run ends once the reminder has backed up, even while another window of the run is still open (the run
// once went on with the database open after a backup from the dialog).
TEST_F(ExitReminderTest, BackupAndExitEndsTheRun) {
    messages->expect(mkNotice, backupDone(inFolder(QStringLiteral("shop.mdb"))));
    backUpTo(inFolder(QStringLiteral("shop.mdb")));
    QWidget stillOpen;
    stillOpen.show();
    endRunWhenMainWindowCloses(mainWindow);
    onReminder = [](TAwokeExitFm* fm) { fm->BtnBakExit->click(); };
    QTimer::singleShot(0, mainWindow, [this] { mainWindow->close(); });
    QTimer runsOn;  // the fault: the run goes on
    runsOn.setSingleShot(true);
    QObject::connect(&runsOn, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    runsOn.start(5000);
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_FALSE(mainWindow->isVisible());
    EXPECT_TRUE(db::Connection::checkFile(defaultBackup()).isEmpty());
}

TEST_F(ExitReminderTest, AFailedBackupKeepsTheReminderOpenAndTheProgramRunning) {
    QDir().mkpath(defaultBackup());  // a folder where the file should go
    messages->expect(kErrorBoxKind, QStringLiteral("“%1”是一个文件夹,不能作为备份文件!").arg(defaultBackup()));
    bool stayedOpen = false;
    onReminder = [&](TAwokeExitFm* fm) {
        EXPECT_EQ(fm->windowTitle(), QStringLiteral("退出提醒"));
        EXPECT_TRUE(fm->BtnBakExit->isDefault());
        fm->BtnBakExit->click();
        stayedOpen = fm->isVisible();
        fm->BtnCancel->click();
    };
    QCloseEvent event;
    QApplication::sendEvent(mainWindow, &event);
    EXPECT_TRUE(stayedOpen);
    EXPECT_FALSE(event.isAccepted());
    EXPECT_EQ(count(QStringLiteral("TCdResource")), 2);
}

}  // namespace
