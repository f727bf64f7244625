#include "ResultLabel.h"

// Qt
#include <QPainter>

// std
#include <algorithm>

namespace tonarika {

namespace {

// The smallest size the caption is ever drawn at; far below anything a caption needs.
constexpr int kMinimumPixelSize = 9;

// From the top of the first line's ink to the bottom of the second's, a font size apart.
int twoLineHeight(const QFontMetrics& metrics, const QStringList& lines, int step)
{
    return step + metrics.tightBoundingRect(lines.back()).bottom() - metrics.tightBoundingRect(lines.front()).top();
}

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

QStringList ResultLabel::lines() const
{
    // A caption of two parts ("はずれ — 正解: ミ") goes on two lines where that draws it
    // larger than one line would.
    const QStringList parts = text().split(QStringLiteral(" — "));
    if (parts.size() == 2 && fittedPixelSize(parts) > fittedPixelSize({text()}))
        return parts;
    return {text()};
}

int ResultLabel::fittedPixelSize() const
{
    return fittedPixelSize(lines());
}

int ResultLabel::fittedPixelSize(const QStringList& lines) const
{
    const QRect area = inkArea();
    int pixelSize = font().pixelSize() > 0 ? font().pixelSize() : QFontInfo(font()).pixelSize();
    for (; pixelSize > kMinimumPixelSize; --pixelSize) {
        const QFontMetrics metrics(withPixelSize(font(), pixelSize));
        int width = 0;
        for (const QString& line : lines)
            width = std::max(width, metrics.tightBoundingRect(line).width());
        const int height = lines.size() == 1 ? metrics.tightBoundingRect(lines.front()).height() : twoLineHeight(metrics, lines, pixelSize);
        if (width <= area.width() && height <= area.height())
            break;
    }
    return pixelSize;
}

void ResultLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!text().isEmpty()) {
        const QStringList shown = lines();
        const QFont font = withPixelSize(this->font(), fittedPixelSize(shown));
        const QFontMetrics metrics(font);
        painter.setFont(font);
        painter.setPen(palette().color(QPalette::WindowText));
        const QPoint centre = inkArea().center();
        if (shown.size() == 1) {
            const QRect ink = metrics.tightBoundingRect(text());
            // The baseline and start that put the ink's own centre on the label's centre.
            painter.drawText(QPoint(centre.x() - ink.width() / 2 - ink.left(), centre.y() - ink.height() / 2 - ink.top()),
                             text());
        } else {
            // The lines a font size apart, the ink of both centred together.
            const int step = font.pixelSize();
            const int top = metrics.tightBoundingRect(shown.front()).top();
            int baseline = centre.y() - twoLineHeight(metrics, shown, step) / 2 - top;
            for (const QString& line : shown) {
                const QRect ink = metrics.tightBoundingRect(line);
                painter.drawText(QPoint(centre.x() - ink.width() / 2 - ink.left(), baseline), line);
                baseline += step;
            }
        }
    }
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace tonarika
