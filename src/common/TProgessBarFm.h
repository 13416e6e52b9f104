#pragma once

#include <QWidget>

class QProgressBar;
class QLabel;

// A small borderless window with a bar that advances in steps with a pause after each.
class TProgessBarFm : public QWidget {
    Q_OBJECT
public:
    explicit TProgessBarFm(QWidget* parent = nullptr);
    QLabel* Label1;
    QProgressBar* FlatProgressBar1;
    // Advances the bar by one step (never beyond its maximum) and pauses.
    void step(int pauseMilliseconds);
    int stepSize = 10;
};
