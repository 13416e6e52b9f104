#pragma once

class QWidget;

// The main menu's "备份系统" (restore false) and "恢复系统" (restore true).
void showBackupDialog(QWidget* parent, bool restore);
