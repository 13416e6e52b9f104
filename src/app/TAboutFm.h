#pragma once

#include <QDialog>

class QPushButton;

class TAboutFm : public QDialog {
    Q_OBJECT
public:
    explicit TAboutFm(QWidget* parent = nullptr);
    QPushButton* BtnClose;
};
