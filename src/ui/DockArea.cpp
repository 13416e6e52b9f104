#include "ui/DockArea.h"

#include <QStackedLayout>

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
