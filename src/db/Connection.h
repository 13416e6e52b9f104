#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

namespace db {

// The kind of value the engine holds in one cell.
enum class ValueType : char { Null, Integer, Float, Text };

// Where a result column comes from: empty table and column for a computed one.
struct ColumnOrigin {
    QString table;
    QString column;
    QString declaredType;
    bool autoIncrement = false;
    bool isComputed() const { return column.isEmpty(); }
};

// The password the shop's database file is encrypted with.
inline constexpr const char* kDatabaseKey = "KWIXBRODQUAZ";

// The tables a database file of this system holds.
extern const char* const kSystemTables[16];

// What stands at a path, links followed: only a regular file can hold a database.
enum class PathKind { File, Missing, Folder, Fifo, LinkLoop, BrokenLink, Special };
PathKind pathKind(const QString& path);
// The operator's words for what stands there ("一个文件夹"); empty for a file or nothing.
QString pathKindText(PathKind kind);

// How a file measures up as a database of this system.
struct FileCheck {
    enum Verdict {
        Usable,
        NotAFile,      // nothing, a folder, a FIFO, a link loop ... at the path
        NotADatabase,  // does not open with the key, is damaged, or lacks the system's tables
        Unsuitable,    // the system's tables are there but their columns, required rows or extra objects are not ours
    };
    Verdict verdict = Usable;
    QString reason;  // for the operator; empty when usable
};

// The one connection to the shop's database file.
class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // The connection every query object uses.
    static Connection& shared();

    // Opens an existing encrypted file read-write; never creates one. Throws db::Error with a message for the
    // operator when the file is missing, empty, not a database of this system, the key does not fit, the file or
    // its folder cannot be written, or another program holds it locked beyond the busy timeout.
    void open(const QString& path, const QByteArray& key = kDatabaseKey);
    // Creates a new, empty encrypted file (the fresh-database tool and tests only).
    void create(const QString& path, const QByteArray& key = kDatabaseKey);
    void close();
    bool isOpen() const { return handle_ != nullptr; }
    const QString& path() const { return path_; }
    sqlite3* handle() const { return handle_; }
    // Throws db::Error("数据库没有打开") when closed: what every statement hits when start-up could not open the file.
    sqlite3* requireHandle() const;

    // Writes a compacted encrypted copy of the open database, keyed like it, into a new file at path (which must
    // not exist or be empty). The connection stays open and every query keeps its rows.
    void exportTo(const QString& path) const;
    // Why the file at path is not a usable database of this system (opens with the key, passes the engine's
    // integrity check, holds every table); empty when it is one.
    static QString checkFile(const QString& path, const QByteArray& key = kDatabaseKey);
    // The same check, telling also what kind of fault it found. Every table must have the schema's columns, the
    // protected rows and the one-row settings must be there, and no trigger or view of another program may run.
    static FileCheck inspectFile(const QString& path, const QByteArray& key = kDatabaseKey);
    // Writes a compacted copy of the closed database file source into a new file target, keyed like it.
    static void copyFile(const QString& source, const QString& target, const QByteArray& key = kDatabaseKey);

    // How long a statement waits for a lock another program holds before it fails (milliseconds).
    static void setBusyTimeout(int milliseconds);
    static int busyTimeout();

    // Runs engine SQL (already translated) that returns no rows.
    void execEngine(const QString& sql);
    // Runs engine SQL whose failure nobody can act on (undoing a savepoint while an error is already on its way).
    void execQuietly(const QByteArray& sql) noexcept;
    qint64 lastInsertRowId() const;
    // Number of rows the last statement changed.
    int changes() const;

private:
    void openWithFlags(const QString& path, const QByteArray& key, int flags);
    void requireUsableSchema() const;
    void requireWritable() const;
    sqlite3* handle_ = nullptr;
    QString path_;
    QByteArray key_;
    QString openError_;  // why the last open failed: repeated by every statement until a file opens
};

// A prepared statement, finalized when it goes out of scope.
class Statement {
public:
    Statement(const Connection& connection, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void bind(int index, const QVariant& value);  // 1-based; an invalid QVariant binds null
    // Steps once: true while there is a row.
    bool step();
    void reset();
    int columnCount() const;
    QString columnName(int column) const;
    QString declaredType(int column) const;
    int columnType(int column) const;  // SQLITE_INTEGER ... SQLITE_NULL of the current row
    qint64 columnInt(int column) const;
    double columnDouble(int column) const;
    QString columnText(int column) const;
    ValueType valueType(int column) const;
    ColumnOrigin columnOrigin(int column) const;
    // Appends the current row's values from column `first` on, packed as the engine holds them: per value a type
    // byte, then 8 bytes for a number or a 4-byte length and the UTF-8 bytes for a text.
    void packRow(int first, QByteArray& out) const;

private:
    [[noreturn]] void fail(const char* what) const;
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
    QString sql_;
};

}  // namespace db
