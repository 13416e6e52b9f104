#pragma once

#include <QString>

// The logged-in operator, set once by the login.
extern QString CurrentUserName;
// 0 super user, 1 administrator, 2 ordinary operator.
extern int CurrentAuthority;

enum AuthorityLevel { kSuperUser = 0, kAdministrator = 1, kOperator = 2 };
