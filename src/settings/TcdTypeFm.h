#pragma once

#include <QWidget>

class TcdTypeFm : public QWidget {
    Q_OBJECT
public:
    explicit TcdTypeFm(QWidget* parent = nullptr);
};
