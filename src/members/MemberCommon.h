#pragma once

#include <QString>
#include <QStringList>

#include "ui/DataGrid.h"

class QWidget;

// What the member views share.
namespace members {

// The two kinds of scheme: the grant is a number of days, or a number of discs.
inline QString dayScheme() {
    return QStringLiteral("按天数优惠");
}
inline QString countScheme() {
    return QStringLiteral("按部数优惠");
}

// One grid column showing a field.
ui::GridColumn gridColumn(const QString& caption, const QString& field, ui::ColumnKind kind,
                          const QStringList& pickItems = {});

// A refused input: the notice, the focus back to the input, and the handler ends quietly.
[[noreturn]] void refuse(QWidget* input, const QString& text);

}  // namespace members
