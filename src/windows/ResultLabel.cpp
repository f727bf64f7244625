#include "ResultLabel.h"

// Qt
#include <QPainter>

namespace tonarika {

namespace {

// The smallest size the caption is ever drawn at; far below anything a caption needs.
constexpr int kMinimumPixelSize = 9;

QFont withPixelSize(QFont font, int pixelSize)
{
    font.setPixelSize(pixelSize);
    return font;
}

}  // namespace

ResultLabel::ResultLabel(QWidget* parent)
    : QLabel(parent)
{
}

QRect ResultLabel::inkArea() const
{
    // Inside the one-pixel border, with one pixel of air.
    return rect().adjusted(2, 2, -2, -2);
}

int ResultLabel::fittedPixelSize() const
{
    const QRect area = inkArea();
    int pixelSize = font().pixelSize() > 0 ? font().pixelSize() : QFontInfo(font()).pixelSize();
    for (; pixelSize > kMinimumPixelSize; --pixelSize) {
        const QRect ink = QFontMetrics(withPixelSize(font(), pixelSize)).tightBoundingRect(text());
        if (ink.width() <= area.width() && ink.height() <= area.height())
            break;
    }
    return pixelSize;
}

void ResultLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!text().isEmpty()) {
        const QFont font = withPixelSize(this->font(), fittedPixelSize());
        const QRect ink = QFontMetrics(font).tightBoundingRect(text());
        const QPoint centre = inkArea().center();
        painter.setFont(font);
        painter.setPen(palette().color(QPalette::WindowText));
        // The baseline and start that put the ink's own centre on the label's centre.
        painter.drawText(QPoint(centre.x() - ink.width() / 2 - ink.left(), centre.y() - ink.height() / 2 - ink.top()),
                         text());
    }
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace tonarika
