#include "members/MemberCommon.h"

#include <QWidget>

#include "app/MyMessageBox.h"
#include "db/Errors.h"

namespace members {

ui::GridColumn gridColumn(const QString& caption, const QString& field, ui::ColumnKind kind,
                          const QStringList& pickItems) {
    ui::GridColumn column;
    column.caption = caption;
    column.fieldName = field;
    column.kind = kind;
    column.pickItems = pickItems;
    return column;
}

void refuse(QWidget* input, const QString& text) {
    MyMessageBox(mkNotice, text);
    if (input) input->setFocus();
    throw db::SilentStop();
}

}  // namespace members
