#pragma once

#include <QWidget>

class TReportSaleFm : public QWidget {
    Q_OBJECT
public:
    explicit TReportSaleFm(QWidget* parent = nullptr);
};
