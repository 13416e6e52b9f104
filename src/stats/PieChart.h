#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QVector>
#include <QWidget>

#include "stats/RentalRanking.h"

namespace stats {

// A three-dimensional pie: a tilted disc with its front edge shown, over a gradient background with the title on
// top and no axes or frame. Each slice carries a mark with its label and value, joined to the slice's rim by a short
// pointer. Qt Charts draws pies only flat, hence a painter of its own.
class PieChart : public QWidget {
    Q_OBJECT
public:
    explicit PieChart(QWidget* parent = nullptr);

    void setTitle(const QString& title);
    QString title() const { return title_; }
    // Shown in the order given, starting at three o'clock and going round counter-clockwise.
    void setSlices(const QVector<RankingSlice>& slices);
    const QVector<RankingSlice>& slices() const { return slices_; }

    static constexpr double kPointerLength = 8;
    static QColor sliceColor(int index);
    static QString markText(const RankingSlice& slice);

    // Where everything goes in a widget of the given size.
    struct Geometry {
        QRectF titleRect;
        QRectF top;    // the ellipse of the pie's upper face
        double depth;  // the height of the edge below it
        struct Slice {
            double startAngle;  // degrees, counter-clockwise from three o'clock
            double span;
            QPointF anchor;      // on the rim, where the pointer starts
            QPointF pointerEnd;  // kPointerLength away from the rim, outward
            QRectF mark;         // the mark's box
        };
        QVector<Slice> slices;
    };
    Geometry geometry(const QSizeF& size) const;

    QSize sizeHint() const override { return {640, 420}; }
    QSize minimumSizeHint() const override { return {320, 240}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString title_;
    QVector<RankingSlice> slices_;
};

}  // namespace stats
