#pragma once

#include <QWidget>

#include "db/Query.h"

class QPushButton;
namespace ui {
class DataGrid;
}

// The default deposit that a new rental sheet starts with.
class TMortagageFm : public QWidget {
    Q_OBJECT
public:
    explicit TMortagageFm(QWidget* parent = nullptr);
    ui::DataGrid* dxDBGrid8;
    QPushButton* MortagageSet;
    db::Query* QMortagage;
};
