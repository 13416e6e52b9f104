#pragma once

#include "ui/TGridFatherFm.h"

class TCdResourceFm : public TGridFatherFm {
    Q_OBJECT
public:
    explicit TCdResourceFm(QWidget* parent = nullptr);
    // Refills the choices of the type pick list from TCdType (after a disc type is saved).
    void reloadTypeChoices();
};
