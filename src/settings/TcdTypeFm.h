#pragma once

#include <QWidget>

#include "db/Query.h"

class QPushButton;
namespace ui {
class DataGrid;
}

// The disc types offered for a title ("其它类型" is not listed).
class TcdTypeFm : public QWidget {
    Q_OBJECT
public:
    explicit TcdTypeFm(QWidget* parent = nullptr);
    ui::DataGrid* dxDBGrid7;
    QPushButton* RzBitBtn1;
    QPushButton* RzBitBtn2;
    QPushButton* RzBitBtn3;
    db::Query* Qtype;

Q_SIGNALS:
    // A type was added or renamed: lists that offer the types must reload them.
    void typesChanged();

private:
    void openDialog(qint64 id);
};
