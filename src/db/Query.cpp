#include "db/Query.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "db/Clock.h"
#include "db/Connection.h"
#include "db/Errors.h"
#include "db/Transaction.h"

namespace db {

namespace {
const char* const kRowidColumn = "orvane_rowid";

FieldKind kindOfDeclared(const QString& declared, bool autoIncrement) {
    const QString type = declared.toUpper();
    if (type.contains("MEMO")) return FieldKind::Memo;
    if (type.contains("CURRENCY") || type.contains("MONEY")) return FieldKind::Money;
    if (type.contains("BOOL")) return FieldKind::Boolean;
    if (type.contains("DATE") || type.contains("TIME")) return FieldKind::Date;
    if (type.contains("INT")) return autoIncrement ? FieldKind::AutoNumber : FieldKind::Integer;
    if (type.contains("REAL") || type.contains("DOUB") || type.contains("FLOA")) return FieldKind::Float;
    return FieldKind::Text;
}

FieldKind kindOfValue(ValueType type) {
    switch (type) {
        case ValueType::Integer:
            return FieldKind::Integer;
        case ValueType::Float:
            return FieldKind::Float;
        default:
            return FieldKind::Text;
    }
}

// One cell of a packed row, as the engine gave it.
struct RawValue {
    ValueType type = ValueType::Null;
    qint64 integer = 0;
    double real = 0;
    const char* text = nullptr;
    int bytes = 0;

