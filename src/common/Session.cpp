#include "common/Session.h"

QString CurrentUserName;
int CurrentAuthority = kOperator;
