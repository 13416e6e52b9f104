#include "app/Session.h"

QString CurrentUserName;
int CurrentAuthority = kOperator;
