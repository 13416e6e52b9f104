#include "common/Csv.h"

#include <sys/stat.h>

#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "common/Platform.h"

namespace csv {

namespace {
// A spreadsheet runs a cell that starts with one of these as a formula ("=HYPERLINK(...)", "@SUM(...)"); a tab or
// a carriage return in front is skipped by some of them before they look.
bool opensAsFormula(const QString& text) {
    if (text.isEmpty()) return false;
    const QChar first = text.front();
    if (first != u'=' && first != u'+' && first != u'-' && first != u'@' && first != u'\t' && first != u'\r')
        return false;
    // A plain signed number, such as a negative amount or count, is a number and stays one.
    static const QRegularExpression number(QStringLiteral("^[+-]?[0-9]+(\\.[0-9]+)?$"));
    return !number.match(text).hasMatch();
}

mode_t currentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}
}  // namespace

QString field(const QString& text) {
    // The leading apostrophe makes the spreadsheet take the rest as typed text.
    const QString cell = opensAsFormula(text) ? u'\'' + text : text;
    const bool needsQuotes = cell.contains(u',') || cell.contains(u'"') || cell.contains(u'\n') || cell.contains(u'\r');
    if (!needsQuotes) return cell;
    QString quoted = cell;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QByteArray encode(const QVector<QStringList>& rows) {
    QString text;
    for (const QStringList& row : rows) {
        QStringList fields;
        fields.reserve(row.size());
        for (const QString& value : row) fields << field(value);
        text += fields.join(u',');
        text += QStringLiteral("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

QString writeFile(const QString& path, const QVector<QStringList>& rows) {
    const QFileInfo target(path);
    if (target.isDir()) return QStringLiteral("“%1”是一个文件夹").arg(path);
    removeLeftoverPartials(target.absolutePath());
    QTemporaryFile partial(partialFileTemplate(path));
    if (!partial.open()) return partial.errorString();
    const QByteArray bytes = encode(rows);
    const QString failure = writeDurably(partial, bytes);
    if (!failure.isEmpty()) return failure;  // the partial file goes with `partial`; the old file stays
    partial.close();
    // A list is an ordinary document: readable as any new file of the operator's, or as the one it replaces.
    if (target.exists())
        QFile::setPermissions(partial.fileName(), QFile::permissions(path));
    else
        ::chmod(QFile::encodeName(partial.fileName()).constData(), 0666 & ~currentUmask());
    if (std::rename(QFile::encodeName(partial.fileName()).constData(), QFile::encodeName(path).constData()) != 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    partial.setAutoRemove(false);
    syncToDisk(target.absolutePath());  // the rename itself; the list is complete under its name either way
    return {};
}

}  // namespace csv
