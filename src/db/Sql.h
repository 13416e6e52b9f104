#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>

#include "db/Connection.h"
#include "db/Money.h"

namespace db {

// One statement of a rule: engine SQL with ? parameters, every value bound (never joined into the text), its rows
// read forward once with typed reads. Values bind in the form the tables store them: money as its decimal amount,
// dates and moments as stored date texts, flags as 0/1.
class Sql {
public:
    template <class... Values>
    Sql(const Connection& connection, const char* sql, const Values&... values)
        : connection_(connection), statement_(connection, QString::fromUtf8(sql)) {
        int index = 0;
        (bindValue(++index, values), ...);
    }

    // Steps to the next row; false when there is none.
    bool next() { return statement_.step(); }
    // Runs a statement that returns no rows; the number of rows it changed.
    int run();

    bool isNull(int column) const;
    qint64 integer(int column) const;
    QString text(int column) const;
    Money money(int column) const;
    QDate date(int column) const;  // the day of a stored date; an invalid date for null
    QDateTime moment(int column) const;
    bool flag(int column) const;

private:
    void bindValue(int index, qint64 value);
    void bindValue(int index, int value) { bindValue(index, qint64(value)); }
    void bindValue(int index, bool value) { bindValue(index, qint64(value ? 1 : 0)); }
    void bindValue(int index, const QString& value);
    void bindValue(int index, Money value);
    void bindValue(int index, const QDate& value);
    void bindValue(int index, const QDateTime& value);
    void bindValue(int index, std::nullptr_t);
    template <class T>
    void bindValue(int index, const std::optional<T>& value) {
        if (value)
            bindValue(index, *value);
        else
            bindValue(index, nullptr);
    }
    // A bare C string would bind as a pointer flag; texts come as QString.
    void bindValue(int index, const char*) = delete;

    const Connection& connection_;
    Statement statement_;
};

// The first column of the first row as an integer; 0 when there is no row or the value is null.
template <class... Values>
qint64 integerOf(const Connection& connection, const char* sql, const Values&... values) {
    Sql q(connection, sql, values...);
    return q.next() && !q.isNull(0) ? q.integer(0) : 0;
}

// Whether the statement returns any row.
template <class... Values>
bool exists(const Connection& connection, const char* sql, const Values&... values) {
    return Sql(connection, sql, values...).next();
}

// Runs a statement that returns no rows; the number of rows it changed.
template <class... Values>
int run(const Connection& connection, const char* sql, const Values&... values) {
    return Sql(connection, sql, values...).run();
}

}  // namespace db
