#include "stats/PieChart.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <iterator>

namespace stats {

namespace {
constexpr double kMargin = 10;
constexpr double kMarkPadX = 6;
constexpr double kMarkPadY = 3;
constexpr double kMarkGap = 3;   // between the pointer's end and its mark, and between marks
constexpr double kTilt = 0.55;   // height of the upper face to its width
constexpr double kDepth = 0.10;  // height of the edge to the width

QFont titleFont(const QFont& base) {
    QFont font = base;
    font.setBold(true);
    font.setPointSizeF(base.pointSizeF() * 1.35);
    return font;
}

QPointF rimPoint(const QRectF& ellipse, double angle) {
    QPainterPath path;
    path.arcMoveTo(ellipse, angle);
    return path.currentPosition();
}

// Whether an angle (degrees) lies on the front half, where the edge below the rim is seen.
bool onFront(double angle) {
    const double a = std::fmod(angle, 360.0);
    return a > 180.0 && a < 360.0;
}

// Half the width the pie takes up between two heights: the upper face, its edge and the lower rim.
double halfWidthBetween(const QRectF& top, double depth, double y0, double y1) {
    const double a = top.width() / 2, b = top.height() / 2, cy = top.center().y();
    auto at = [&](double y) {
        double dy = 0;
        if (y < cy) dy = cy - y;
        if (y > cy + depth) dy = y - cy - depth;
        if (dy >= b) return 0.0;
        return a * std::sqrt(1 - (dy / b) * (dy / b));
    };
    // Widest at the height nearest the band between the two rims' centres.
    if (y0 <= cy + depth && y1 >= cy) return a;
    return at(y1 < cy ? y1 : y0);
}

// Keeps the marks of one side apart: pushed down in order, then back up from the bottom limit.
void spreadVertically(QVector<QRectF*>& marks, double minTop, double maxBottom) {
    std::sort(marks.begin(), marks.end(),
              [](const QRectF* a, const QRectF* b) { return a->center().y() < b->center().y(); });
    double floor = minTop;
    for (QRectF* m : marks) {
        if (m->top() < floor) m->moveTop(floor);
        floor = m->bottom() + kMarkGap;
    }
    double ceiling = maxBottom;
    for (auto it = marks.rbegin(); it != marks.rend(); ++it) {
        if ((*it)->bottom() > ceiling) (*it)->moveBottom(ceiling);
        ceiling = (*it)->top() - kMarkGap;
    }
}
}  // namespace

PieChart::PieChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Chart1"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PieChart::setTitle(const QString& title) {
    title_ = title;
    update();
}

void PieChart::setSlices(const QVector<RankingSlice>& slices) {
    slices_ = slices;
    update();
}

QColor PieChart::sliceColor(int index) {
    static const QColor colors[] = {
        QColor(220, 60, 50),   QColor(70, 160, 70),   QColor(240, 190, 40), QColor(60, 110, 200),
        QColor(170, 80, 180),  QColor(40, 170, 170),  QColor(240, 130, 40), QColor(140, 110, 80),
        QColor(230, 110, 160), QColor(120, 180, 230), QColor(160, 200, 60), QColor(120, 120, 130),
    };
    return colors[index % int(std::size(colors))];
}

QString PieChart::markText(const RankingSlice& slice) {
    return slice.type + QStringLiteral(" ") + QString::number(slice.count);
}

