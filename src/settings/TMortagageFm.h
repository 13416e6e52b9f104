#pragma once

#include <QWidget>

class TMortagageFm : public QWidget {
    Q_OBJECT
public:
    explicit TMortagageFm(QWidget* parent = nullptr);
};
