#include "maintenance/Backups.h"

#include <sys/stat.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "common/Platform.h"
#include "db/Connection.h"
#include "db/Errors.h"

namespace maintenance {

namespace {
// A new empty file beside target, removed again unless the copy was renamed into place. What earlier runs killed
// in the middle of a copy left there goes first.
std::unique_ptr<QTemporaryFile> partialBeside(const QString& target) {
    const QFileInfo info(target);
    removeLeftoverPartials(info.absolutePath());
    auto partial = std::make_unique<QTemporaryFile>(partialFileTemplate(target));
    if (!partial->open())
        throw db::Error(
            QStringLiteral("无法在文件夹“%1”中写入文件：%2").arg(info.absolutePath(), partial->errorString()));
    partial->close();
    return partial;
}

void checkCopy(const QString& copy) {
    const QString why = db::Connection::checkFile(copy);
    if (!why.isEmpty()) throw db::Error(QStringLiteral("复制出的文件检查未通过：%1").arg(why));
}

// Puts the checked copy in place of target in one step: target is either the old file or the new one. The copy
// gets the permissions of the file it stands for, not those of a private temporary file. It is on the disk before
// the rename, and the rename is before this returns.
void replace(const QString& copy, const QString& target, const QString& like) {
    QFile::setPermissions(copy, QFile::permissions(like));
    const QString unsynced = syncToDisk(copy);
    if (!unsynced.isEmpty()) throw db::Error(QStringLiteral("无法写入文件“%1”：%2").arg(target, unsynced));
    if (std::rename(QFile::encodeName(copy).constData(), QFile::encodeName(target).constData()) != 0)
        throw db::Error(
            QStringLiteral("无法写入文件“%1”：%2").arg(target, QString::fromLocal8Bit(std::strerror(errno))));
    syncToDisk(QFileInfo(target).absolutePath());
}
}  // namespace

bool sameFile(const QString& a, const QString& b) {
    struct stat first {
    }, second{};
    if (::stat(QFile::encodeName(a).constData(), &first) != 0) return false;
    if (::stat(QFile::encodeName(b).constData(), &second) != 0) return false;
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

Backups::Backups(db::Connection& connection, QString livePath)
    : connection_(connection), livePath_(std::move(livePath)) {}

QString Backups::defaultBackupPath() {
    return appDir() + QStringLiteral("/data/BackData.bak");
}

QString Backups::proposedPath() {
    const QString remembered = rememberedBackupPath();
    // A remembered path naming the shop's own file is none a backup or restore can use.
    if (remembered.isEmpty() || sameFile(remembered, databasePath())) return defaultBackupPath();
    return remembered;
}

QString Backups::withDefaultSuffix(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
    return path + QStringLiteral(".mdb");
}

void Backups::checkTarget(const QString& target) const {
    const db::PathKind kind = db::pathKind(target);
    if (kind == db::PathKind::Folder) throw db::Error(QStringLiteral("“%1”是一个文件夹,不能作为备份文件!").arg(target));
    if (kind != db::PathKind::File && kind != db::PathKind::Missing)
        throw db::Error(QStringLiteral("“%1”是%2,不能作为备份文件!").arg(target, db::pathKindText(kind)));
    // Renaming a copy over the open file would leave the connection writing to a file no longer there.
    if (sameFile(target, livePath_))
        throw db::Error(QStringLiteral("“%1”是正在使用的数据库文件,不能作为备份文件!").arg(target));
}

void Backups::backup(const QString& target) {
    checkTarget(target);
    QDir().mkpath(QFileInfo(target).absolutePath());
    auto partial = partialBeside(target);
    connection_.exportTo(partial->fileName());
    checkCopy(partial->fileName());
    replace(partial->fileName(), target, livePath_);
}

Backups::RestoreResult Backups::restore(const QString& source) {
    refusal_.clear();
    if (db::pathKind(source) == db::PathKind::Missing) return RestoreResult::Missing;
    if (sameFile(source, livePath_)) return RestoreResult::LiveFile;
    const db::FileCheck check = db::Connection::inspectFile(source);
    switch (check.verdict) {
        case db::FileCheck::Usable:
            break;
        case db::FileCheck::NotADatabase:
            refusal_ = check.reason;
            return RestoreResult::NotABackup;
        case db::FileCheck::NotAFile:
        case db::FileCheck::Unsuitable:
            refusal_ = check.reason;
            return RestoreResult::Unusable;
    }
    auto partial = partialBeside(livePath_);
    db::Connection::copyFile(source, partial->fileName());
    checkCopy(partial->fileName());
    connection_.close();
    try {
        replace(partial->fileName(), livePath_, livePath_);
    } catch (...) {
        connection_.open(livePath_);
        throw;
    }
    connection_.open(livePath_);
    return RestoreResult::Restored;
}

}  // namespace maintenance
