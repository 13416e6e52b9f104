#pragma once

#include <QObject>

class QWidget;

// The main menu's "备份系统" (restore false) and "恢复系统" (restore true). A restore is for the super user only.
void showBackupDialog(QWidget* parent, bool restore);
// The exit reminder, asked when the main window closes: 1 exit, -1 cancel (the last answer of the run when the
// reminder is closed by its close box; 0 before any).
int runExitReminder(QWidget* parent);

namespace maintenance {

// Tells the views that the database file was copied from the backup dialog, so they read their rows again.
class Notifier : public QObject {
    Q_OBJECT
public:
    static Notifier& instance();
Q_SIGNALS:
    // restored: the connection now reads a restored file and every query read before it is stale.
    void databaseCopied(bool restored);
};

// The exit answer starts each run at 0 (for testing, each test starts a run).
void resetExitAnswer();

}  // namespace maintenance
