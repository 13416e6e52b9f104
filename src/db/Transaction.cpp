#include "db/Transaction.h"

#include "db/Connection.h"

namespace db {

namespace {
int depth = 0;  // one thread; names the savepoints of nested scopes apart
}

Transaction::Transaction() : Transaction(Connection::shared()) {}

Transaction::Transaction(Connection& connection)
    : connection_(connection), name_("action" + QByteArray::number(++depth)) {
    try {
        connection_.execEngine(QStringLiteral("SAVEPOINT ") + QString::fromLatin1(name_));
    } catch (...) {
        --depth;
        throw;
    }
}

Transaction::~Transaction() {
    if (!done_) {
        // Nothing may escape a destructor; a failed rollback leaves the engine to undo the open savepoint.
        connection_.execQuietly("ROLLBACK TO " + name_ + "; RELEASE " + name_ + ";");
    }
    --depth;
}

void Transaction::commit() {
    connection_.execEngine(QStringLiteral("RELEASE ") + QString::fromLatin1(name_));
    done_ = true;
}

}  // namespace db
