#include "Appearance.h"

// Qt
#include <QApplication>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QStyle>
#include <QSvgRenderer>
#include <QWidget>

namespace tonarika {

void registerFontSubstitutions()
{
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"),
                               {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
    QFont::insertSubstitution(QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue"));
}

QIcon programIcon()
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/tonarika-32.xpm"), QSize(32, 32));
    icon.addFile(QStringLiteral(":/icons/tonarika-16.xpm"), QSize(16, 16));
    // The larger sizes, for taskbars, switchers and high-density screens, from the
    // scalable art rather than from the 32-pixel image blown up.
    QSvgRenderer art(QStringLiteral(":/icons/tonarika.svg"));
    for (const int size : {48, 64, 128, 256}) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        art.render(&painter);
        painter.end();
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
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

void centreOnScreen(QWidget& widget)
{
    if (const QScreen* screen = widget.screen()) {
        QRect frame = widget.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        widget.move(frame.topLeft());
    }
}

}  // namespace tonarika
