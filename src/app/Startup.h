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
// The run ends (the message loop quits) as soon as the main window closes for good.
void endRunWhenMainWindowCloses(TProjectMainFm* main);
// From claiming the database to the end of the message loop: a second run on the same database is told so and
// ends before it opens anything. Returns the exit code.
int runSession(QApplication& app);
// The whole run: setUpApplication, then runSession.
int runOrvane(QApplication& app);
