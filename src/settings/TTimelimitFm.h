#pragma once

#include <QWidget>

class TTimelimitFm : public QWidget {
    Q_OBJECT
public:
    explicit TTimelimitFm(QWidget* parent = nullptr);
};
