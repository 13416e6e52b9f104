#pragma once

#include <QString>

// One run of the program per database file. The run holds a lock on a file beside the database for as long as it
// lives; a second start finds it held and ends before it opens anything. The lock is the operating system's own
// (flock), so it ends with the process however the process ends: a run that crashed leaves at most the lock file,
// which blocks nobody.
class SingleRun {
public:
    explicit SingleRun(const QString& databasePath);
    ~SingleRun();
    SingleRun(const SingleRun&) = delete;
    SingleRun& operator=(const SingleRun&) = delete;

    // False when another run holds the database. True otherwise, also when no lock file can be made (no data
    // folder, a read-only one): opening the database then says what is wrong.
    bool acquire();
    bool held() const { return fd_ >= 0; }
    void release();
    // data/discvault.mdb.lock beside the database.
    const QString& lockPath() const { return lockPath_; }

private:
    QString lockPath_;
    int fd_ = -1;
};
