#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "db/Connection.h"
#include "db/Errors.h"
#include "db/Query.h"
#include "db/Schema.h"

namespace {

QString openError(const QString& path, const QByteArray& key = db::kDatabaseKey) {
    db::Connection connection;
    try {
        connection.open(path, key);
    } catch (const db::Error& error) {
        return error.message();
    }
    return {};
}

TEST(DatabaseFileTest, FreshDatabaseHasTheProtectedRowsAndIsEncrypted) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/data/discvault.mdb";
    db::writeFreshDatabase(path);
    QFile raw(path);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    EXPECT_FALSE(raw.readAll().contains("SQLite format 3"));

    db::Connection connection;
    connection.open(path);
    const struct {
        const char* jet;
        const char* value;
    } rows[] = {
        {"select PersonName from TPerson", "超级用户"},
        {"select Authority from TAuthority where UserName=\"超级用户\"", "0"},
        {"select Passward from TAuthority", db::fresh::kSuperUserPassword},
        {"select CdTypes from TCdType", "其它类型"},
        {"select ChargeName from TChargeStandard", "默认标准"},
        {"select RentSum from TChargeStandard", "2"},
        {"select MortagageSum from TbMortagage", "10"},
        {"select timelimited from Timelimited", "7"},
        {"select Awoke from TbAwoke", "是"},
        {"select Cycle from CdCycle", "1"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.jet);
        db::Query q(nullptr, {}, &connection);
        q.reopen(QString::fromUtf8(row.jet));
        EXPECT_EQ(q.recordCount(), 1);
        EXPECT_EQ(q.field(0).asString().toStdString(), std::string(row.value));
    }
}

TEST(DatabaseFileTest, RefusesToOverwriteAnExistingFile) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/discvault.mdb";
    db::writeFreshDatabase(path);
    EXPECT_THROW(db::writeFreshDatabase(path), db::Error);
    EXPECT_TRUE(openError(path).isEmpty());  // still the good file
}

TEST(DatabaseFileTest, OpeningFailsClearlyAndNeverCreatesAFile) {
    QTemporaryDir dir;
    const QString good = dir.path() + "/good.mdb";
    db::writeFreshDatabase(good);
    const QString junk = dir.path() + "/junk.mdb";
    QFile file(junk);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
    file.close();
    const QString missing = dir.path() + "/missing.mdb";

    EXPECT_TRUE(openError(missing).contains(QStringLiteral("找不到数据库文件")));
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_TRUE(openError(junk).contains(QStringLiteral("不是本系统的数据库或密码不符")));
    EXPECT_TRUE(openError(good, "wrong key").contains(QStringLiteral("不是本系统的数据库或密码不符")));
}

TEST(DatabaseFileTest, StatementsOnAClosedConnectionRepeatWhyItDidNotOpen) {
    db::Connection connection;
    EXPECT_THROW(connection.open("/nonexistent/discvault.mdb"), db::Error);
    db::Query q(nullptr, {}, &connection);
    try {
        q.reopen(QStringLiteral("select * from TPerson"));
        ADD_FAILURE() << "opened without a database";
    } catch (const db::Error& error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("找不到数据库文件")));
    }
}

}  // namespace
