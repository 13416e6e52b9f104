#pragma once

#include "db/Money.h"
#include "stats/ReportPeriod.h"

namespace db {
class Connection;
}

namespace stats {

// Items lent in the period, split by the kind of customer of their rental sheet.
struct RentalCounts {
    qint64 rentCount = 0;        // every item lent in the period
    qint64 backCount = 0;        // of those, the ones back
    qint64 memberRentCount = 0;  // lent on a member's sheet
    qint64 memberBackCount = 0;  // lent on a member's sheet and back, settled sheet or not
    qint64 personRentCount() const { return rentCount - memberRentCount; }
    qint64 personBackCount() const { return backCount - memberBackCount; }
};

// Rent of the items lent in the period.
struct RentMoney {
    db::Money walkInPaid;    // returned items of walk-in sheets: their share of the money received
    db::Money unpaid;        // items still out, of every sheet (members' items carry 0)
    db::Money returnedRent;  // every returned item, the rent part of the profit
};

// Items lent in the period: their counts and their rent, read in one pass.
struct RentalFigures {
    RentalCounts counts;
    RentMoney rent;
};

// The catalogue: sets on the shelf over every title, and the purchase price of titles bought in the period.
struct TitleFigures {
    qint64 remainCount = 0;
    db::Money purchases;
};

// The parts of the period's profit or loss.
struct ProfitParts {
    db::Money renewals;      // member payments recorded in the period
    db::Money returnedRent;  // rent of the returned items lent in the period
    db::Money purchases;     // purchase price of titles bought in the period
    db::Money sales;         // money received for copies sold
    db::Money writeOffs;     // purchase price of copies written off
    db::Money profit() const { return renewals + returnedRent + sales - purchases - writeOffs; }
};

// Every figure of the business analysis at once (tests and the benchmark).
struct IncomeReport {
    RentalCounts counts;
    RentMoney rent;
    qint64 remainCount = 0;
    db::Money depositsHeld;
    db::Money memberFees;
    ProfitParts profit;
};

// The income figures of a period: counts of lending and returns, stock, rent paid and unpaid, deposits held, member
// fees and the profit. Each call is one query; money is summed exactly in 1/10000 yuan.
class IncomeFigures {
public:
    IncomeFigures(db::Connection& connection, const Period& period);

    // The sheet of each item is read by its key within the one query, however many items the period holds.
    RentalFigures rentals() const;
    TitleFigures titles() const;
    // Deposits of every sheet not yet settled, whatever the period.
    db::Money depositsHeld() const;
    // The fee of the present scheme of every member who joined in the period.
    db::Money memberFees() const;
    // Adds the renewals, sales and write-offs of the period to the parts read with the rentals and the titles.
    ProfitParts profitParts(const RentalFigures& rentals, const TitleFigures& titles) const;

    IncomeReport compute() const;

private:
    db::Connection& connection_;
    Period period_;
};

}  // namespace stats
