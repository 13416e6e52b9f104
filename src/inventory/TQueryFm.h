#pragma once

#include <QDialog>

class TQueryFm : public QDialog {
    Q_OBJECT
public:
    explicit TQueryFm(QWidget* parent = nullptr);
};
