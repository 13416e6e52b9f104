#pragma once

#include <QString>
#include <vector>

namespace db {
class Connection;
}

namespace bench {

// The size of the large shop the benchmark builds.
struct ShopSize {
    int titles = 100000;
    int rentedItems = 1000000;
    int members = 2000;
};

// Fills a fresh database with the large shop: titles (one in ten a series), rental sheets of five items each (one
// in twenty still open, one in four a member's) and their items, and the members.
void fillShop(db::Connection& connection, const ShopSize& size);

// The median of a few timed runs, in the unit they were taken in.
double median(std::vector<double> values);

// Each section times one part of the program on the filled shop and prints its lines.
void benchCatalogue(db::Connection& connection, const ShopSize& size, int translations);
// The counter: the desk, lookups, lending, confirming, returns, the quick search, the overdue list and start-up.
void benchRental(db::Connection& connection, const ShopSize& size);
void benchStats(db::Connection& connection, const ShopSize& size);

}  // namespace bench
