#pragma once

#include <QWidget>

#include "db/Query.h"

class QPushButton;
namespace ui {
class DataGrid;
}

// The operators who may log in; the super user is never listed.
class TPersonFm : public QWidget {
    Q_OBJECT
public:
    explicit TPersonFm(QWidget* parent = nullptr);
    ui::DataGrid* dxDBGrid5;
    QPushButton* PBtnNew;
    QPushButton* PBtnmodify;
    QPushButton* PbtnDel;
    db::Query* Qperson;

private:
    void openDialog(qint64 id);
    void deleteOperator();
};
