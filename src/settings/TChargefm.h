#pragma once

#include <QWidget>

class TChargefm : public QWidget {
    Q_OBJECT
public:
    explicit TChargefm(QWidget* parent = nullptr);
};
