#pragma once

#include <QWidget>

class TReportSortFm : public QWidget {
    Q_OBJECT
public:
    explicit TReportSortFm(QWidget* parent = nullptr);
};
