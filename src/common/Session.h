#pragma once

#include <QString>

// The logged-in operator, set once by the login.
extern QString CurrentUserName;
// 0 super user, 1 administrator, 2 ordinary operator.
extern int CurrentAuthority;

enum AuthorityLevel { kSuperUser = 0, kAdministrator = 1, kOperator = 2 };

// The refusal of a menu item that replaces or deletes the shop's data, for every level but the super user.
inline constexpr const char* kSuperUserOnlyText = "对不起,你没有权限使用此功能,请与超级用户联系!";
