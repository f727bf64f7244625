#include "ProgramIconEngine.h"

// Qt
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>

// std
#include <algorithm>

namespace tonarika {

const QList<QSize>& ProgramIconEngine::sizes()
{
    static const QList<QSize> all{{16, 16}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}};
    return all;
}

void ProgramIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state)
{
    painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
}

QPixmap ProgramIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state)
{
    Q_UNUSED(state);
    const int side = std::min(size.width(), size.height());
    if (side <= 0)
        return {};
    QPixmap drawn;
    if (side <= 32) {
        const int pixels = side <= 16 ? 16 : 32;
        drawn = QPixmap(QStringLiteral(":/icons/tonarika-%1.xpm").arg(pixels));
        if (side != pixels)
            drawn = drawn.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    } else {
        QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        QSvgRenderer(QStringLiteral(":/icons/tonarika.svg")).render(&painter);
        painter.end();
        drawn = QPixmap::fromImage(image);
    }
    if (mode == QIcon::Normal || !qApp)
        return drawn;
    // Disabled and selected looks as the style makes them for any icon.
    QStyleOption option;
    option.palette = QApplication::palette();
    return QApplication::style()->generatedIconPixmap(mode, drawn, &option);
}

QList<QSize> ProgramIconEngine::availableSizes(QIcon::Mode mode, QIcon::State state)
{
    Q_UNUSED(mode);
    Q_UNUSED(state);
    return sizes();
}

QIconEngine* ProgramIconEngine::clone() const
{
    return new ProgramIconEngine;
}

QString ProgramIconEngine::key() const
{
    return QStringLiteral("tonarika-program");
}

}  // namespace tonarika
