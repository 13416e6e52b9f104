#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

class QWidget;

namespace ui {

class DataGrid;

// The list as the operator sees it: the captions of the visible columns, then every row in the shown order (the
// rows of each group in turn when grouped), each cell as shown.
QVector<QStringList> shownTable(const DataGrid& grid);
// The file name first offered for a list: its caption and today's date, for example "光盘资料管理_2026-12-10.csv".
QString suggestedExportName(const QString& caption);
// "导出列表": asks where to save the grid's shown rows, writes them as CSV and tells the operator where they went or
// why they could not be written. Any view that shows a DataGrid can offer it.
void exportShownRows(DataGrid* grid, const QString& caption, QWidget* parent);

}  // namespace ui
