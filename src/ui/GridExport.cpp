#include "ui/GridExport.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "common/Csv.h"
#include "common/FileDialog.h"
#include "common/MyMessageBox.h"
#include "db/Clock.h"
#include "ui/DataGrid.h"

namespace ui {

namespace {
// The folder of the last export in this run, offered again for the next one.
QString& lastExportFolder() {
    static QString folder;
    return folder;
}

QString defaultExportFolder() {
    if (!lastExportFolder().isEmpty()) return lastExportFolder();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}
}  // namespace

QVector<QStringList> shownTable(const DataGrid& grid) {
    const QVector<int> columns = grid.shownColumns();
    QVector<QStringList> table;
    QStringList captions;
    for (int column : columns) captions << grid.model()->gridColumns()[column].caption;
    table << captions;
    for (const QModelIndex& row : grid.shownRows()) {
        QStringList cells;
        cells.reserve(columns.size());
        for (int column : columns) cells << grid.shownText(row, column);
        table << cells;
    }
    return table;
}

QString suggestedExportName(const QString& caption) {
    QString base = caption.trimmed().isEmpty() ? QStringLiteral("列表") : caption.trimmed();
    for (QChar bad : {u'/', u'\\', u':', u'*', u'?', u'"', u'<', u'>', u'|'}) base.replace(bad, u'_');
    return base + u'_' + db::Clock::today().toString(QString::fromLatin1(db::dates::kDateFormat)) +
           QStringLiteral(".csv");
}

void exportShownRows(DataGrid* grid, const QString& caption, QWidget* parent) {
    const QVector<QStringList> table = shownTable(*grid);
    if (table.size() <= 1) {
        MyMessageBox(mkNotice, QStringLiteral("当前列表中没有记录,不需要导出!"));
        return;
    }
    const QString suggested = QDir(defaultExportFolder()).filePath(suggestedExportName(caption));
    const QString path =
        askSaveFileName(parent, QStringLiteral("导出列表"), suggested, QStringLiteral("CSV 文件 (*.csv)"));
    if (path.isEmpty()) return;
    const QString failure = csv::writeFile(path, table);
    if (!failure.isEmpty()) {
        MyMessageBox(mkNotice, QStringLiteral("不能写入文件 %1 (%2),列表没有导出,请选择其它位置!")
                                   .arg(QDir::toNativeSeparators(path), failure));
        return;
    }
    lastExportFolder() = QFileInfo(path).absolutePath();
    MyMessageBox(mkNotice,
                 QStringLiteral("已将%1条记录导出到文件 %2").arg(table.size() - 1).arg(QDir::toNativeSeparators(path)));
}

}  // namespace ui
