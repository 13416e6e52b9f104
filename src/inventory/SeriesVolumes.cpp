#include "inventory/SeriesVolumes.h"

#include <QStringList>
#include <algorithm>

#include "db/Connection.h"
#include "db/Query.h"
#include "db/Transaction.h"

namespace inventory {

namespace {
QString volumesOf(qint64 seriesId) {
    return QStringLiteral("select * from Sitcom where CdId=") + jet::number(seriesId);
}
}  // namespace

QVector<VolumeUnit> volumeUnits(const QString& seriesNumber, int discsPerSet) {
    QVector<VolumeUnit> units;
    auto add = [&](std::initializer_list<int> discs) {
        QString suffix;
        QStringList listed;
        for (int disc : discs) {
            suffix += QString::number(disc);
            listed.append(QString::number(disc));
        }
        units.append({seriesNumber + u'-' + suffix, listed.join(u',') + QStringLiteral("集")});
    };
    for (int first = 1; first + 1 <= discsPerSet; first += 2) {
        if (first + 2 == discsPerSet) {
            add({first, first + 1, first + 2});
            break;
        }
        add({first, first + 1});
    }
    return units;
}

SeriesVolumes::SeriesVolumes(db::Connection& connection) : connection_(connection) {}

int SeriesVolumes::make(qint64 seriesId, const QString& seriesNumber, const QString& seriesName, int discsPerSet,
                        int setsBought) {
    const QVector<VolumeUnit> units = volumeUnits(seriesNumber, discsPerSet);
    db::Transaction action(connection_);
    db::Query volumes(nullptr, {}, &connection_);
    volumes.reopen(QStringLiteral("select * from Sitcom where Id=-1"));
    for (const VolumeUnit& unit : units) {
        volumes.append();
        volumes.field("CdCountId").setString(unit.number);
        volumes.field("CdNumber").setString(unit.discs);
        volumes.field("CdId").setInteger(seriesId);
        volumes.field("CdCountName").setString(seriesName);
        volumes.field("BuySeriesCount").setInteger(setsBought);
        volumes.field("Stock").setInteger(setsBought);
        volumes.post();
    }
    action.commit();
    return int(units.size());
}

bool SeriesVolumes::exist(qint64 seriesId) const {
    db::Query volumes(nullptr, {}, &connection_);
    volumes.reopen(QStringLiteral("select count(*) as volumes from Sitcom where CdId=") + jet::number(seriesId));
    return volumes.field("volumes").asInteger() > 0;
}

void SeriesVolumes::rename(qint64 seriesId, const QString& seriesName) {
    db::Query(nullptr, {}, &connection_)
        .execSql(QStringLiteral("update Sitcom set CdCountName=") + jet::quoted(seriesName) +
                 QStringLiteral(" where CdId=") + jet::number(seriesId));
}

void SeriesVolumes::removeAll(qint64 seriesId) {
    db::Query(nullptr, {}, &connection_)
        .execSql(QStringLiteral("delete * from sitcom where CdId =") + jet::number(seriesId));
}

std::optional<qint64> SeriesVolumes::smallestStock(qint64 seriesId) const {
    db::Query volumes(nullptr, {}, &connection_);
    volumes.reopen(volumesOf(seriesId));
    std::optional<qint64> smallest;
    for (volumes.first(); !volumes.eof(); volumes.next()) {
        const qint64 stock = volumes.field("Stock").asInteger();
        smallest = smallest ? std::min(*smallest, stock) : stock;
    }
    return smallest;
}

void SeriesVolumes::lowerStock(qint64 seriesId, int sets) {
    db::Transaction action(connection_);
    db::Query volumes(nullptr, {}, &connection_);
    volumes.reopen(volumesOf(seriesId));
    for (volumes.first(); !volumes.eof(); volumes.next()) {
        volumes.edit();
        volumes.field("Stock").setInteger(volumes.field("Stock").asInteger() - sets);
        volumes.post();
    }
    action.commit();
}

}  // namespace inventory
