#include "ui/EnterKey.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

bool handleEnterKey(QWidget* view, QKeyEvent* event, const QList<QAbstractButton*>& buttons) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) return false;
    event->accept();
    QWidget* focused = QApplication::focusWidget();
    for (QAbstractButton* button : buttons) {
        if (button && button == focused) {
            if (button->isEnabled()) button->click();
            return true;
        }
    }
    QWidget* next = focused ? focused->nextInFocusChain() : nullptr;
    // Walk to the next control of this view that can take the focus.
    while (next && next != focused &&
           (!(next->focusPolicy() & Qt::TabFocus) || !next->isEnabled() || !next->isVisible() ||
            !view->isAncestorOf(next)))
        next = next->nextInFocusChain();
    if (next && next != focused) next->setFocus(Qt::TabFocusReason);
    return true;
}
