#pragma once

#include <QObject>

#include "db/Connection.h"

// The data module: owns the one connection every query object uses.
class TDmFm : public QObject {
    Q_OBJECT
public:
    // Opens data/discvault.mdb in the application folder; a failure is shown in the error box and the program
    // goes on with the connection closed.
    explicit TDmFm(QObject* parent = nullptr);
    ~TDmFm() override;

    db::Connection& conn;
    // Closes the connection and opens the file again (after a restore).
    void reopen();
};
