#include "db/Connection.h"

#include <sqlite3.h>

#include <QFileInfo>

#include "db/Errors.h"
#include "db/JetDialect.h"

namespace db {

namespace {
QString engineMessage(sqlite3* handle) {
    return handle ? QString::fromUtf8(sqlite3_errmsg(handle)) : QStringLiteral("out of memory");
}
}  // namespace

Connection::~Connection() {
    close();
}

Connection& Connection::shared() {
    static Connection connection;
    return connection;
}

void Connection::open(const QString& path, const QByteArray& key) {
    close();
    try {
        if (!QFileInfo(path).isFile())
            throw Error(
                QStringLiteral("找不到数据库文件“%1”。请用 orvane-initdb 建立新的数据库，或把备份文件恢复到这里。")
                    .arg(path));
        openWithFlags(path, key, SQLITE_OPEN_READWRITE);
        openError_.clear();
    } catch (const Error& error) {
        openError_ = error.message();
        throw;
    }
}

void Connection::create(const QString& path, const QByteArray& key) {
    close();
    openWithFlags(path, key, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
}

void Connection::openWithFlags(const QString& path, const QByteArray& key, int flags) {
    sqlite3* handle = nullptr;
    const QByteArray file = path.toUtf8();
    if (sqlite3_open_v2(file.constData(), &handle, flags, nullptr) != SQLITE_OK) {
        const QString message = engineMessage(handle);
        sqlite3_close(handle);
        throw Error(QStringLiteral("无法打开数据库文件“%1”：%2").arg(path, message));
    }
    sqlite3_key(handle, key.constData(), key.size());
    // A wrong key or a file that is not a database shows only when the first page is read.
    char* error = nullptr;
    if (sqlite3_exec(handle, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, &error) != SQLITE_OK) {
        const QString message = QString::fromUtf8(error ? error : "unknown error");
        sqlite3_free(error);
        sqlite3_close(handle);
        throw Error(QStringLiteral("无法打开数据库文件“%1”：文件已损坏、不是本系统的数据库或密码不符（%2）。")
                        .arg(path, message));
    }
    // Every statement is final at once and must survive a crash or power loss; a large page cache spares
    // decrypting the catalogue again each time a view re-reads it.
    sqlite3_exec(handle, "PRAGMA synchronous=FULL; PRAGMA foreign_keys=OFF; PRAGMA cache_size=-65536;", nullptr,
                 nullptr, nullptr);
    jet::registerEngineFunctions(handle);
    handle_ = handle;
    path_ = path;
}

void Connection::close() {
    if (!handle_) return;
    sqlite3_close_v2(handle_);
    handle_ = nullptr;
}

sqlite3* Connection::requireHandle() const {
    if (!handle_) throw Error(openError_.isEmpty() ? QStringLiteral("数据库没有打开。") : openError_);
    return handle_;
}

void Connection::execEngine(const QString& sql) {
    char* error = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_exec(requireHandle(), text.constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        const QString message = QString::fromUtf8(error ? error : "unknown error");
        sqlite3_free(error);
        throw Error(message);
    }
}

qint64 Connection::lastInsertRowId() const {
    return sqlite3_last_insert_rowid(requireHandle());
}
int Connection::changes() const {
    return sqlite3_changes(requireHandle());
}

Statement::Statement(const Connection& connection, const QString& sql) : db_(connection.requireHandle()), sql_(sql) {
    const QByteArray text = sql.toUtf8();
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db_, text.constData(), text.size(), &stmt_, &tail) != SQLITE_OK) fail("prepare");
    if (tail && *tail) {
        // One text holds one statement; anything after it is refused rather than silently dropped.
        const QByteArray rest = QByteArray(tail).trimmed();
        if (!rest.isEmpty() && rest != ";") {
            sqlite3_finalize(stmt_);
            stmt_ = nullptr;
            throw Error(QStringLiteral("Characters found after end of SQL statement."));
        }
    }
    if (!stmt_)
        throw Error(QStringLiteral("Invalid SQL statement; expected 'DELETE', 'INSERT', 'SELECT' or 'UPDATE'."));
}

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

void Statement::fail(const char*) const {
    throw Error(engineMessage(db_));
}

void Statement::bind(int index, const QVariant& value) {
    int rc = SQLITE_OK;
    if (!value.isValid() || value.isNull()) {
        rc = sqlite3_bind_null(stmt_, index);
    } else {
        switch (value.typeId()) {
            case QMetaType::Int:
            case QMetaType::LongLong:
            case QMetaType::UInt:
            case QMetaType::ULongLong:
            case QMetaType::Bool:
                rc = sqlite3_bind_int64(stmt_, index, value.toLongLong());
                break;
            case QMetaType::Double:
                rc = sqlite3_bind_double(stmt_, index, value.toDouble());
                break;
            default: {
                const QByteArray text = value.toString().toUtf8();
                rc = sqlite3_bind_text(stmt_, index, text.constData(), text.size(), SQLITE_TRANSIENT);
            }
        }
    }
    if (rc != SQLITE_OK) fail("bind");
}

bool Statement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    fail("step");
}

void Statement::reset() {
    sqlite3_reset(stmt_);
}
int Statement::columnCount() const {
    return sqlite3_column_count(stmt_);
}
QString Statement::columnName(int column) const {
    return QString::fromUtf8(sqlite3_column_name(stmt_, column));
}
QString Statement::declaredType(int column) const {
    const char* type = sqlite3_column_decltype(stmt_, column);
    return type ? QString::fromLatin1(type) : QString();
}
int Statement::columnType(int column) const {
    return sqlite3_column_type(stmt_, column);
}
qint64 Statement::columnInt(int column) const {
    return sqlite3_column_int64(stmt_, column);
}
double Statement::columnDouble(int column) const {
    return sqlite3_column_double(stmt_, column);
}
QString Statement::columnText(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return QString::fromUtf8(text, sqlite3_column_bytes(stmt_, column));
}

}  // namespace db
