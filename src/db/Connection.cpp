#include "db/Connection.h"

#include <sqlite3.h>

#include <QFileInfo>
#include <QVarLengthArray>
#include <algorithm>
#include <cstring>
#include <optional>

#include "db/Clock.h"
#include "db/Errors.h"
#include "db/JetDialect.h"

namespace db {

namespace {
QString engineMessage(sqlite3* handle) {
    return handle ? QString::fromUtf8(sqlite3_errmsg(handle)) : QStringLiteral("out of memory");
}
QString valueText(sqlite3_value* v) {
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(v)), sqlite3_value_bytes(v));
}

// like() with the dialect's patterns.
void likeFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (argc < 2 || sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    // The pattern is usually the same for every row of a statement: compile it once.
    auto* pattern = static_cast<jet::LikePattern*>(sqlite3_get_auxdata(ctx, 0));
    if (!pattern) {
        sqlite3_set_auxdata(ctx, 0, new jet::LikePattern(valueText(argv[0])),
                            [](void* p) { delete static_cast<jet::LikePattern*>(p); });
        pattern = static_cast<jet::LikePattern*>(sqlite3_get_auxdata(ctx, 0));
        if (!pattern) {  // the engine could not keep it; compile for this row only
            sqlite3_result_int(ctx, jet::likeMatch(valueText(argv[0]), valueText(argv[1])) ? 1 : 0);
            return;
        }
    }
    sqlite3_result_int(ctx, pattern->matches(valueText(argv[1])) ? 1 : 0);
}

std::optional<qint64> dayOf(sqlite3_value* v) {
    if (sqlite3_value_type(v) != SQLITE_TEXT) return {};
    return dates::julianDay(valueText(v));
}

// DateDiff("d", a, b) on stored dates.
void dateDiffFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const QString interval = valueText(argv[0]).trimmed().toLower();
    const auto a = dayOf(argv[1]);
    const auto b = dayOf(argv[2]);
    if (!a || !b) {
        sqlite3_result_null(ctx);
        return;
    }
    if (interval == u"d") {
        sqlite3_result_int64(ctx, *b - *a);
    } else {
        sqlite3_result_error(ctx, "DateDiff: unsupported interval", -1);
    }
}

// now() on the program's clock, so tests can fix it.
void nowFunction(sqlite3_context* ctx, int, sqlite3_value**) {
    const QByteArray text = dates::toStored(Clock::now()).toUtf8();
    sqlite3_result_text(ctx, text.constData(), text.size(), SQLITE_TRANSIENT);
}

void registerEngineFunctions(sqlite3* handle) {
    sqlite3_create_function(handle, "like", 2, SQLITE_UTF8, nullptr, likeFunction, nullptr, nullptr);
    sqlite3_create_function(handle, "like", 3, SQLITE_UTF8, nullptr, likeFunction, nullptr, nullptr);
    sqlite3_create_function(handle, "datediff", 3, SQLITE_UTF8, nullptr, dateDiffFunction, nullptr, nullptr);
    sqlite3_create_function(handle, "now", 0, SQLITE_UTF8, nullptr, nowFunction, nullptr, nullptr);
}

ValueType valueTypeOf(int sqliteType) {
    switch (sqliteType) {
        case SQLITE_INTEGER:
            return ValueType::Integer;
        case SQLITE_FLOAT:
            return ValueType::Float;
        case SQLITE_NULL:
            return ValueType::Null;
        default:
            return ValueType::Text;
    }
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
    // One thread uses the connection: the engine need not lock around every call.
    if (sqlite3_open_v2(file.constData(), &handle, flags | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
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
    registerEngineFunctions(handle);
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

void Connection::execQuietly(const QByteArray& sql) noexcept {
    if (handle_) sqlite3_exec(handle_, sql.constData(), nullptr, nullptr, nullptr);
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
ValueType Statement::valueType(int column) const {
    return valueTypeOf(sqlite3_column_type(stmt_, column));
}

ColumnOrigin Statement::columnOrigin(int column) const {
    ColumnOrigin origin;
    const char* name = sqlite3_column_origin_name(stmt_, column);
    const char* table = sqlite3_column_table_name(stmt_, column);
    if (!name || !table) return origin;
    origin.table = QString::fromUtf8(table);
    origin.column = QString::fromUtf8(name);
    const char* declared = sqlite3_column_decltype(stmt_, column);
    origin.declaredType = declared ? QString::fromLatin1(declared) : QString();
    int autoIncrement = 0;
    sqlite3_table_column_metadata(db_, nullptr, table, name, nullptr, nullptr, nullptr, nullptr, &autoIncrement);
    origin.autoIncrement = autoIncrement != 0;
    return origin;
}

void Statement::packRow(int first, QByteArray& out) const {
    // One call per value to the engine, then one copy into the buffer: no conversion until a cell is read.
    struct Value {
        ValueType type;
        qint64 number;  // an integer, or a real's bits
        const unsigned char* text;
        qint32 bytes;
    };
    const int count = sqlite3_column_count(stmt_);
    QVarLengthArray<Value, 32> values;
    qsizetype size = 0;
    for (int c = first; c < count; ++c) {
        Value v{valueTypeOf(sqlite3_column_type(stmt_, c)), 0, nullptr, 0};
        switch (v.type) {
            case ValueType::Null:
                size += 1;
                break;
            case ValueType::Integer:
                v.number = sqlite3_column_int64(stmt_, c);
                size += 1 + 8;
                break;
            case ValueType::Float: {
                const double real = sqlite3_column_double(stmt_, c);
                std::memcpy(&v.number, &real, 8);
                size += 1 + 8;
                break;
            }
            case ValueType::Text:
                v.text = sqlite3_column_text(stmt_, c);
                v.bytes = sqlite3_column_bytes(stmt_, c);
                size += 1 + 4 + v.bytes;
                break;
        }
        values.append(v);
    }
    const qsizetype start = out.size();
    if (out.capacity() < start + size) out.reserve(std::max(start + size, 2 * out.capacity()));
    out.resize(start + size);
    char* at = out.data() + start;
    for (const Value& v : values) {
        *at++ = char(v.type);
        if (v.type == ValueType::Integer || v.type == ValueType::Float) {
            std::memcpy(at, &v.number, 8);
            at += 8;
        } else if (v.type == ValueType::Text) {
            std::memcpy(at, &v.bytes, 4);
            at += 4;
            if (v.bytes) std::memcpy(at, v.text, size_t(v.bytes));
            at += v.bytes;
        }
    }
}

QString Statement::columnText(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return QString::fromUtf8(text, sqlite3_column_bytes(stmt_, column));
}

}  // namespace db
