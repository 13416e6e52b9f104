#pragma once

#include <QWidget>

// The splash window shown while the views are created.
class TPictureFm : public QWidget {
    Q_OBJECT
public:
    explicit TPictureFm(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
