#pragma once

#include <QWidget>

// Shown in place of a module the operator's rights level does not allow.
class TDenyFm : public QWidget {
    Q_OBJECT
public:
    explicit TDenyFm(QWidget* parent = nullptr);
};
