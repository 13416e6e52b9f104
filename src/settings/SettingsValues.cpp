#include "settings/SettingsValues.h"

#include <QHBoxLayout>
#include <QPushButton>

#include "db/Errors.h"
#include "db/Query.h"

namespace settings {

qint64 integerFromText(const QString& text) {
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    if (!ok || value < INT32_MIN || value > INT32_MAX)
        throw db::Error(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return value;
}

db::Money amountFromText(const QString& text) {
    db::Money amount;
    if (!db::Money::tryParse(text, &amount))
        throw db::Error(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    return amount;
}

db::Money defaultDeposit() {
    db::Query q;
    q.reopen(QStringLiteral("select * from TbMortagage"));
    return q.field(QStringLiteral("MortagageSum")).asMoney();
}

ui::GridColumn gridColumn(const QString& caption, const QString& fieldName, ui::ColumnKind kind, int width) {
    ui::GridColumn column;
    column.caption = caption;
    column.fieldName = fieldName;
    column.kind = kind;
    column.width = width;
    return column;
}

QPushButton* makeButton(const QString& name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

QHBoxLayout* buttonRow(QPushButton* ok, QPushButton* cancel) {
    ok->setDefault(true);
    cancel->setAutoDefault(false);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

}  // namespace settings
