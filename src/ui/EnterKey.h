#pragma once

#include <QList>

class QAbstractButton;
class QKeyEvent;
class QWidget;

// Enter on a view: a listed button that has the focus is clicked; otherwise the focus moves to the next control.
// Returns true when the key was Enter (and so consumed).
bool handleEnterKey(QWidget* view, QKeyEvent* event, const QList<QAbstractButton*>& buttons);
