#include "Appearance.h"

// own
#include "ProgramIconEngine.h"

// Qt
#include <QApplication>
#include <QFile>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QStyle>
#include <QSvgRenderer>
#include <QWidget>

namespace tonarika {

namespace {

const QString kArt = QStringLiteral(":/icons/tonarika.svg");
// The window's own colour, with a darker edge that keeps its shape on a white panel.
const QColor kBackdrop(0xC0, 0xC0, 0xFF);
const QColor kBackdropEdge(0x70, 0x70, 0xB0);

// The pixel image without the grey pixels that end its staff lines: a row whose ink runs
// across most of the image is a staff line, and its first and last pixels go if grey.
QImage withoutGreyLineEnds(QImage image)
{
    const QRgb grey = qRgb(0x80, 0x80, 0x80);
    for (int y = 0; y < image.height(); ++y) {
        int first = -1, last = -1;
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) > 0) {
                first = first < 0 ? x : first;
                last = x;
            }
        }
        if (first < 0 || last - first + 1 < image.width() * 3 / 4)
            continue;
        for (const int x : {first, last}) {
            if ((image.pixel(x, y) & RGB_MASK) == (grey & RGB_MASK))
                image.setPixel(x, y, qRgba(0, 0, 0, 0));
        }
    }
    return image;
}

}  // namespace

void registerFontSubstitutions()
{
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"),
                               {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
    QFont::insertSubstitution(QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue"));
}

QIcon programIcon()
{
    return QIcon(new ProgramIconEngine);
}

QPalette lightPalette()
{
    return QApplication::style()->standardPalette();
}

void useLightPalette(QWidget& window)
{
    const QPalette light = lightPalette();
    // Parents come before their children. A widget keeps the colours it sets itself and
    // takes the rest where Qt would have in the light scheme: from its parent, or, for a
    // window of its own (a menu) and a widget with a style sheet, from the application.
    auto widgets = window.findChildren<QWidget*>();
    widgets.prepend(&window);
    for (QWidget* widget : widgets) {
        const bool inherits = !widget->isWindow() && !widget->testAttribute(Qt::WA_StyleSheet);
        const QWidget* parent = inherits ? widget->parentWidget() : nullptr;
        QPalette own = widget->palette().resolve(parent ? parent->palette() : light);
        // Every role set here, so that none is taken from the desktop's palette.
        own.setResolveMask(~QPalette::ResolveMask(0));
        widget->setPalette(own);
    }
}

QImage themeIconImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    if (size == 16 || size == 32) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(kBackdropEdge, 1.0));
        painter.setBrush(kBackdrop);
        const qreal radius = size * 5 / 32.0;
        painter.drawRoundedRect(QRectF(0.5, 0.5, size - 1.0, size - 1.0), radius, radius);
        const QImage pixels(QStringLiteral(":/icons/tonarika-%1.xpm").arg(size));
        painter.drawImage(0, 0, withoutGreyLineEnds(pixels.convertToFormat(QImage::Format_ARGB32)));
    } else {
        QSvgRenderer(themeIconSvg()).render(&painter);
    }
    painter.end();
    return image;
}

QByteArray themeIconSvg()
{
    QFile file(kArt);
    file.open(QIODevice::ReadOnly);
    QByteArray svg = file.readAll();
    // The backdrop comes first, under the art, on the art's 32-unit grid.
    const QByteArray backdrop =
        QStringLiteral("  <rect x=\"0.5\" y=\"0.5\" width=\"31\" height=\"31\" rx=\"5\" fill=\"%1\" stroke=\"%2\"/>\n")
            .arg(kBackdrop.name(), kBackdropEdge.name())
            .toUtf8();
    const QByteArray title = "</title>\n";
    svg.insert(svg.indexOf(title) + title.size(), backdrop);
    return svg;
}

void centreOnScreen(QWidget& widget)
{
    if (const QScreen* screen = widget.screen()) {
        QRect frame = widget.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        widget.move(frame.topLeft());
    }
}

}  // namespace tonarika
