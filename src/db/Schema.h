#pragma once

#include <QString>

namespace db {

class Connection;

// Values a fresh database starts with.
namespace fresh {
inline constexpr const char* kSuperUser = "超级用户";
inline constexpr const char* kSuperUserPassword = "123456";
inline constexpr const char* kOtherType = "其它类型";
inline constexpr const char* kDefaultStandard = "默认标准";
inline constexpr int kDefaultStandardRent = 2;  // yuan
inline constexpr int kDeposit = 10;             // yuan
inline constexpr int kTimeLimitDays = 7;
inline constexpr const char* kReminderOn = "是";
inline constexpr int kCycleDays = 1;
}  // namespace fresh

// Creates the sixteen tables and the rows that must always exist on an empty connection.
void createSchema(Connection& connection);
// Writes a fresh encrypted database file; refuses (db::Error) when the file already exists.
void writeFreshDatabase(const QString& path);

}  // namespace db
