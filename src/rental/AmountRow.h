#pragma once

#include <QGridLayout>
#include <QLabel>
#include <QString>

namespace rental {

// One line of a settlement dialog: the caption, the amount and its unit.
inline void addAmountRow(QGridLayout* grid, int row, const QString& caption, QWidget* amount) {
    QWidget* owner = amount->parentWidget();
    grid->addWidget(new QLabel(caption, owner), row, 0);
    grid->addWidget(amount, row, 1);
    grid->addWidget(new QLabel(QStringLiteral("元"), owner), row, 2);
}

}  // namespace rental
