#pragma once

#include <QString>

namespace db {
class Connection;
}

namespace maintenance {

// Copies of the shop's database file: a backup of the open database to any file, and the live file replaced by a
// backup. Every copy is written under a temporary name in the folder where it belongs, checked, and only then
// renamed into place, so a failed copy never harms the live file or an earlier backup.
class Backups {
public:
    // livePath: the file the connection has open (data/discvault.mdb of the application folder).
    Backups(db::Connection& connection, QString livePath);

    // The file a backup goes to unless the operator chose another: data/BackData.bak in the application folder.
    static QString defaultBackupPath();
    // The path the backup dialog proposes: the file last used for a backup, else the default.
    static QString proposedPath();
    // A typed name without an extension gets ".mdb".
    static QString withDefaultSuffix(const QString& path);

    // Throws db::Error when no backup may be written at target: a folder or other non-file there, or the live file.
    void checkTarget(const QString& target) const;
    // Writes a copy of the open database to target, replacing a file there. Throws db::Error with the reason;
    // the connection and every query stay as they were either way.
    void backup(const QString& target);

    enum class RestoreResult {
        Restored,
        Missing,
        LiveFile,    // the file the shop works on: restoring it from itself restores nothing
        NotABackup,  // not a database of this system
        Unusable,    // a folder, a FIFO ... or a database whose tables lack what the shop needs (refusal() says)
    };
    // Replaces the live file by a copy of source and opens the connection on it. A source refused changes
    // nothing. Throws db::Error when the copy fails; the connection is then open on the live file as it was.
    RestoreResult restore(const QString& source);
    // Why the last restore refused its source, for the operator.
    const QString& refusal() const { return refusal_; }

private:
    db::Connection& connection_;
    QString livePath_;
    QString refusal_;
};

// Whether both paths name one file (through links and hard links alike).
bool sameFile(const QString& a, const QString& b);

}  // namespace maintenance
