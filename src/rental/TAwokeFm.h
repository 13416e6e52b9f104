#pragma once

#include <QWidget>

class TAwokeFm : public QWidget {
    Q_OBJECT
public:
    explicit TAwokeFm(QWidget* parent = nullptr);
};
