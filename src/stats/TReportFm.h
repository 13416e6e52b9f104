#pragma once

#include <QWidget>

class TReportFm : public QWidget {
    Q_OBJECT
public:
    explicit TReportFm(QWidget* parent = nullptr);
};
