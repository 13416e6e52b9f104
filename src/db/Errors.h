#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

namespace db {

// An error that ends the current handler and is shown with its text in the standard error box.
class Error : public std::exception {
public:
    explicit Error(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}
    const QString& message() const { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

// Ends the current handler without any further message: the refusal has already been shown.
class SilentStop : public std::exception {
public:
    const char* what() const noexcept override { return "silent stop"; }
};

}  // namespace db
