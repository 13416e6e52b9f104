#pragma once

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDialog>
#include <QString>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <map>
#include <vector>

#include "common/MyMessageBox.h"
#include "db/Money.h"
#include "db/Query.h"

class TProjectMainFm;

namespace testing_support {

struct ShownMessage {
    int kind;
    QString text;
    bool operator==(const ShownMessage& o) const { return kind == o.kind && text == o.text; }
};

// Scripts the answers to the message box and the error box. Every box shown must have been expected, in order;
// an unexpected one fails the test and is answered "取消".
class MessageScript {
public:
    MessageScript();
    ~MessageScript();
    // The next box to show: its kind, its text, and the answer ("确定" is true).
    void expect(int kind, const QString& text, bool answer = true);
    // Every box shown so far.
    const std::vector<ShownMessage>& shown() const { return shown_; }
    void verifyDone();

private:
    struct Expected {
        int kind;
        QString text;
        bool answer;
    };
    std::deque<Expected> expected_;
    std::vector<ShownMessage> shown_;
};

// Acts on modal dialogs while they are open: a handler registered for the dialog's objectName runs with the open
// dialog and closes it. A dialog without a handler fails the test and is rejected.
class DialogScript {
public:
    using Handler = std::function<void(QDialog*)>;
    DialogScript();
    ~DialogScript();
    // Handlers for one name are used in the order registered, each once; the last one stays for later dialogs.
    void on(const QString& objectName, Handler handler);
    int opened(const QString& objectName) const;

private:
    std::map<QString, std::deque<Handler>> handlers_;
    std::map<QString, int> opened_;
};

// A temporary application folder with a fresh database in data/discvault.mdb, opened on the shared connection, and
// the remembered settings kept in a file of that folder.
class FreshDatabase {
public:
    FreshDatabase();
    ~FreshDatabase();
    QString folder() const { return dir_.path(); }
    QString databaseFile() const;

private:
    QTemporaryDir dir_;
};

// The fresh database, scripted messages and dialogs, the clock at kNow, and an operator logged in.
class AppTest : public ::testing::Test {
protected:
    static const QDateTime kNow;

    void SetUp() override;
    void TearDown() override;

    // Logs in without the login window.
    void loginAs(const QString& name, int authority);
    // The main window and the sixteen views as start-up creates them, shown, with the rental desk docked.
    TProjectMainFm* startViews();

    // Runs a Jet text that returns no rows.
    void exec(const QString& jetText);
    // The first column of the first row of a Jet select, as text, integer or money.
    QString scalarText(const QString& jetText);
    qint64 scalarInt(const QString& jetText);
    db::Money scalarMoney(const QString& jetText);
    qint64 count(const QString& table, const QString& where = {});

    std::unique_ptr<FreshDatabase> database;
    std::unique_ptr<MessageScript> messages;
    std::unique_ptr<DialogScript> dialogs;
    TProjectMainFm* mainWindow = nullptr;
};

}  // namespace testing_support
