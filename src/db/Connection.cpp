#include "db/Connection.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSet>
#include <QTemporaryFile>
#include <QVarLengthArray>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

#include "db/Clock.h"
#include "db/Errors.h"
#include "db/JetDialect.h"
#include "db/Schema.h"

namespace db {

const char* const kSystemTables[16] = {"TCdResource", "Sitcom",        "CdSalesDiscard",  "TRentOperation",
                                       "TRentList",   "TMemberSystem", "TMemberResource", "TMemberKeepOnToll",
                                       "TPerson",     "TAuthority",    "TCdType",         "TChargeStandard",
                                       "TbMortagage", "Timelimited",   "TbAwoke",         "CdCycle"};

namespace {
int busyTimeoutMs = 5000;  // a few seconds: another program's short write finishes, a long lock is reported

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
    sqlite3_result_int(ctx, pattern->matchesUtf8(reinterpret_cast<const char*>(sqlite3_value_text(argv[1])),
                                                 sqlite3_value_bytes(argv[1]))
                                ? 1
                                : 0);
}

std::optional<qint64> dayOf(sqlite3_value* v) {
    if (sqlite3_value_type(v) != SQLITE_TEXT) return {};
    return jet::storedDay(reinterpret_cast<const char*>(sqlite3_value_text(v)), sqlite3_value_bytes(v));
}

// DateDiff("d", a, b) on stored dates.
void dateDiffFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const auto a = dayOf(argv[1]);
    const auto b = dayOf(argv[2]);
    if (!a || !b) {
        sqlite3_result_null(ctx);
        return;
    }
    const char* interval = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const bool days = interval && (((interval[0] == 'd' || interval[0] == 'D') && interval[1] == '\0') ||
                                   valueText(argv[0]).trimmed().toLower() == u"d");
    if (days) {
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
    // One moment for the whole statement, as Jet reads the clock once per query; it also spares a clock read and a
    // date formatting for every row a DateDiff(..., now()) filter looks at.
    sqlite3_create_function(handle, "now", 0, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, nowFunction, nullptr,
                            nullptr);
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

Error notThisSystem(const QString& path) {
    return Error(QStringLiteral("数据库文件%1不是本系统的数据库!").arg(path));
}

// The tables of this system that the open handle lacks.
QStringList missingTables(sqlite3* handle) {
    QSet<QString> present;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(handle, "SELECT lower(name) FROM sqlite_master WHERE type='table'", -1, &stmt, nullptr) ==
        SQLITE_OK) {
        while (sqlite3_step(stmt) == SQLITE_ROW)
            present.insert(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0))));
    }
    sqlite3_finalize(stmt);
    QStringList missing;
    for (const char* table : kSystemTables)
        if (!present.contains(QString::fromLatin1(table).toLower())) missing << QString::fromLatin1(table);
    return missing;
}

// Runs a query of one text column per row; a failure reads as no rows and shows as a fault of the caller's check.
QStringList textRows(sqlite3* handle, const QByteArray& sql, int columns = 1, const QByteArray& bound = {}) {
    QStringList rows;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(handle, sql.constData(), -1, &stmt, nullptr) == SQLITE_OK) {
        if (!bound.isNull()) sqlite3_bind_text(stmt, 1, bound.constData(), bound.size(), SQLITE_TRANSIENT);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            QStringList cells;
            for (int c = 0; c < columns; ++c)
                cells << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, c)));
            rows << cells.join(u'\t');
        }
    }
    sqlite3_finalize(stmt);
    return rows;
}

struct ColumnDef {
    QString name;
    QString type;
};

QVector<ColumnDef> columnsOf(sqlite3* handle, const QString& table) {
    QVector<ColumnDef> columns;
    for (const QString& row : textRows(handle, "PRAGMA table_info(\"" + table.toUtf8() + "\")", 3)) {
        const QStringList cells = row.split(u'\t');
        columns.push_back({cells.value(1), cells.value(2)});
    }
    return columns;
}

