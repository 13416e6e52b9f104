#pragma once

#include "common/Platform.h"

class QApplication;
class TDmFm;
class TProjectMainFm;

// Chinese texts for Qt's own dialogs and a font that has the Chinese characters.
void setUpApplication(QApplication& app);
// After a successful login: the main window and the sixteen views, the rental desk docked at its first show.
// withWindows also shows the splash and progress windows.
TProjectMainFm* createMainWindow(bool withWindows);
// The whole run, from opening the database to the end of the message loop. Returns the exit code.
int runOrvane(QApplication& app);
