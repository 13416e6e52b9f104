#pragma once

#include <QString>

namespace db {
class Connection;
}

namespace rental {

// Items out longer than the shop's time limit: lent more than the limit's number of midnights ago and not back.
class OverdueList {
public:
    explicit OverdueList(db::Connection& connection);

    // The reminder switch: only "否" turns reminders off.
    bool remindersOn() const;
    // The time limit in days.
    qint64 timeLimit() const;

    static QString listSql(qint64 limitDays);
    static QString heading(qint64 limitDays);
    static QString switchedOffNotice();

private:
    db::Connection& connection_;
};

}  // namespace rental
