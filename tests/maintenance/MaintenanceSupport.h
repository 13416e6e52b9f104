#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// Helpers shared by the maintenance tests.
namespace maintenance_test {

inline QByteArray bytesOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

inline void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// A small shop: rows in every table, discs out on an open sheet (stock below the count bought), sales and a
// write-off, members and schemes, a second operator with rights, an extra type and charge standard.
void fillShop();

// Every row of every table of the shop (and the AutoNumber counters) as text, for comparing two databases.
QStringList dumpTables();

// Makes a file or folder unwritable for this process while it lives: read-only permissions for an ordinary user;
// for root, who ignores permissions, the file system's immutable flag. ok() is false when neither can be had.
inline constexpr const char* kCannotLock = "this file system cannot make a file unwritable for this user";
class Unwritable {
public:
    explicit Unwritable(const QString& path);
    ~Unwritable();
    bool ok() const { return ok_; }

private:
    QString path_;
    bool ok_ = false;
    bool immutable_ = false;
    QFile::Permissions before_;
};

// A file at a path that holds every table of this system yet cannot serve the shop, or something that is no file.
struct BadFile {
    const char* name;
    std::function<void(const QString& path)> make;
    // What is wrong, in the operator's words: for a database the fault found in it; for a non-file what stands
    // there ("一个文件夹").
    QString fault;
    bool isFile;
};
std::vector<BadFile> badFiles();

}  // namespace maintenance_test