PieChart::Geometry PieChart::geometry(const QSizeF& size) const {
    Geometry g;
    const QFontMetricsF titleMetrics(titleFont(font()));
    g.titleRect = QRectF(kMargin, kMargin, std::max(0.0, size.width() - 2 * kMargin), titleMetrics.height() * 1.6);

    const QFontMetricsF metrics(font());
    const double markHeight = metrics.height() + 2 * kMarkPadY;
    double markWidth = 0;
    qint64 total = 0;
    for (const RankingSlice& s : slices_) {
        markWidth = std::max(markWidth, metrics.horizontalAdvance(markText(s)) + 2 * kMarkPadX);
        total += std::max<qint64>(0, s.count);
    }
    const bool marks = total > 0;
    const QRectF area(kMargin, g.titleRect.bottom() + kMargin, std::max(0.0, size.width() - 2 * kMargin),
                      std::max(0.0, size.height() - g.titleRect.bottom() - 2 * kMargin));
    const double sideRoom = marks ? markWidth + kPointerLength + 2 * kMarkGap : 0;
    const double verticalRoom = marks ? markHeight + kPointerLength + kMarkGap : 0;
    const double availableWidth = std::max(40.0, area.width() - 2 * sideRoom);
    const double availableHeight = std::max(30.0, area.height() - 2 * verticalRoom);
    const double width = std::min(availableWidth, availableHeight / (kTilt + kDepth));
    g.depth = width * kDepth;
    g.top =
        QRectF(area.center().x() - width / 2, area.center().y() - (width * kTilt + g.depth) / 2, width, width * kTilt);
    if (!marks) return g;

    const QPointF centre = g.top.center();
    double start = 0;
    QVector<QRectF*> left, right;
    g.slices.reserve(slices_.size());
    for (const RankingSlice& s : slices_) {
        Geometry::Slice slice;
        slice.startAngle = start;
        slice.span = 360.0 * double(std::max<qint64>(0, s.count)) / double(total);
        start += slice.span;
        const double middle = slice.startAngle + slice.span / 2;
        slice.anchor = rimPoint(g.top, middle);
        QPointF out = slice.anchor - centre;
        const double length = std::hypot(out.x(), out.y());
        out = length > 0 ? out / length : QPointF(1, 0);
        // On the front the pointer starts on the edge: at its foot in the middle, near the rim at the sides.
        if (onFront(middle)) slice.anchor.ry() += g.depth * std::fabs(std::sin(middle * M_PI / 180.0));
        slice.pointerEnd = slice.anchor + out * kPointerLength;
        const double w = metrics.horizontalAdvance(markText(s)) + 2 * kMarkPadX;
        const double x = out.x() >= 0 ? slice.pointerEnd.x() + kMarkGap : slice.pointerEnd.x() - kMarkGap - w;
        slice.mark = QRectF(x, slice.pointerEnd.y() - markHeight / 2, w, markHeight);
        g.slices.push_back(slice);
    }
    for (Geometry::Slice& slice : g.slices)
        (slice.mark.center().x() >= centre.x() ? right : left).push_back(&slice.mark);
    const double minTop = g.titleRect.bottom() + 2;
    const double maxBottom = size.height() - kMargin / 2;
    spreadVertically(left, minTop, maxBottom);
    spreadVertically(right, minTop, maxBottom);
    // A mark pushed up or down beside the pie moves out until it clears it.
    for (QRectF* m : right) {
        const double clear = centre.x() + halfWidthBetween(g.top, g.depth, m->top(), m->bottom()) + kMarkGap;
        if (m->left() < clear) m->moveLeft(clear);
    }
    for (QRectF* m : left) {
        const double clear = centre.x() - halfWidthBetween(g.top, g.depth, m->top(), m->bottom()) - kMarkGap;
        if (m->right() > clear) m->moveRight(clear);
    }
    return g;
}

void PieChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, 0, height());
    background.setColorAt(0, QColor(255, 255, 255));
    background.setColorAt(1, QColor(198, 214, 236));
    p.fillRect(rect(), background);

    const Geometry g = geometry(size());
    p.setFont(titleFont(font()));
    p.setPen(QColor(20, 40, 110));
    p.drawText(g.titleRect, Qt::AlignCenter, title_);
    p.setFont(font());

    if (g.slices.isEmpty()) {
        p.setPen(QColor(90, 90, 90));
        p.drawText(g.top, Qt::AlignCenter, QStringLiteral("暂无出租记录"));
        return;
    }

    const QRectF bottom = g.top.translated(0, g.depth);
    // The edge: the front part of each slice, shaded as a curved band.
    for (int i = 0; i < g.slices.size(); ++i) {
        const auto& s = g.slices[i];
        const double from = std::max(s.startAngle, 180.0);
        const double to = std::min(s.startAngle + s.span, 360.0);
        if (to <= from) continue;
        QPainterPath band;
        band.arcMoveTo(g.top, from);
        band.arcTo(g.top, from, to - from);
        band.lineTo(rimPoint(bottom, to));
        band.arcTo(bottom, to, from - to);
        band.closeSubpath();
        const QColor c = sliceColor(i);
        QLinearGradient shade(g.top.left(), 0, g.top.right(), 0);
        shade.setColorAt(0, c.darker(190));
        shade.setColorAt(0.45, c.darker(120));
        shade.setColorAt(1, c.darker(200));
        p.setPen(QPen(c.darker(220), 1));
        p.setBrush(shade);
        p.drawPath(band);
    }
    // The upper face.
    for (int i = 0; i < g.slices.size(); ++i) {
        const auto& s = g.slices[i];
        const QColor c = sliceColor(i);
        QRadialGradient light(g.top.center() - QPointF(g.top.width() / 5, g.top.height() / 4), g.top.width() * 0.75);
        light.setColorAt(0, c.lighter(135));
        light.setColorAt(1, c);
        p.setPen(QPen(c.darker(150), 1));
        p.setBrush(light);
        if (s.span >= 360.0)
            p.drawEllipse(g.top);
        else
            p.drawPie(g.top, int(std::lround(s.startAngle * 16)), int(std::lround(s.span * 16)));
    }
    // Marks with their pointers.
    for (int i = 0; i < g.slices.size(); ++i) {
        const auto& s = g.slices[i];
        const QPointF attach(s.mark.center().x() >= s.pointerEnd.x() ? s.mark.left() : s.mark.right(),
                             s.mark.center().y());
        p.setPen(QPen(QColor(60, 60, 60), 1));
        p.drawLine(s.anchor, s.pointerEnd);
        p.drawLine(s.pointerEnd, attach);
        p.setBrush(QColor(255, 255, 225));
        p.drawRoundedRect(s.mark, 3, 3);
        p.setPen(Qt::black);
        p.drawText(s.mark, Qt::AlignCenter, markText(slices_[i]));
    }
}

}  // namespace stats