    QString asText() const {
        switch (type) {
            case ValueType::Integer:
                return QString::number(integer);
            case ValueType::Float:
                return QString::number(real, 'g', 15);
            case ValueType::Text:
                return QString::fromUtf8(text, bytes);
            default:
                return {};
        }
    }
    qint64 asInteger() const {
        switch (type) {
            case ValueType::Integer:
                return integer;
            case ValueType::Float:
                return std::llround(real);
            case ValueType::Text:
                return QByteArray::fromRawData(text, bytes).trimmed().toLongLong();
            default:
                return 0;
        }
    }
    double asReal() const {
        switch (type) {
            case ValueType::Integer:
                return double(integer);
            case ValueType::Float:
                return real;
            case ValueType::Text:
                return QByteArray::fromRawData(text, bytes).trimmed().toDouble();
            default:
                return 0;
        }
    }
};

// Finds cell `column` of a row packed by Statement::packRow: a type byte, then 8 bytes for a number or a 4-byte
// length and the UTF-8 bytes for a text.
RawValue rawCell(const char* at, qsizetype size, int column) {
    const char* end = at + size;
    for (int c = 0; at < end; ++c) {
        RawValue v;
        v.type = ValueType(*at++);
        switch (v.type) {
            case ValueType::Null:
                break;
            case ValueType::Integer:
                if (c == column) std::memcpy(&v.integer, at, 8);
                at += 8;
                break;
            case ValueType::Float:
                if (c == column) std::memcpy(&v.real, at, 8);
                at += 8;
                break;
            case ValueType::Text: {
                qint32 bytes = 0;
                std::memcpy(&bytes, at, 4);
                at += 4;
                v.text = at;
                v.bytes = bytes;
                at += bytes;
                break;
            }
        }
        if (c == column) return v;
    }
    return {};
}

// The form a query keeps a value in for the kind.
QVariant keptValue(const RawValue& v, FieldKind kind) {
    if (v.type == ValueType::Null) return {};
    switch (kind) {
        case FieldKind::Text:
        case FieldKind::Memo:
        case FieldKind::Date:
            return v.asText();
        case FieldKind::Integer:
        case FieldKind::AutoNumber:
            return qlonglong(v.asInteger());
        case FieldKind::Money:
            if (v.type == ValueType::Integer) return qlonglong(v.integer * Money::kUnitsPerYuan);
            if (v.type == ValueType::Text) {
                Money m;
                if (Money::tryParse(v.asText(), &m)) return qlonglong(m.units());
                return {};
            }
            return qlonglong(Money::fromDouble(v.real).units());
        case FieldKind::Float:
            return v.asReal();
        case FieldKind::Boolean:
            return v.asInteger() != 0;
    }
    return {};
}

// A computed column keeps what the engine gave: integer, real or text.
QVariant computedValue(const RawValue& v) {
    switch (v.type) {
        case ValueType::Null:
            return {};
        case ValueType::Integer:
            return qlonglong(v.integer);
        case ValueType::Float:
            return v.real;
        default:
            return v.asText();
    }
}

// The value bound when a kept value is written to the table.
QVariant toEngine(const QVariant& stored, FieldKind kind) {
    if (!stored.isValid()) return {};
    switch (kind) {
        case FieldKind::Money:
            return Money::fromUnits(stored.toLongLong()).toDouble();
        case FieldKind::Boolean:
            return qlonglong(stored.toBool() ? 1 : 0);
        default:
            return stored;
    }
}

QString shortestFloat(double value) {
    // Sums of money come back as reals: show them as the amounts they are.
    const Money asMoney = Money::fromDouble(value);
    if (std::fabs(asMoney.toDouble() - value) < 1e-9) return asMoney.toString();
    return QString::number(value, 'g', 15);
}

[[noreturn]] void notEditing() {
    throw Error(QStringLiteral("Dataset not in edit or insert mode"));
}
}  // namespace

// ---------------------------------------------------------------------------------------------------------------
// Field

QString Field::name() const {
    return query_->columns_[column_].name;
}
FieldKind Field::kind() const {
    return query_->columns_[column_].kind;
}
bool Field::isNull() const {
    return !query_->currentCell(column_).isValid();
}

QString Field::asString() const {
    return Query::toText(query_->currentCell(column_), kind());
}

qint64 Field::asInteger() const {
    const QVariant& v = query_->currentCell(column_);
    if (!v.isValid()) return 0;
    switch (kind()) {
        case FieldKind::Integer:
        case FieldKind::AutoNumber:
            return v.toLongLong();
        case FieldKind::Money:
            return std::llround(Money::fromUnits(v.toLongLong()).toDouble());
        case FieldKind::Float:
            return std::llround(v.toDouble());
        case FieldKind::Boolean:
            return v.toBool() ? -1 : 0;
        case FieldKind::Date:
            return asDateTime().date().toJulianDay() - dates::zeroDate().date().toJulianDay();
        default: {
            bool ok = false;
            const qint64 n = v.toString().trimmed().toLongLong(&ok);
            if (!ok) throw Error(QStringLiteral("'%1' is not a valid integer value").arg(v.toString()));
            return n;
        }
    }
}

Money Field::asMoney() const {
    const QVariant& v = query_->currentCell(column_);
    if (!v.isValid()) return {};
    switch (kind()) {
        case FieldKind::Money:
            return Money::fromUnits(v.toLongLong());
        case FieldKind::Integer:
        case FieldKind::AutoNumber:
            return Money::fromInt(v.toLongLong());
        case FieldKind::Float:
            return Money::fromDouble(v.toDouble());
        case FieldKind::Boolean:
            return Money::fromInt(v.toBool() ? -1 : 0);
        default: {
            Money m;
            if (!Money::tryParse(v.toString(), &m))
                throw Error(QStringLiteral("'%1' is not a valid floating point value").arg(v.toString()));
            return m;
        }
    }
}

double Field::asFloat() const {
    const QVariant& v = query_->currentCell(column_);
    if (!v.isValid()) return 0;
    if (kind() == FieldKind::Float) return v.toDouble();
    return asMoney().toDouble();
}

QDateTime Field::asDateTime() const {
    const QVariant& v = query_->currentCell(column_);
    if (!v.isValid()) return dates::zeroDate();
    if (auto moment = dates::parse(v.toString())) return *moment;
    if (kind() == FieldKind::Date || kind() == FieldKind::Text || kind() == FieldKind::Memo)
        throw Error(QStringLiteral("'%1' is not a valid date").arg(v.toString()));
    return dates::zeroDate().addDays(asInteger());
}

bool Field::asBoolean() const {
    const QVariant& v = query_->currentCell(column_);
    if (!v.isValid()) return false;
    switch (kind()) {
        case FieldKind::Boolean:
            return v.toBool();
        case FieldKind::Text:
        case FieldKind::Memo: {
            const QString t = v.toString().trimmed();
            return t.compare(u"true", Qt::CaseInsensitive) == 0 || t == u"是" || t == u"1";
        }
        default:
            return asInteger() != 0;
    }
}

void Field::setString(const QString& text) {
    const ColumnInfo& column = query_->columns_[column_];
    const QString trimmed = text.trimmed();
    switch (column.kind) {
        case FieldKind::Text:
        case FieldKind::Memo:
            query_->setCell(column_, text.isEmpty() ? QVariant() : QVariant(text));
            return;
        case FieldKind::Integer:
        case FieldKind::AutoNumber: {
            if (trimmed.isEmpty()) return query_->setCell(column_, {});
            bool ok = false;
            const qint64 n = trimmed.toLongLong(&ok);
            if (!ok || n < INT32_MIN || n > INT32_MAX)
                throw Error(QStringLiteral("'%1' is not a valid integer value for field '%2'").arg(text, column.name));
            return query_->setCell(column_, qlonglong(n));
        }
        case FieldKind::Money:
        case FieldKind::Float: {
            if (trimmed.isEmpty()) return query_->setCell(column_, {});
            Money m;
            if (!Money::tryParse(trimmed, &m))
                throw Error(
                    QStringLiteral("'%1' is not a valid floating point value for field '%2'").arg(text, column.name));
            if (column.kind == FieldKind::Money) return query_->setCell(column_, qlonglong(m.units()));
            return query_->setCell(column_, m.toDouble());
        }
        case FieldKind::Date: {
            if (trimmed.isEmpty()) return query_->setCell(column_, {});
            const auto moment = dates::parse(trimmed);
            if (!moment) throw Error(QStringLiteral("'%1' is not a valid date").arg(text));
            return query_->setCell(column_, dates::toStored(*moment));
        }
        case FieldKind::Boolean: {
            if (trimmed.isEmpty()) return query_->setCell(column_, {});
            if (trimmed.compare(u"true", Qt::CaseInsensitive) == 0 || trimmed == u"是" || trimmed == u"1")
                return query_->setCell(column_, true);
            if (trimmed.compare(u"false", Qt::CaseInsensitive) == 0 || trimmed == u"否" || trimmed == u"0")
                return query_->setCell(column_, false);
            throw Error(QStringLiteral("'%1' is not a valid boolean value for field '%2'").arg(text, column.name));
        }
    }
}

void Field::setInteger(qint64 value) {
    switch (kind()) {
        case FieldKind::Money:
            return query_->setCell(column_, qlonglong(Money::fromInt(value).units()));
        case FieldKind::Float:
            return query_->setCell(column_, double(value));
        case FieldKind::Boolean:
            return query_->setCell(column_, value != 0);
        case FieldKind::Integer:
        case FieldKind::AutoNumber:
            return query_->setCell(column_, qlonglong(value));
        default:
            return setString(QString::number(value));
    }
}

void Field::setMoney(Money value) {
    switch (kind()) {
        case FieldKind::Money:
            return query_->setCell(column_, qlonglong(value.units()));
        case FieldKind::Float:
            return query_->setCell(column_, value.toDouble());
        case FieldKind::Integer:
        case FieldKind::AutoNumber:
            return query_->setCell(column_, qlonglong(std::llround(value.toDouble())));
        default:
            return setString(value.toString());
    }
}

void Field::setFloat(double value) {
    if (kind() == FieldKind::Float) return query_->setCell(column_, value);
    setMoney(Money::fromDouble(value));
}

void Field::setDate(const QDate& day) {
    setDateTime(QDateTime(day, QTime(0, 0)));
}

void Field::setDateTime(const QDateTime& moment) {
    if (kind() == FieldKind::Date || kind() == FieldKind::Text || kind() == FieldKind::Memo)
        return query_->setCell(column_, dates::toStored(moment));
    throw Error(QStringLiteral("'%1' is not a valid date field").arg(name()));
}

void Field::setBoolean(bool value) {
    switch (kind()) {
        case FieldKind::Boolean:
            return query_->setCell(column_, value);
        case FieldKind::Text:
        case FieldKind::Memo:
            return query_->setCell(column_, value ? QStringLiteral("True") : QStringLiteral("False"));
        default:
            return setInteger(value ? -1 : 0);
    }
}

void Field::setNull() {
    query_->setCell(column_, {});
}

// ---------------------------------------------------------------------------------------------------------------
// Query

Query::Query(QObject* parent, const QString& name, Connection* connection)
    : QObject(parent), connection_(connection ? connection : &Connection::shared()) {
    setObjectName(name);
}

Query::~Query() = default;

void Query::clearSql() {
    if (isActive()) close();
    lines_.clear();
}

void Query::addSql(const QString& line) {
    if (isActive()) close();
    lines_.append(line);
}

void Query::reopen(const QString& text) {
    close();
    clearSql();
    addSql(text);
    open();
}

void Query::reopen(const QStringList& lines) {
    close();
    clearSql();
    for (const QString& line : lines) addSql(line);
    open();
}

void Query::open() {
    if (isActive()) return;
    load();
    current_ = rows_.empty() ? -1 : 0;
    eof_ = rows_.empty();
    Q_EMIT rowsChanged(RowChange::Reset, -1);
    setState(Browse);
    Q_EMIT currentRowChanged(current_);
    emitDataChanged();
}

void Query::load() {
    const jet::Translation translation = jet::translate(sqlText());
    Q_EMIT rowsAboutToChange(RowChange::Reset, -1);
    try {
        fetch(translation);
    } catch (...) {
        // Nothing of a failed read stays: no rows and no columns that do not belong to them.
        rows_.clear();
        packed_.clear();
        columns_.clear();
        columnByName_.clear();
        current_ = -1;
        eof_ = true;
        Q_EMIT rowsChanged(RowChange::Reset, -1);
        throw;
    }
}

void Query::fetch(const jet::Translation& translation) {
    if (!translation.isSelect)
        throw Error(QStringLiteral("Cannot open a query that returns no rows: %1").arg(sqlText()));
    table_ = translation.table;
    selectList_ = translation.selectList;
    const QString engineSql = table_.isEmpty()
                                  ? translation.sql
                                  : QStringLiteral("SELECT %1.rowid AS %2, %3 FROM %1 %4")
                                        .arg(table_, QLatin1String(kRowidColumn), selectList_, translation.tail);
    Statement statement(*connection_, engineSql);
    const int offset = table_.isEmpty() ? 0 : 1;
    const int count = std::max(0, statement.columnCount() - offset);

    columns_.clear();
    columns_.reserve(count);
    columnByName_.clear();
    for (int c = 0; c < count; ++c) {
        ColumnInfo info;
        info.name = statement.columnName(c + offset);
        const ColumnOrigin origin = statement.columnOrigin(c + offset);
        info.computed = origin.isComputed();
        if (!info.computed) {
            info.kind = kindOfDeclared(origin.declaredType, origin.autoIncrement);
            if (!table_.isEmpty()) info.baseColumn = origin.column;
        }
        columns_.append(info);
        const QString key = info.name.toLower();
        if (!columnByName_.contains(key)) columnByName_.insert(key, c);
    }

    // A computed column takes the kind of its first value.
    QVector<int> kindUnknown;
    for (int c = 0; c < count; ++c)
        if (columns_[c].computed) kindUnknown.append(c);

    rows_.clear();
    packed_.clear();
    while (statement.step()) {
        Row row;
        if (offset) row.rowid = statement.columnInt(0);
        row.offset = packed_.size();
        statement.packRow(offset, packed_);
        row.size = qint32(packed_.size() - row.offset);
        for (int i = 0; i < kindUnknown.size();) {
            const ValueType type = statement.valueType(kindUnknown[i] + offset);
            if (type == ValueType::Null) {
                ++i;
                continue;
            }
            columns_[kindUnknown[i]].kind = kindOfValue(type);
            kindUnknown.remove(i);
        }
        rows_.push_back(std::move(row));
    }
}

QVariant Query::valueAt(const Row& row, int column) const {
    if (!row.cells.isEmpty()) return row.cells[column];
    const RawValue raw = rawCell(packed_.constData() + row.offset, row.size, column);
    return columns_[column].computed ? computedValue(raw) : keptValue(raw, columns_[column].kind);
}

void Query::materialize(Row& row) const {
    if (!row.cells.isEmpty() || columns_.isEmpty()) return;
    QVector<QVariant> cells(columns_.size());
    for (int c = 0; c < columns_.size(); ++c) cells[c] = valueAt(row, c);
    row.cells = std::move(cells);
}

void Query::close() {
    if (!isActive()) return;
    Q_EMIT rowsAboutToChange(RowChange::Reset, -1);
    rows_.clear();
    packed_.clear();
    current_ = -1;
    eof_ = true;
    modified_ = false;
    Q_EMIT rowsChanged(RowChange::Reset, -1);
    setState(Inactive);
    Q_EMIT currentRowChanged(-1);
    emitDataChanged();
}

void Query::execute() {
    const jet::Translation translation = jet::translate(sqlText());
    Statement statement(*connection_, translation.sql);
    while (statement.step()) {
    }
}

void Query::execSql(const QString& text) {
    close();
    clearSql();
    addSql(text);
    execute();
}

void Query::requireActive() const {
    if (!isActive()) throw Error(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

void Query::requireWritable() const {
    requireActive();
    if (isReadOnly()) throw Error(QStringLiteral("Cannot modify a read-only dataset"));
}

void Query::first() {
    requireActive();
    applyPendingChange();
    if (rows_.empty()) return;
    current_ = 0;
    eof_ = false;
    Q_EMIT currentRowChanged(current_);
    emitDataChanged();
}

void Query::next() {
    requireActive();
    applyPendingChange();
    if (current_ + 1 < int(rows_.size())) {
        ++current_;
        eof_ = false;
        Q_EMIT currentRowChanged(current_);
        emitDataChanged();
    } else {
        eof_ = true;
    }
}

void Query::moveTo(int row) {
    requireActive();
    if (row < 0 || row >= int(rows_.size()) || row == current_) return;
    applyPendingChange();
    // Posting may have re-read or dropped rows.
    if (row >= int(rows_.size())) return;
    current_ = row;
    eof_ = false;
    Q_EMIT currentRowChanged(current_);
    emitDataChanged();
}

int Query::columnIndex(const QString& name) const {
    return columnByName_.value(name.toLower(), -1);
}

Field Query::field(const QString& name) {
    const int column = columnIndex(name);
    if (column < 0) throw Error(QStringLiteral("Field '%1' not found").arg(name));
    return Field(this, column);
}

QVariant Query::cell(int row, int column) const {
    if (row < 0 || row >= int(rows_.size()) || column < 0 || column >= columns_.size()) return {};
    return valueAt(rows_[row], column);
}

QString Query::displayText(int row, int column) const {
    if (row < 0 || row >= int(rows_.size()) || column < 0 || column >= columns_.size()) return {};
    return toText(valueAt(rows_[row], column), columns_[column].kind);
}

QString Query::toText(const QVariant& v, FieldKind kind) {
    if (!v.isValid()) return {};
    switch (kind) {
        case FieldKind::Money:
            return Money::fromUnits(v.toLongLong()).toString();
        case FieldKind::Integer:
        case FieldKind::AutoNumber:
            return QString::number(v.toLongLong());
        case FieldKind::Float:
            return shortestFloat(v.toDouble());
        case FieldKind::Boolean:
            return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
        case FieldKind::Date: {
            const QString stored = v.toString();
            if (stored.size() == 19 && stored.endsWith(QLatin1String(" 00:00:00"))) return stored.left(10);
            return stored;
        }
        default:
            if (v.typeId() == QMetaType::Double) return shortestFloat(v.toDouble());
            return v.toString();
    }
}

QVariant Query::currentCell(int column) const {
    if (current_ < 0 || current_ >= int(rows_.size()) || column < 0 || column >= columns_.size()) return {};
    return valueAt(rows_[current_], column);
}

void Query::setCell(int column, QVariant stored) {
    if (!isEditing() || current_ < 0) notEditing();
    materialize(rows_[current_]);
    rows_[current_].cells[column] = std::move(stored);
    written_[column] = true;
    modified_ = true;
    Q_EMIT rowsChanged(RowChange::Update, current_);
    Q_EMIT fieldChanged(column);
    emitDataChanged();
}

void Query::append() {
    requireWritable();
    applyPendingChange();
    Row row;
    row.cells.resize(columns_.size());
    const int index = int(rows_.size());
    Q_EMIT rowsAboutToChange(RowChange::Insert, index);
    rows_.push_back(std::move(row));
    Q_EMIT rowsChanged(RowChange::Insert, index);
    current_ = index;
    eof_ = false;
    written_ = QVector<bool>(columns_.size(), false);
    modified_ = false;
    setState(Insert);
    Q_EMIT currentRowChanged(current_);
    emitDataChanged();
}

void Query::edit() {
    if (isEditing()) return;
    requireWritable();
    if (rows_.empty()) return append();
    materialize(rows_[current_]);
    backup_ = rows_[current_];
    written_ = QVector<bool>(columns_.size(), false);
    modified_ = false;
    setState(Edit);
}

void Query::post() {
    if (!isEditing()) return;
    if (posting_) return;  // a before-post handler that moves the query must not post again
    posting_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{posting_};
    writeBoundBoxes();
    if (beforePost_) beforePost_();
    if (!isEditing()) return;  // the handler cancelled the row itself
    if (afterWrite_) {
        const Row before = rows_[current_];
        try {
            Transaction write(*connection_);
            writeRow();
            afterWrite_();
            write.commit();
        } catch (...) {
            // Nothing was written: the row is again what the operator typed.
            rows_[current_] = before;
            Q_EMIT rowsChanged(RowChange::Update, current_);
            emitDataChanged();
            throw;
        }
    } else {
        writeRow();
    }
    modified_ = false;
    setState(Browse);
    emitDataChanged();
}

void Query::writeRow() {
    Row& row = rows_[current_];
    QStringList names;
    QVector<QVariant> values;
    for (int c = 0; c < columns_.size(); ++c) {
        const ColumnInfo& column = columns_[c];
        if (!written_[c] || column.baseColumn.isEmpty() || column.kind == FieldKind::AutoNumber) continue;
        names.append(column.baseColumn);
        values.append(toEngine(row.cells[c], column.kind));
    }
    qint64 rowid = row.rowid;
    if (state_ == Insert) {
        QString sql;
        if (names.isEmpty()) {
            sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table_);
        } else {
            QStringList marks;
            for (int i = 0; i < names.size(); ++i) marks.append(QStringLiteral("?"));
            sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(table_, names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
        }
        Statement statement(*connection_, sql);
        for (int i = 0; i < values.size(); ++i) statement.bind(i + 1, values[i]);
        statement.step();
        rowid = connection_->lastInsertRowId();
    } else if (!names.isEmpty()) {
        QStringList sets;
        for (const QString& name : names) sets.append(name + QStringLiteral(" = ?"));
        Statement statement(
            *connection_,
            QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?").arg(table_, sets.join(QStringLiteral(", "))));
        for (int i = 0; i < values.size(); ++i) statement.bind(i + 1, values[i]);
        statement.bind(values.size() + 1, qlonglong(rowid));
        statement.step();
    }
    // Read the row back: the AutoNumber of a new row, defaults and computed columns.
    Row saved = fetchRow(rowid);
    if (!saved.cells.isEmpty()) row = std::move(saved);
    Q_EMIT rowsChanged(RowChange::Update, current_);
}

Query::Row Query::fetchRow(qint64 rowid) {
    Row row;
    Statement statement(*connection_, QStringLiteral("SELECT %1.rowid AS %2, %3 FROM %1 WHERE %1.rowid = ?")
                                          .arg(table_, QLatin1String(kRowidColumn), selectList_));
    statement.bind(1, qlonglong(rowid));
    if (!statement.step() || statement.columnCount() != columns_.size() + 1) return row;
    row.rowid = statement.columnInt(0);
    // Read through the buffer like any row, then kept as cells so the buffer's tail can go again.
    row.offset = packed_.size();
    statement.packRow(1, packed_);
    row.size = qint32(packed_.size() - row.offset);
    materialize(row);
    packed_.truncate(row.offset);
    return row;
}

void Query::cancel() {
    if (!isEditing()) return;
    if (state_ == Insert) {
        const int index = current_;
        Q_EMIT rowsAboutToChange(RowChange::Remove, index);
        rows_.erase(rows_.begin() + index);
        Q_EMIT rowsChanged(RowChange::Remove, index);
        current_ = rows_.empty() ? -1 : std::min(index, int(rows_.size()) - 1);
        eof_ = rows_.empty();
    } else {
        rows_[current_] = backup_;
        Q_EMIT rowsChanged(RowChange::Update, current_);
    }
    modified_ = false;
    setState(Browse);
    Q_EMIT currentRowChanged(current_);
    emitDataChanged();
}

void Query::remove() {
    requireActive();
    if (state_ == Insert) return cancel();
    if (rows_.empty()) throw Error(QStringLiteral("Cannot perform this operation on an empty dataset"));
    requireWritable();
    applyPendingChange();
    const int index = current_;
    Statement statement(*connection_, QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(table_));
    statement.bind(1, qlonglong(rows_[index].rowid));
    statement.step();
    Q_EMIT rowsAboutToChange(RowChange::Remove, index);
    rows_.erase(rows_.begin() + index);
    Q_EMIT rowsChanged(RowChange::Remove, index);
    current_ = rows_.empty() ? -1 : std::min(index, int(rows_.size()) - 1);
    eof_ = rows_.empty();
    Q_EMIT currentRowChanged(current_);
    emitDataChanged();
}

void Query::refresh() {
    requireActive();
    applyPendingChange();
    const qint64 keep = current_ >= 0 ? rows_[current_].rowid : 0;
    const int keepIndex = current_;
    load();
    current_ = rows_.empty() ? -1 : std::min(std::max(keepIndex, 0), int(rows_.size()) - 1);
    if (keep != 0) {
        for (int i = 0; i < int(rows_.size()); ++i)
            if (rows_[i].rowid == keep) current_ = i;
    }
    eof_ = rows_.empty();
    Q_EMIT rowsChanged(RowChange::Reset, -1);
    Q_EMIT currentRowChanged(current_);
    emitDataChanged();
}

void Query::addRecordWriter(QObject* owner, std::function<void()> write) {
    removeRecordWriters(nullptr);  // those whose owner is gone
    writers_.push_back({owner, std::move(write)});
}

void Query::removeRecordWriters(QObject* owner) {
    writers_.erase(std::remove_if(writers_.begin(), writers_.end(),
                                  [owner](const RecordWriter& w) { return w.owner.isNull() || w.owner == owner; }),
                   writers_.end());
}

void Query::writeBoundBoxes() {
    // A direct call, not a signal: a text that is no value of its field throws back to the caller of post().
    const std::vector<RecordWriter> writers = writers_;
    for (const RecordWriter& w : writers)
        if (!w.owner.isNull()) w.write();
}

void Query::applyPendingChange() {
    if (!isEditing()) return;
    writeBoundBoxes();
    if (modified_)
        post();
    else
        cancel();
}

void Query::setState(State state) {
    if (state_ == state) return;
    state_ = state;
    Q_EMIT stateChanged();
}

void Query::emitDataChanged() {
    Q_EMIT dataChanged();
}

}  // namespace db
