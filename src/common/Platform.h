#pragma once

#include <QString>

inline constexpr const char* kApplicationTitle = "Orvane--音像租赁管理系统";

// The executable's folder, which holds data/discvault.mdb; tests point it at a temporary folder.
QString appDir();
void setAppDir(const QString& folder);
QString databasePath();

// The remembered path of the last backup file (value "path" in group SOFTWARE/DISCVAULT); empty when none.
QString rememberedBackupPath();
// Throws db::Error when the setting cannot be written. An empty path forgets the value.
void rememberBackupPath(const QString& path);
// Keeps the remembered values in this file instead of the user's settings (for testing); empty restores them.
void setSettingsFile(const QString& iniFile);

// The fixed pauses of the progress windows; tests set the scale to 0.
void pauseMs(int milliseconds);
void setPauseScale(double scale);

// Opens a file or web address with the desktop's default program; nothing is reported when it fails.
void openWithShell(const QString& pathOrUrl);

class QFile;

// A copy in progress is written beside its target under "<target name>.orvane-<pid>-XXXXXX.part" (a template for
// QTemporaryFile) and renamed into place once complete, so nobody ever reads half a file under the real name.
QString partialFileTemplate(const QString& target);
// Removes from folder what copies of runs that have ended left under that naming (a run killed mid-copy), with
// the engine's journal beside them. Files of a run still going, and every other file, stay.
void removeLeftoverPartials(const QString& folder);
// Writes every byte to the open file, flushes it and has it synced to the disk; empty when done, otherwise why not.
// A write that lands fewer bytes than asked counts as failed, whatever the call reported.
QString writeDurably(QFile& file, const QByteArray& bytes);
// Has a closed file's contents, or a folder's entries after a rename, synced to the disk; empty when done.
QString syncToDisk(const QString& path);

namespace write_seam {
// Makes the checked writes fail as on a full disk once `bytes` bytes were written in this run of the seam (for
// testing); silently: the write claims success but nothing more lands. A negative count writes normally again.
void failAfter(qint64 bytes, bool silently = false);
// Every sync reports an input/output error while on.
void failSyncs(bool on);
}  // namespace write_seam
