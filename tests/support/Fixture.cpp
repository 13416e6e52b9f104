#include "support/Fixture.h"

#include <QApplication>
#include <QWidget>

#include "app/Startup.h"
#include "app/TProjectMainFm.h"
#include "app/Views.h"
#include "common/Modal.h"
#include "common/Platform.h"
#include "common/Session.h"
#include "db/Clock.h"
#include "db/Connection.h"
#include "db/Schema.h"

namespace testing_support {

MessageScript::MessageScript() {
    message_seam::setHandler([this](int kind, const QString& text) {
        shown_.push_back({kind, text});
        if (expected_.empty()) {
            ADD_FAILURE() << "unexpected message (kind " << kind << "): " << text.toStdString();
            return false;
        }
        const Expected next = expected_.front();
        expected_.pop_front();
        EXPECT_EQ(next.kind, kind) << "for message: " << text.toStdString();
        EXPECT_EQ(next.text.toStdString(), text.toStdString());
        return next.answer;
    });
}

MessageScript::~MessageScript() {
    message_seam::setHandler({});
    verifyDone();
}

void MessageScript::expect(int kind, const QString& text, bool answer) {
    expected_.push_back({kind, text, answer});
}

void MessageScript::verifyDone() {
    for (const Expected& e : expected_) ADD_FAILURE() << "expected message not shown: " << e.text.toStdString();
    expected_.clear();
}

DialogScript::DialogScript() {
    modal_seam::setHook([this](QDialog* dialog) {
        const QString name = dialog->objectName();
        ++opened_[name];
        auto found = handlers_.find(name);
        if (found == handlers_.end() || found->second.empty()) {
            ADD_FAILURE() << "unexpected dialog: " << name.toStdString();
            dialog->reject();
            return;
        }
        Handler handler = found->second.front();
        if (found->second.size() > 1) found->second.pop_front();
        handler(dialog);
    });
}

DialogScript::~DialogScript() {
    modal_seam::setHook({});
}

void DialogScript::on(const QString& objectName, Handler handler) {
    handlers_[objectName].push_back(std::move(handler));
}

int DialogScript::opened(const QString& objectName) const {
    auto found = opened_.find(objectName);
    return found == opened_.end() ? 0 : found->second;
}

FreshDatabase::FreshDatabase() {
    EXPECT_TRUE(dir_.isValid());
    setAppDir(dir_.path());
    setSettingsFile(dir_.path() + QStringLiteral("/settings.ini"));
    db::writeFreshDatabase(databaseFile());
    db::Connection::shared().open(databaseFile());
}

FreshDatabase::~FreshDatabase() {
    db::Connection::shared().close();
    setAppDir({});
    setSettingsFile({});
}

QString FreshDatabase::databaseFile() const {
    return dir_.path() + QStringLiteral("/data/discvault.mdb");
}

const QDateTime AppTest::kNow(QDate(2026, 12, 10), QTime(10, 30, 0));

void AppTest::SetUp() {
    db::Clock::setFixed(kNow);
    messages = std::make_unique<MessageScript>();
    dialogs = std::make_unique<DialogScript>();
    database = std::make_unique<FreshDatabase>();
    loginAs(QStringLiteral("超级用户"), kSuperUser);
}

void AppTest::TearDown() {
    if (mainWindow) {
        destroyViews();
        mainWindow = nullptr;
    }
    database.reset();
    dialogs.reset();
    messages.reset();
    db::Clock::setFixed(std::nullopt);
}

void AppTest::loginAs(const QString& name, int authority) {
    CurrentUserName = name;
    CurrentAuthority = authority;
}

TProjectMainFm* AppTest::startViews() {
    mainWindow = createMainWindow(false);
    mainWindow->show();
    QApplication::processEvents();
    return mainWindow;
}

void AppTest::exec(const QString& jetText) {
    db::Query q;
    q.execSql(jetText);
}

QString AppTest::scalarText(const QString& jetText) {
    db::Query q;
    q.reopen(jetText);
    return q.field(0).asString();
}

qint64 AppTest::scalarInt(const QString& jetText) {
    db::Query q;
    q.reopen(jetText);
    return q.field(0).asInteger();
}

db::Money AppTest::scalarMoney(const QString& jetText) {
    db::Query q;
    q.reopen(jetText);
    return q.field(0).asMoney();
}

qint64 AppTest::count(const QString& table, const QString& where) {
    return scalarInt(QStringLiteral("select count(*) from ") + table + (where.isEmpty() ? QString() : u' ' + where));
}

}  // namespace testing_support
