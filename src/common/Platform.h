#pragma once

#include <QString>

inline constexpr const char* kApplicationTitle = "Orvane--音像租赁管理系统";

// The executable's folder, which holds data/discvault.mdb; tests point it at a temporary folder.
QString appDir();
void setAppDir(const QString& folder);
QString databasePath();

// The remembered path of the last backup file (value "path" in group SOFTWARE/DISCVAULT); empty when none.
QString rememberedBackupPath();
// Throws db::Error when the setting cannot be written.
void rememberBackupPath(const QString& path);
// Keeps the remembered values in this file instead of the user's settings (for testing); empty restores them.
void setSettingsFile(const QString& iniFile);

// The fixed pauses of the progress windows; tests set the scale to 0.
void pauseMs(int milliseconds);
void setPauseScale(double scale);

// Opens a file or web address with the desktop's default program; nothing is reported when it fails.
void openWithShell(const QString& pathOrUrl);
