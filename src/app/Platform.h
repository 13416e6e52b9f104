#pragma once

#include <QString>

// The executable's folder, which holds data/discvault.mdb; tests point it at a temporary folder.
QString appDir();
void setAppDir(const QString& folder);
QString databasePath();

// The fixed pauses of the progress windows; tests set the scale to 0.
void pauseMs(int milliseconds);
void setPauseScale(double scale);

// Opens a file or web address with the desktop's default program; nothing is reported when it fails.
void openWithShell(const QString& pathOrUrl);
