#pragma once

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <vector>

#include "db/JetDialect.h"
#include "db/Money.h"

namespace db {

class Connection;
class Query;

// How a column is read, written and shown; taken from the column's declared type, or from its values when computed.
enum class FieldKind { Text, Memo, Integer, AutoNumber, Money, Float, Date, Boolean };

struct ColumnInfo {
    QString name;
    FieldKind kind = FieldKind::Text;
    QString baseColumn;  // the table column it is written back to; empty for computed columns and joins
    bool computed = false;
};

// What changed in a query's rows, for the grid models that show them.
enum class RowChange { Reset, Insert, Remove, Update };

// One column of the current row of a query.
class Field {
public:
    Field(Query* query, int column) : query_(query), column_(column) {}

    QString name() const;
    FieldKind kind() const;
    bool isNull() const;
    QString asString() const;
    qint64 asInteger() const;
    Money asMoney() const;
    double asFloat() const;
    QDateTime asDateTime() const;
    QDate asDate() const { return asDateTime().date(); }
    bool asBoolean() const;

    // Converts the text by the field's kind; an empty text makes the field null. Throws db::Error for a text that
    // is not a value of the kind.
    void setString(const QString& text);
    void setInteger(qint64 value);
    void setMoney(Money value);
    void setFloat(double value);
    void setDate(const QDate& day);
    void setDateTime(const QDateTime& moment);
    void setBoolean(bool value);
    void setNull();

private:
    Query* query_;
    int column_;
};

// The dataset of the views: an SQL text in the Jet dialect, its whole result in memory with a current row, and the
// states inactive, browse, edit and insert. A plain select from one table can be changed and appended to; the
// changed row is written back when it is posted.
class Query : public QObject {
    Q_OBJECT
public:
    enum State { Inactive, Browse, Edit, Insert };

    explicit Query(QObject* parent = nullptr, const QString& name = {}, Connection* connection = nullptr);
    ~Query() override;

    // The text: lines joined with blanks. Changing it is allowed only while closed.
    void clearSql();
    void addSql(const QString& line);
    QStringList sql() const { return lines_; }
    QString sqlText() const { return lines_.join(u' '); }
    // close, clear, add the text, open
    void reopen(const QString& text);
    // close, clear, add the lines, open
    void reopen(const QStringList& lines);
    void open();
    void close();
    // Runs the text as a statement that returns no rows; the query stays closed.
    void execute();
    // close, clear, add the text, execute
    void execSql(const QString& text);

    bool isActive() const { return state_ != Inactive; }
    State state() const { return state_; }
    bool isEditing() const { return state_ == Edit || state_ == Insert; }
    bool isReadOnly() const { return table_.isEmpty(); }

    int recordCount() const { return int(rows_.size()); }
    bool isEmpty() const { return rows_.empty(); }
    bool eof() const { return eof_; }
    int currentRow() const { return current_; }

    void first();
    void next();
    // Makes a row current (the grid's focused row), applying the pending-change rule first.
    void moveTo(int row);

    const QVector<ColumnInfo>& columns() const { return columns_; }
    int columnIndex(const QString& name) const;
    // Throws "Field '%s' not found".
    Field field(const QString& name);
    Field field(int column) { return Field(this, column); }
    bool hasField(const QString& name) const { return columnIndex(name) >= 0; }

    // Reading any row, for grids.
    QVariant cell(int row, int column) const;
    QString displayText(int row, int column) const;

    void append();
    void edit();
    void post();
    void cancel();
    // Deletes the current row at once (cancels an insert).
    void remove();
    void refresh();
    // True while the pending row has a written field.
    bool isModified() const { return modified_; }

    // The bound boxes of a form write their texts into the fields when a row is posted or left: called directly by
    // post() and the pending-change rule, before the before-post handler reads the fields. Dropped with their owner.
    void addRecordWriter(QObject* owner, std::function<void()> write);
    void removeRecordWriters(QObject* owner);

    // Runs inside post before anything is written; it stops the post by throwing (SilentStop after its message).
    void setBeforePost(std::function<void()> handler) { beforePost_ = std::move(handler); }
    // Runs inside post right after the row is written (the new row's AutoNumber already read back), for the rows that
    // belong with it. The row and what the handler writes are one transaction: when the handler throws, none of it
    // stays and the query keeps editing the row as it was before the post.
    void setAfterWrite(std::function<void()> handler) { afterWrite_ = std::move(handler); }

    // The shortest form of each kind as the views show it; also what Field::asString returns.
    static QString toText(const QVariant& stored, FieldKind kind);

Q_SIGNALS:
    void stateChanged();
    // The current row moved or was re-read, or a field of it changed: the view's data-change notification.
    void dataChanged();
    void fieldChanged(int column);
    void currentRowChanged(int row);
    void rowsAboutToChange(db::RowChange change, int row);
    void rowsChanged(db::RowChange change, int row);

private:
    friend class Field;
    // A row as read: its values packed as the engine gave them in the query's one buffer, converted only when a
    // cell is asked for. A row that is changed in memory holds its converted cells instead.
    struct Row {
        qint64 rowid = 0;
        qsizetype offset = 0;
        qint32 size = 0;
        QVector<QVariant> cells;
    };
    struct RecordWriter {
        QPointer<QObject> owner;
        std::function<void()> write;
    };

    void setCell(int column, QVariant stored);
    QVariant currentCell(int column) const;
    QVariant valueAt(const Row& row, int column) const;
    void materialize(Row& row) const;
    // The one way a result is read, for open and refresh alike.
    void load();
    void writeBoundBoxes();
    void requireActive() const;
    void requireWritable() const;
    void applyPendingChange();
    void fetch(const jet::Translation& translation);
    Row fetchRow(qint64 rowid);
    void writeRow();
    void setState(State state);
    void emitDataChanged();

    Connection* connection_;
    QStringList lines_;
    State state_ = Inactive;
    QVector<ColumnInfo> columns_;
    QHash<QString, int> columnByName_;  // lower-case name to index
    std::vector<Row> rows_;
    QByteArray packed_;
    int current_ = -1;
    bool eof_ = true;
    Row backup_;
    QVector<bool> written_;
    bool modified_ = false;
    QString table_;
    QString selectList_;
    std::function<void()> beforePost_;
    std::vector<RecordWriter> writers_;
    std::function<void()> afterWrite_;
    bool posting_ = false;
};

}  // namespace db

Q_DECLARE_METATYPE(db::RowChange)