// The columns every table of this system has, read from the schema a fresh database is made with.
const QMap<QString, QVector<ColumnDef>>& schemaColumns() {
    static const QMap<QString, QVector<ColumnDef>> columns = [] {
        QMap<QString, QVector<ColumnDef>> all;
        Connection reference;
        reference.create(QStringLiteral(":memory:"));
        createSchema(reference);
        for (const char* table : kSystemTables)
            all.insert(QString::fromLatin1(table), columnsOf(reference.handle(), QString::fromLatin1(table)));
        return all;
    }();
    return columns;
}

qint64 countOf(sqlite3* handle, const QByteArray& sql, const QByteArray& bound = {}) {
    const QStringList rows = textRows(handle, sql, 1, bound);
    return rows.isEmpty() ? -1 : rows.first().toLongLong();
}

// Why a file that holds every table of this system still cannot serve the shop; empty when it can. Without the
// columns the statements fail, without the super user nobody can log in, and a trigger or view of another program
// would run or answer behind every statement.
QString schemaFault(sqlite3* handle) {
    for (const char* name : kSystemTables) {
        const QString table = QString::fromLatin1(name);
        const QVector<ColumnDef> present = columnsOf(handle, table);
        QMap<QString, QString> presentTypes;
        for (const ColumnDef& c : present) presentTypes.insert(c.name.toLower(), c.type);
        QSet<QString> expected;
        for (const ColumnDef& column : schemaColumns().value(table)) {
            expected.insert(column.name.toLower());
            const auto found = presentTypes.constFind(column.name.toLower());
            if (found == presentTypes.constEnd()) return QStringLiteral("表%1缺少列%2").arg(table, column.name);
            if (found->compare(column.type, Qt::CaseInsensitive) != 0)
                return QStringLiteral("表%1的列%2类型为“%3”,应为“%4”").arg(table, column.name, *found, column.type);
        }
        for (const ColumnDef& c : present)
            if (!expected.contains(c.name.toLower()))
                return QStringLiteral("表%1含有本系统没有的列%2").arg(table, c.name);
    }
    const struct {
        const char* sql;
        const char* value;
        const char* missing;
    } protectedRows[] = {
        {"SELECT count(*) FROM TPerson WHERE PersonName = ?", fresh::kSuperUser, "表TPerson中没有“超级用户”"},
        {"SELECT count(*) FROM TAuthority WHERE UserName = ?", fresh::kSuperUser, "表TAuthority中没有“超级用户”的权限"},
        {"SELECT count(*) FROM TCdType WHERE CdTypes = ?", fresh::kOtherType, "表TCdType中没有“其它类型”"},
        {"SELECT count(*) FROM TChargeStandard WHERE ChargeName = ?", fresh::kDefaultStandard,
         "表TChargeStandard中没有“默认标准”"},
    };
    for (const auto& row : protectedRows)
        if (countOf(handle, row.sql, QByteArray(row.value)) < 1) return QString::fromUtf8(row.missing);
    for (const char* settings : {"TbMortagage", "Timelimited", "TbAwoke", "CdCycle"})
        if (countOf(handle, QByteArray("SELECT count(*) FROM ") + settings) < 1)
            return QStringLiteral("设置表%1中没有设置值").arg(QString::fromLatin1(settings));
    const QStringList foreign =
        textRows(handle, "SELECT type, name FROM sqlite_master WHERE type IN ('trigger', 'view') ORDER BY name", 2);
    if (!foreign.isEmpty()) {
        const QStringList cells = foreign.first().split(u'\t');
        return QStringLiteral("含有本系统没有的%1“%2”")
            .arg(cells.value(0) == u"view" ? QStringLiteral("视图") : QStringLiteral("触发器"), cells.value(1));
    }
    return {};
}
}  // namespace

