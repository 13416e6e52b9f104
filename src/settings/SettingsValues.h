#pragma once

#include <QString>

#include "db/Money.h"
#include "ui/DataGrid.h"

class QDialog;
class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QWidget;

namespace settings {

// The text of an integer box read as a number of days; anything else ends the handler with
// "'<text>' is not a valid integer value".
qint64 integerFromText(const QString& text);
// The text of an amount box read as money; anything else ends the handler with
// "'<text>' is not a valid floating point value".
db::Money amountFromText(const QString& text);

// The deposit a new rental sheet starts with: MortagageSum of the first row of TbMortagage (0 when it has none).
db::Money defaultDeposit();

// A push button with its objectName; the settings dialogs build their rows of buttons with it.
QPushButton* makeButton(const QString& name, const QString& caption, QWidget* parent);
// "确定" (the default button, taken by Enter unless another button has the focus) and "取消" at the right of one row.
QHBoxLayout* buttonRow(QPushButton* ok, QPushButton* cancel);
// Lays out a list view: its grid over a row of "新增", "修改", "删除" at the right; "删除" is enabled exactly while the
// grid's list has rows.
void layOutListView(QWidget* view, ui::DataGrid* grid, QPushButton* add, QPushButton* change, QPushButton* remove);
// Lays out a dialog that sets one value: "label [box] unit" over the row of "确定" and "取消".
void layOutValueDialog(QDialog* dialog, const QString& label, QLineEdit* box, const QString& unit, QPushButton* ok,
                       QPushButton* cancel);

}  // namespace settings
