#include "ui/DockArea.h"

#include <QApplication>
#include <QStackedLayout>

namespace {
bool takesTabFocus(const QWidget* widget) {
    return (widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && widget->isVisible() && widget->isEnabled() &&
           !widget->focusProxy();
}
}  // namespace

DockArea::DockArea(const QString& name, QWidget* parent) : QFrame(parent) {
    setObjectName(name);
    stack_ = new QStackedLayout(this);
    stack_->setContentsMargins(0, 0, 0, 0);
}

void DockArea::adopt(QWidget* view) {
    if (view->parentWidget() != this) view->setParent(this);
    view->setWindowFlags(Qt::Widget);
    view->hide();
}

void DockArea::dock(QWidget* view) {
    if (view->parentWidget() != this) adopt(view);
    if (stack_->indexOf(view) < 0) stack_->addWidget(view);
    stack_->setCurrentWidget(view);
    view->show();
    view->raise();
}

QWidget* DockArea::current() const {
    return stack_->currentWidget();
}
bool DockArea::isDocked(QWidget* view) const {
    return stack_->indexOf(view) >= 0;
}

bool DockArea::focusNextPrevChild(bool next) {
    // An area inside a docked view (the settings hub's) leaves it to the outer area, so the focus still reaches
    // the controls of the view around it.
    for (QWidget* outer = parentWidget(); outer; outer = outer->parentWidget())
        if (qobject_cast<DockArea*>(outer)) return QFrame::focusNextPrevChild(next);
    QWidget* view = current();
    QWidget* from = QApplication::focusWidget();
    if (!view || !from || !view->isAncestorOf(from)) return QFrame::focusNextPrevChild(next);
    for (QWidget* w = next ? from->nextInFocusChain() : from->previousInFocusChain(); w && w != from;
         w = next ? w->nextInFocusChain() : w->previousInFocusChain()) {
        if (view->isAncestorOf(w) && takesTabFocus(w)) {
            w->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return QFrame::focusNextPrevChild(next);
}
