#include "common/Platform.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QThread>
#include <QUrl>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <memory>

#include "db/Errors.h"

namespace {
QString& folderOverride() {
    static QString folder;
    return folder;
}
QString& settingsFile() {
    static QString file;
    return file;
}
std::unique_ptr<QSettings> openSettings() {
    if (!settingsFile().isEmpty()) return std::make_unique<QSettings>(settingsFile(), QSettings::IniFormat);
    return std::make_unique<QSettings>(QStringLiteral("Orvane"), QStringLiteral("orvane"));
}
double& pauseScale() {
    static double scale = 1.0;
    return scale;
}
}  // namespace

QString appDir() {
    if (!folderOverride().isEmpty()) return folderOverride();
    return QCoreApplication::applicationDirPath();
}

void setAppDir(const QString& folder) {
    folderOverride() = folder;
}

QString databasePath() {
    return appDir() + QStringLiteral("/data/discvault.mdb");
}

QString rememberedBackupPath() {
    return openSettings()->value(QStringLiteral("SOFTWARE/DISCVAULT/path")).toString();
}

void rememberBackupPath(const QString& path) {
    auto settings = openSettings();
    if (path.isEmpty())
        settings->remove(QStringLiteral("SOFTWARE/DISCVAULT/path"));
    else
        settings->setValue(QStringLiteral("SOFTWARE/DISCVAULT/path"), path);
    settings->sync();
    if (settings->status() != QSettings::NoError)
        throw db::Error(QStringLiteral("无法保存备份路径:设置文件“%1”不能写入。").arg(settings->fileName()));
}

void setSettingsFile(const QString& iniFile) {
    settingsFile() = iniFile;
}

void pauseMs(int milliseconds) {
    const int wait = int(milliseconds * pauseScale());
    if (wait <= 0) return;
    // The window being shown during the pause must paint, so keep painting while waiting.
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < wait) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
        QThread::msleep(5);
    }
}

void setPauseScale(double scale) {
    pauseScale() = scale;
}

void openWithShell(const QString& pathOrUrl) {
    const QUrl url = pathOrUrl.contains(QStringLiteral("://")) ? QUrl(pathOrUrl) : QUrl::fromLocalFile(pathOrUrl);
    QDesktopServices::openUrl(url);
}

namespace {
struct WriteFailure {
    qint64 after = -1;  // bytes still written normally; negative: no failure
    bool silently = false;
    bool syncs = false;
};
WriteFailure& writeFailure() {
    static WriteFailure failure;
    return failure;
}
QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// Writes as much as the disk takes: the byte count that landed, or -1 with errno set.
qint64 writeSome(int fd, const char* data, qint64 size) {
    WriteFailure& failure = writeFailure();
    if (failure.after >= 0) {
        if (failure.after == 0) {
            if (failure.silently) return size;  // claims all, lands nothing
            errno = ENOSPC;
            return -1;
        }
        size = std::min(size, failure.after);
    }
    const ssize_t written = ::write(fd, data, size_t(size));
    if (written > 0 && failure.after > 0) failure.after -= written;
    return written;
}
}  // namespace

void write_seam::failAfter(qint64 bytes, bool silently) {
    writeFailure().after = bytes;
    writeFailure().silently = silently;
}
void write_seam::failSyncs(bool on) {
    writeFailure().syncs = on;
}

QString partialFileTemplate(const QString& target) {
    const QFileInfo info(target);
    return info.absolutePath() + u'/' + info.fileName() +
           QStringLiteral(".orvane-%1-XXXXXX.part").arg(QCoreApplication::applicationPid());
}

void removeLeftoverPartials(const QString& folder) {
    static const QRegularExpression ours(QStringLiteral("^.+\\.orvane-(\\d+)-[A-Za-z0-9]{6}\\.part(-journal)?$"));
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const QRegularExpressionMatch match = ours.match(name);
        if (!match.hasMatch()) continue;
        bool numeric = false;
        const qint64 pid = match.captured(1).toLongLong(&numeric);
        if (!numeric || pid <= 0) continue;
        // One run copies one file at a time: a file of this run is left from a copy that failed. Another run's
        // file is removed only once that run is gone.
        const bool running =
            pid != QCoreApplication::applicationPid() && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
        if (!running) QFile::remove(dir.filePath(name));
    }
}

QString writeDurably(QFile& file, const QByteArray& bytes) {
    if (!file.flush()) return file.errorString();  // nothing of Qt's own buffer may come after our bytes
    const int fd = file.handle();
    if (fd < 0) return QStringLiteral("文件没有打开");
    const char* at = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const qint64 written = writeSome(fd, at, left);
        if (written < 0) {
            if (errno == EINTR) continue;
            return systemError(errno);
        }
        if (written == 0) return systemError(ENOSPC);
        at += written;
        left -= written;
    }
    if (writeFailure().syncs || ::fsync(fd) != 0) return systemError(writeFailure().syncs ? EIO : errno);
    // What the disk holds, not what the calls reported: a silently short write shows here.
    struct stat written {};
    if (::fstat(fd, &written) != 0) return systemError(errno);
    if (written.st_size != bytes.size())
        return QStringLiteral("只写入了%1字节,应为%2字节(磁盘可能已满)").arg(qint64(written.st_size)).arg(bytes.size());
    return {};
}

QString syncToDisk(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return systemError(errno);
    const bool synced = !writeFailure().syncs && ::fsync(fd) == 0;
    const int error = writeFailure().syncs ? EIO : errno;
    ::close(fd);
    return synced ? QString() : systemError(error);
}
