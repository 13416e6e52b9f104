#pragma once

#include <QObject>

namespace db {
class Connection;
}

namespace settings {

// The groups of data a fresh start may clear.
struct InitialisationGroups {
    bool resources = false;  // titles and volumes, and with them every rental record
    bool rentals = false;    // rental sheets and rented items; stock counts reset
    bool members = false;    // members and member schemes
    bool settings = false;   // types, operators (with their rights) and charge standards but the fixed rows;
                             // billing cycle and default deposit back to their starting values
    bool sales = false;      // sales and write-offs; stock counts reset
};

// Empties the chosen groups so that a shop can start afresh.
class Initialisation {
public:
    explicit Initialisation(db::Connection& connection);

    // Titles cannot go without the records that lend and sell them: ticking resources ticks rentals and sales.
    static InitialisationGroups withDependencies(InitialisationGroups groups);
    // Runs the chosen groups in order as one action: when a statement fails nothing of it stays. Returns true
    // when the rental records were cleared (the desk's counters then read zero).
    bool run(InitialisationGroups groups);

private:
    db::Connection& connection_;
};

// Tells the views that data was cleared, so they read their lists again.
class InitialisationNotifier : public QObject {
    Q_OBJECT
public:
    static InitialisationNotifier& instance();
Q_SIGNALS:
    void dataCleared(bool rentalsCleared);
};

}  // namespace settings
