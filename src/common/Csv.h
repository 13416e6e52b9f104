#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// Comma-separated text as spreadsheet programs read it: RFC 4180 quoting, CRLF line ends, UTF-8 with a byte-order
// mark so that the Chinese shows correctly when the file is opened by double-click.
namespace csv {

// One field: quoted when it holds a comma, a double quote, a tab or a line break, with every double quote doubled. A
// text a spreadsheet would run as a formula (starting with =, +, -, @) gets a leading apostrophe so it opens as
// text; a plain signed number stays a number.
QString field(const QString& text);
// The byte-order mark, then every row as one line ending in CRLF.
QByteArray encode(const QVector<QStringList>& rows);
// Writes the rows under a temporary name beside the target, checks that every byte reached the disk, and renames it
// into place, so a failed write (a full disk included) leaves no part of a file behind and an existing file as it
// was. Returns an empty text when written, otherwise why not.
QString writeFile(const QString& path, const QVector<QStringList>& rows);

}  // namespace csv
