#pragma once

#include <QWidget>

#include "db/Query.h"

class QCheckBox;
class QPushButton;
namespace ui {
class DataGrid;
}

// The billing cycle in days that the rental sheet shows beside a walk-in price.
class TCycleFm : public QWidget {
    Q_OBJECT
public:
    explicit TCycleFm(QWidget* parent = nullptr);
    ui::DataGrid* dxDBGrid9;
    QCheckBox* FlatCheckBox1;
    QPushButton* CycleSet;
    db::Query* Qcycle;
};
