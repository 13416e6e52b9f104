#pragma once

#include <QWidget>

#include "db/Query.h"

class QPushButton;
namespace ui {
class DataGrid;
}

// The charge standards the catalogue offers when a title is entered ("默认标准" is not listed).
class TChargefm : public QWidget {
    Q_OBJECT
public:
    explicit TChargefm(QWidget* parent = nullptr);
    ui::DataGrid* dxDBGrid6;
    QPushButton* chargeadd;
    QPushButton* chargemodify;
    QPushButton* chargedel;
    db::Query* Qcharge;

private:
    void openDialog(qint64 id);
};
