#pragma once

// Qt
#include <QChartView>

// std
#include <optional>

namespace tonarika {

// A chart view whose time axis zooms with the mouse wheel, around the pointer, and
// scrolls when dragged; the rate axis stays as it is.
class ProgressChartView : public QChartView {
    Q_OBJECT
public:
    using QChartView::QChartView;

protected:
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::optional<QPointF> m_dragFrom;
};

}  // namespace tonarika
