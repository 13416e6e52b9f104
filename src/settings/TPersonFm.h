#pragma once

#include <QWidget>

class TPersonFm : public QWidget {
    Q_OBJECT
public:
    explicit TPersonFm(QWidget* parent = nullptr);
};
