#include "settings/SettingsActions.h"

void showAuthorityWindow(QWidget*) {}
void showInitialisationDialog(QWidget*) {}
