#pragma once

#include <QString>
#include <QVector>
#include <optional>

namespace db {
class Connection;
}

namespace inventory {

// One lending unit of a series: its number and the discs on it, as a Sitcom row carries them.
struct VolumeUnit {
    QString number;  // CdCountId: the series' number, "-", the disc numbers side by side
    QString discs;   // CdNumber: the disc numbers separated by commas, then "集"
    bool operator==(const VolumeUnit& o) const { return number == o.number && discs == o.discs; }
};

// The units a series is lent in: two discs each, the last one three when a set has an odd number of discs. A set
// of fewer than two discs makes none.
QVector<VolumeUnit> volumeUnits(const QString& seriesNumber, int discsPerSet);

// The volume rows (Sitcom) of series: each carries its own stock, which lending, sales and write-offs move.
class SeriesVolumes {
public:
    explicit SeriesVolumes(db::Connection& connection);

    // Writes the units of a new series, each with the sets bought as its stock; returns how many were written.
    int make(qint64 seriesId, const QString& seriesNumber, const QString& seriesName, int discsPerSet, int setsBought);
    bool exist(qint64 seriesId) const;
    // The volumes carry the series' title; a renamed series takes its volumes along.
    void rename(qint64 seriesId, const QString& seriesName);
    void removeAll(qint64 seriesId);
    // The least stock among the series' volumes; none when it has no volumes.
    std::optional<qint64> smallestStock(qint64 seriesId) const;
    // Takes sets out of every volume of the series.
    void lowerStock(qint64 seriesId, int sets);

private:
    db::Connection& connection_;
};

}  // namespace inventory
