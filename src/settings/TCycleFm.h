#pragma once

#include <QWidget>

class TCycleFm : public QWidget {
    Q_OBJECT
public:
    explicit TCycleFm(QWidget* parent = nullptr);
};