PathKind pathKind(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat target {};
    if (::stat(name.constData(), &target) != 0) {
        if (errno == ELOOP) return PathKind::LinkLoop;
        struct stat link {};
        if (::lstat(name.constData(), &link) == 0 && S_ISLNK(link.st_mode)) return PathKind::BrokenLink;
        return PathKind::Missing;
    }
    if (S_ISREG(target.st_mode)) return PathKind::File;
    if (S_ISDIR(target.st_mode)) return PathKind::Folder;
    if (S_ISFIFO(target.st_mode)) return PathKind::Fifo;
    return PathKind::Special;
}

QString pathKindText(PathKind kind) {
    switch (kind) {
        case PathKind::File:
        case PathKind::Missing:
            return {};
        case PathKind::Folder:
            return QStringLiteral("一个文件夹");
        case PathKind::Fifo:
            return QStringLiteral("一个命名管道(FIFO)");
        case PathKind::LinkLoop:
            return QStringLiteral("一个循环的符号链接(它最终指回自己)");
        case PathKind::BrokenLink:
            return QStringLiteral("一个符号链接,它指向的文件不存在");
        case PathKind::Special:
            return QStringLiteral("一个设备或套接字之类的特殊文件");
    }
    return {};
}

void Connection::setBusyTimeout(int milliseconds) {
    busyTimeoutMs = milliseconds;
}
int Connection::busyTimeout() {
    return busyTimeoutMs;
}

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
        const QFileInfo file(path);
        const PathKind kind = pathKind(path);
        if (kind == PathKind::Missing)
            throw Error(
                QStringLiteral("找不到数据库文件“%1”。请用 orvane-initdb 建立新的数据库，或把备份文件恢复到这里。")
                    .arg(path));
        // Reading a FIFO would wait for ever; a folder or a link loop is no missing file either.
        if (kind != PathKind::File)
            throw Error(QStringLiteral("数据库文件的位置“%1”上是%2,不是数据库文件。请把它移走,再把备份文件恢复到这里，"
                                       "或用 orvane-initdb 建立新的数据库。")
                            .arg(path, pathKindText(kind)));
        // The engine takes an empty file for an empty database: it would open and fail later on every table.
        if (file.size() == 0) throw notThisSystem(path);
        openWithFlags(path, key, SQLITE_OPEN_READWRITE);
        try {
            requireUsableSchema();
            requireWritable();
        } catch (...) {
            close();
            throw;
        }
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
    // Every statement, the first read included, waits a while for a lock another program holds.
    sqlite3_busy_timeout(handle, busyTimeoutMs);
    // A wrong key or a file that is not a database shows only when the first page is read.
    char* error = nullptr;
    const int rc = sqlite3_exec(handle, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        const QString message = QString::fromUtf8(error ? error : "unknown error");
        sqlite3_free(error);
        sqlite3_close(handle);
        if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED)
            throw Error(QStringLiteral("数据库文件%1正被其它程序使用,请关闭该程序后再试!").arg(path));
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
    key_ = key;
}

void Connection::requireUsableSchema() const {
    if (!missingTables(handle_).isEmpty()) throw notThisSystem(path_);
    const QString fault = schemaFault(handle_);
    if (!fault.isEmpty())
        throw Error(
            QStringLiteral("数据库文件%1不能使用:%2。请把备份文件恢复到这里，或用 orvane-initdb 建立新的数据库。")
                .arg(path_, fault));
}

void Connection::requireWritable() const {
    // The engine quietly falls back to reading a file it may not write; the first save would then fail. Its
    // folder must take the journal written beside the file at every save.
    bool writable = sqlite3_db_readonly(handle_, "main") == 0;
    if (writable) {
        QTemporaryFile probe(QFileInfo(path_).absolutePath() + QStringLiteral("/.orvane-probe-XXXXXX"));
        writable = probe.open();
    }
    if (!writable) throw Error(QStringLiteral("数据库文件%1不能写入,请检查文件和文件夹的权限!").arg(path_));
}

