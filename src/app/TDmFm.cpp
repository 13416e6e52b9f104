#include "app/TDmFm.h"

#include "common/Guard.h"
#include "common/Platform.h"

TDmFm::TDmFm(QObject* parent) : QObject(parent), conn(db::Connection::shared()) {
    setObjectName(QStringLiteral("TDmFm"));
    guarded([this] { reopen(); });
}

TDmFm::~TDmFm() {
    conn.close();
}

void TDmFm::reopen() {
    conn.close();
    conn.open(databasePath());
}
