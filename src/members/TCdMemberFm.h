#pragma once

#include <QWidget>

class TCdMemberFm : public QWidget {
    Q_OBJECT
public:
    explicit TCdMemberFm(QWidget* parent = nullptr);
};
