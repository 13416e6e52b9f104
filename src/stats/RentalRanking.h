#pragma once

#include <QString>
#include <QVector>

namespace db {
class Connection;
}

namespace stats {

// One slice of the ranking: a disc type and how many items of its single titles were ever lent.
struct RankingSlice {
    QString type;
    qint64 count = 0;
    bool operator==(const RankingSlice& o) const { return type == o.type && count == o.count; }
};

// Rentals of all time by the disc type of the rented single title. Series volumes carry numbers that are no title's
// number, and series titles are left out, so series never count.
class RentalRanking {
public:
    static QString rankingSql();
    // The slices in the order the query gives them.
    static QVector<RankingSlice> read(db::Connection& connection);
};

}  // namespace stats