void Connection::exportTo(const QString& path) const {
    sqlite3* handle = requireHandle();
    const QFileInfo target(path);
    if (target.exists() && (!target.isFile() || target.size() > 0))
        throw Error(QStringLiteral("文件“%1”已经存在。").arg(path));
    auto run = [handle](const char* sql, const QByteArray& first = {}, const QByteArray& second = {}) {
        sqlite3_stmt* stmt = nullptr;
        int rc = sqlite3_prepare_v2(handle, sql, -1, &stmt, nullptr);
        if (rc == SQLITE_OK && !first.isNull())
            rc = sqlite3_bind_text(stmt, 1, first.constData(), first.size(), SQLITE_TRANSIENT);
        if (rc == SQLITE_OK && !second.isNull())
            rc = sqlite3_bind_text(stmt, 2, second.constData(), second.size(), SQLITE_TRANSIENT);
        if (rc == SQLITE_OK) {
            while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            }
            if (rc == SQLITE_DONE) rc = SQLITE_OK;
        }
        const QString message = engineMessage(handle);
        sqlite3_finalize(stmt);
        if (rc != SQLITE_OK) throw Error(message);
    };
    run("ATTACH DATABASE ? AS orvane_copy KEY ?", path.toUtf8(), key_);
    try {
        run("SELECT sqlcipher_export('orvane_copy')");
    } catch (...) {
        sqlite3_exec(handle, "DETACH DATABASE orvane_copy", nullptr, nullptr, nullptr);
        throw;
    }
    run("DETACH DATABASE orvane_copy");
}

void Connection::copyFile(const QString& source, const QString& target, const QByteArray& key) {
    Connection reader;
    reader.openWithFlags(source, key, SQLITE_OPEN_READWRITE);  // a file on read-only media opens for reading
    reader.exportTo(target);
}

QString Connection::checkFile(const QString& path, const QByteArray& key) {
    return inspectFile(path, key).reason;
}

FileCheck Connection::inspectFile(const QString& path, const QByteArray& key) {
    const PathKind kind = pathKind(path);
    if (kind == PathKind::Missing) return {FileCheck::NotAFile, QStringLiteral("找不到文件“%1”。").arg(path)};
    if (kind != PathKind::File)
        return {FileCheck::NotAFile, QStringLiteral("“%1”是%2,不是文件").arg(path, pathKindText(kind))};
    if (QFileInfo(path).size() == 0) return {FileCheck::NotADatabase, QStringLiteral("文件“%1”是空的。").arg(path)};
    sqlite3* handle = nullptr;
    const QByteArray name = path.toUtf8();
    if (sqlite3_open_v2(name.constData(), &handle, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        const QString message = engineMessage(handle);
        sqlite3_close(handle);
        return {FileCheck::NotADatabase, message};
    }
    sqlite3_key(handle, key.constData(), key.size());
    sqlite3_busy_timeout(handle, busyTimeoutMs);
    FileCheck check;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(handle, "PRAGMA integrity_check", -1, &stmt, nullptr) != SQLITE_OK) {
        check = {FileCheck::NotADatabase, engineMessage(handle)};
    } else {
        const int rc = sqlite3_step(stmt);
        if (rc == SQLITE_ROW) {
            const QString answer = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
            if (answer != QLatin1String("ok")) check = {FileCheck::NotADatabase, answer};
        } else {
            check = {FileCheck::NotADatabase, engineMessage(handle)};
        }
    }
    sqlite3_finalize(stmt);
    if (check.verdict == FileCheck::Usable) {
        const QStringList missing = missingTables(handle);
        if (!missing.isEmpty())
            check = {FileCheck::NotADatabase, QStringLiteral("缺少表 %1").arg(missing.join(QStringLiteral(", ")))};
    }
    if (check.verdict == FileCheck::Usable) {
        const QString fault = schemaFault(handle);
        if (!fault.isEmpty()) check = {FileCheck::Unsuitable, fault};
    }
    sqlite3_close(handle);
    return check;
}

void Connection::close() {
    if (!handle_) return;
    sqlite3_close_v2(handle_);
    handle_ = nullptr;
    key_.clear();
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
