#pragma once

// Qt
#include <QChartView>
#include <QDateTime>

// std
#include <optional>

class QChart;
class QDateTimeAxis;

namespace tonarika {

// Empties a chart to draw it again: its series go, and its axes, which the chart gives
// back to its caller rather than deleting.
void clearChart(QChart& chart);

// A chart view whose time axis zooms with the mouse wheel around the pointer, or by
// zoomBy() around its middle, and scrolls when dragged; the rate axis stays as it is.
// A double click, like resetZoom(), shows the whole time again.
class ProgressChartView : public QChartView {
    Q_OBJECT
public:
    using QChartView::QChartView;

    // The time the reset shows: all of it.
    void setWholeTime(const QDateTime& from, const QDateTime& to);
    // Whether the time axis shows all the time, as it does until the player zooms or drags.
    bool showsWholeTime() const;
    // Shows `factor` times as much time (below 1: zooms in), around the middle.
    void zoomBy(double factor);
    void resetZoom();

protected:
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QDateTimeAxis* timeAxis() const;
    void zoomAround(double at, double factor);

    std::optional<QPointF> m_dragFrom;
    QDateTime m_wholeFrom;
    QDateTime m_wholeTo;
};

}  // namespace tonarika
