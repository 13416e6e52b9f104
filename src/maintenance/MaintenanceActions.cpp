#include "maintenance/MaintenanceActions.h"

void showBackupDialog(QWidget*, bool) {}
