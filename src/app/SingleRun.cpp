#include "app/SingleRun.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <cerrno>

SingleRun::SingleRun(const QString& databasePath) : lockPath_(databasePath + QStringLiteral(".lock")) {}

SingleRun::~SingleRun() {
    release();
}

bool SingleRun::acquire() {
    if (held()) return true;
    const QByteArray name = QFile::encodeName(lockPath_);
    int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    const bool writable = fd >= 0;
    if (!writable) fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);  // a lock needs no write access
    if (fd < 0) return true;
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const bool inUse = errno == EWOULDBLOCK;
        ::close(fd);
        return !inUse;
    }
    fd_ = fd;
    if (writable) {
        // Who holds it, for a person looking at the folder; the lock itself is what counts.
        const QByteArray pid = QByteArray::number(QCoreApplication::applicationPid()) + '\n';
        if (::ftruncate(fd_, 0) == 0) (void)!::write(fd_, pid.constData(), size_t(pid.size()));
    }
    return true;
}

void SingleRun::release() {
    if (fd_ < 0) return;
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
}
