#include "settings/SettingsValues.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

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

QPushButton* makeButton(const QString& name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

QHBoxLayout* buttonRow(QPushButton* ok, QPushButton* cancel) {
    ok->setDefault(true);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

void layOutListView(QWidget* view, ui::DataGrid* grid, QPushButton* add, QPushButton* change, QPushButton* remove) {
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(add);
    buttons->addWidget(change);
    buttons->addWidget(remove);
    auto* layout = new QVBoxLayout(view);
    layout->addWidget(grid, 1);
    layout->addLayout(buttons);
    db::Query* query = grid->query();
    auto follow = [query, remove] { remove->setEnabled(query->recordCount() > 0); };
    QObject::connect(query, &db::Query::dataChanged, remove, follow);
    QObject::connect(query, &db::Query::rowsChanged, remove, follow);
    follow();
}

void layOutValueDialog(QDialog* dialog, const QString& label, QLineEdit* box, const QString& unit, QPushButton* ok,
                       QPushButton* cancel) {
    box->setAlignment(Qt::AlignRight);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(label, dialog));
    row->addWidget(box, 1);
    row->addWidget(new QLabel(unit, dialog));
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(row);
    layout->addLayout(buttonRow(ok, cancel));
    dialog->setMinimumWidth(300);
}

}  // namespace settings
