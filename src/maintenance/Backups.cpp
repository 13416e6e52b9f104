#include "maintenance/Backups.h"

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
// A new empty file beside target, removed again unless the copy was renamed into place.
std::unique_ptr<QTemporaryFile> partialBeside(const QString& target) {
    const QFileInfo info(target);
    auto partial =
        std::make_unique<QTemporaryFile>(info.absolutePath() + u'/' + info.fileName() + QStringLiteral(".XXXXXX.part"));
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
// gets the permissions of the file it stands for, not those of a private temporary file.
void replace(const QString& copy, const QString& target, const QString& like) {
    QFile::setPermissions(copy, QFile::permissions(like));
    if (std::rename(QFile::encodeName(copy).constData(), QFile::encodeName(target).constData()) != 0)
        throw db::Error(
            QStringLiteral("无法写入文件“%1”：%2").arg(target, QString::fromLocal8Bit(std::strerror(errno))));
}
}  // namespace

Backups::Backups(db::Connection& connection, QString livePath)
    : connection_(connection), livePath_(std::move(livePath)) {}

QString Backups::defaultBackupPath() {
    return appDir() + QStringLiteral("/data/BackData.bak");
}

QString Backups::proposedPath() {
    const QString remembered = rememberedBackupPath();
    return remembered.isEmpty() ? defaultBackupPath() : remembered;
}

QString Backups::withDefaultSuffix(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
    return path + QStringLiteral(".mdb");
}

void Backups::backup(const QString& target) {
    const QFileInfo info(target);
    if (info.isDir()) throw db::Error(QStringLiteral("“%1”是一个文件夹,不能作为备份文件!").arg(target));
    // Renaming a copy over the open file would leave the connection writing to a file no longer there.
    if (info.exists() && info.canonicalFilePath() == QFileInfo(livePath_).canonicalFilePath())
        throw db::Error(QStringLiteral("“%1”是正在使用的数据库文件,不能作为备份文件!").arg(target));
    QDir().mkpath(info.absolutePath());
    auto partial = partialBeside(target);
    connection_.exportTo(partial->fileName());
    checkCopy(partial->fileName());
    replace(partial->fileName(), target, livePath_);
}

Backups::RestoreResult Backups::restore(const QString& source) {
    if (!QFileInfo(source).isFile()) return RestoreResult::Missing;
    if (!db::Connection::checkFile(source).isEmpty()) return RestoreResult::NotABackup;
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
