#pragma once

#include "ui/TGridFatherFm.h"

class TCdRentBackFm : public TGridFatherFm {
    Q_OBJECT
public:
    explicit TCdRentBackFm(QWidget* parent = nullptr);
};
