#include "ProgressChartView.h"

// Qt
#include <QAbstractAxis>
#include <QChart>
#include <QDateTimeAxis>
#include <QMouseEvent>
#include <QWheelEvent>

namespace tonarika {

void clearChart(QChart& chart)
{
    chart.removeAllSeries();
    for (QAbstractAxis* axis : chart.axes()) {
        chart.removeAxis(axis);
        delete axis;
    }
}

namespace {

// Zooming in stops at six hours across the axis: a day's runs stand apart by then.
constexpr double kNarrowestMs = 6 * 3600.0 * 1000.0;

}  // namespace

QDateTimeAxis* ProgressChartView::timeAxis() const
{
    const auto axes = chart()->axes(Qt::Horizontal);
    return axes.isEmpty() ? nullptr : qobject_cast<QDateTimeAxis*>(axes.first());
}

void ProgressChartView::setWholeTime(const QDateTime& from, const QDateTime& to)
{
    m_wholeFrom = from;
    m_wholeTo = to;
}

bool ProgressChartView::showsWholeTime() const
{
    const QDateTimeAxis* axis = timeAxis();
    return axis && axis->min() == m_wholeFrom && axis->max() == m_wholeTo;
}

void ProgressChartView::resetZoom()
{
    if (QDateTimeAxis* axis = timeAxis(); axis && m_wholeFrom.isValid())
        axis->setRange(m_wholeFrom, m_wholeTo);
}

void ProgressChartView::zoomBy(double factor)
{
    if (const QDateTimeAxis* axis = timeAxis())
        zoomAround(double(axis->min().toMSecsSinceEpoch() + axis->max().toMSecsSinceEpoch()) / 2, factor);
}

void ProgressChartView::zoomAround(double at, double factor)
{
    QDateTimeAxis* axis = timeAxis();
    if (!axis)
        return;
    const double from = double(axis->min().toMSecsSinceEpoch());
    const double to = double(axis->max().toMSecsSinceEpoch());
    if (factor < 1.0 && to - from < kNarrowestMs)
        return;
    axis->setRange(QDateTime::fromMSecsSinceEpoch(qint64(at - (at - from) * factor)),
                   QDateTime::fromMSecsSinceEpoch(qint64(at + (to - at) * factor)));
}

void ProgressChartView::wheelEvent(QWheelEvent* event)
{
    if (!timeAxis() || event->angleDelta().y() == 0) {
        QChartView::wheelEvent(event);
        return;
    }
    // A notch forward shows a fifth less time, the day under the pointer staying put.
    zoomAround(chart()->mapToValue(event->position()).x(), event->angleDelta().y() > 0 ? 0.8 : 1.25);
    event->accept();
}

void ProgressChartView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_dragFrom = event->position();
    QChartView::mousePressEvent(event);
}

void ProgressChartView::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragFrom && (event->buttons() & Qt::LeftButton)) {
        chart()->scroll(m_dragFrom->x() - event->position().x(), 0);
        m_dragFrom = event->position();
    }
    QChartView::mouseMoveEvent(event);
}

void ProgressChartView::mouseReleaseEvent(QMouseEvent* event)
{
    m_dragFrom.reset();
    QChartView::mouseReleaseEvent(event);
}

void ProgressChartView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        resetZoom();
        event->accept();
        return;
    }
    QChartView::mouseDoubleClickEvent(event);
}

}  // namespace tonarika
