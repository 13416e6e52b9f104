#include "common/Platform.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSettings>
#include <QThread>
#include <QUrl>
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
