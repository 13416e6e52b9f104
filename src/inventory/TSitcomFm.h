#pragma once

#include <QDialog>

#include "db/Query.h"
#include "ui/DataGrid.h"

class QPushButton;

// The volumes of one series, listed after the series is bought.
class TSitcomFm : public QDialog {
    Q_OBJECT
public:
    TSitcomFm(qint64 seriesId, QWidget* parent = nullptr);

    ui::DataGrid* GridMain;
    QPushButton* BtnClose;
    db::Query* Q;
};
