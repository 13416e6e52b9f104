#pragma once

#include <QString>
#include <optional>

namespace db {
class Connection;
}

namespace settings {

enum class OperatorRefusal {
    NoRights,             // the name has no rights row
    NoName,               // a rights row needs a name
    SuperUserLevelFixed,  // the super user cannot be given a lower level
};

// The shop's operators (TPerson) with their rights rows (TAuthority), joined by the name. Every action that writes
// several rows does so as one: when any statement fails, none of it stays.
class Operators {
public:
    static constexpr const char* kInitialPassword = "862";
    static constexpr const char* kSuperUser = "超级用户";

    explicit Operators(db::Connection& connection);
    // On the shared connection.
    Operators();

    // A new operator under a name that has been given its rights row first.
    std::optional<OperatorRefusal> add(const QString& name);
    // A new name for the operator with this Id; the rights row follows it.
    void rename(qint64 personId, const QString& newName);
    // Part of writing a new name of a stored operator (also from the list's grid): the rights row of the stored
    // name follows the new one. Runs inside the save of the TPerson row, before it is written.
    void followRename(qint64 personId, const QString& newName);
    // Deletes the operator and every rights row of its name, so the name can no longer log in.
    void remove(qint64 personId);

    // Sets the level of the name's rights row, creating the row with the initial password when it has none.
    std::optional<OperatorRefusal> setLevel(const QString& name, int level);
    // Stores the password exactly as typed.
    std::optional<OperatorRefusal> setPassword(const QString& name, const QString& password);

private:
    db::Connection& connection_;
};

}  // namespace settings
