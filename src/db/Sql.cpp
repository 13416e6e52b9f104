#include "db/Sql.h"

#include "db/Clock.h"

namespace db {

int Sql::run() {
    while (statement_.step()) {
    }
    return connection_.changes();
}

bool Sql::isNull(int column) const {
    return statement_.valueType(column) == ValueType::Null;
}

qint64 Sql::integer(int column) const {
    return statement_.columnInt(column);
}

QString Sql::text(int column) const {
    return statement_.columnText(column);
}

Money Sql::money(int column) const {
    switch (statement_.valueType(column)) {
        case ValueType::Null:
            return {};
        case ValueType::Integer:
            return Money::fromInt(statement_.columnInt(column));
        default:
            return Money::fromDouble(statement_.columnDouble(column));
    }
}

QDate Sql::date(int column) const {
    return moment(column).date();
}

QDateTime Sql::moment(int column) const {
    if (isNull(column)) return {};
    return dates::parse(statement_.columnText(column)).value_or(QDateTime());
}

bool Sql::flag(int column) const {
    return statement_.columnInt(column) != 0;
}

void Sql::bindValue(int index, qint64 value) {
    statement_.bind(index, qlonglong(value));
}

void Sql::bindValue(int index, const QString& value) {
    statement_.bind(index, value.isNull() ? QStringLiteral("") : value);
}

void Sql::bindValue(int index, Money value) {
    statement_.bind(index, value.toDouble());
}

void Sql::bindValue(int index, const QDate& value) {
    statement_.bind(index, value.isValid() ? QVariant(dates::toStored(value)) : QVariant());
}

void Sql::bindValue(int index, const QDateTime& value) {
    statement_.bind(index, value.isValid() ? QVariant(dates::toStored(value)) : QVariant());
}

void Sql::bindValue(int index, std::nullptr_t) {
    statement_.bind(index, QVariant());
}

}  // namespace db
