#pragma once

#include <QFrame>

class QStackedLayout;

// A work area into which views are docked one at a time: a view docked once stays, and docking it again only
// brings it to the front with its state as it was left.
class DockArea : public QFrame {
    Q_OBJECT
public:
    explicit DockArea(const QString& name, QWidget* parent = nullptr);
    // Makes a view belong to the area without showing it yet.
    void adopt(QWidget* view);
    void dock(QWidget* view);
    QWidget* current() const;
    bool isDocked(QWidget* view) const;

protected:
    // Tab, the Enter key's move and a control disabled or hidden while it has the focus all pass the focus on to
    // the next control of the docked view, never out of it to the window around it.
    bool focusNextPrevChild(bool next) override;

private:
    QStackedLayout* stack_;
};
