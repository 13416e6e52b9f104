#pragma once

#include <QByteArray>

namespace db {

class Connection;

// One operator action that writes several rows: everything it writes stays only when commit() is called. Leaving
// the scope without commit (an error thrown, a refusal) takes back all of it. Nested scopes are savepoints inside
// the outer one, so a rule may call another rule that has its own.
class Transaction {
public:
    explicit Transaction(Connection& connection);
    // On the shared connection.
    Transaction();
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    Connection& connection_;
    QByteArray name_;
    bool done_ = false;
};

}  // namespace db
