#include "Appearance.h"

// Qt
#include <QFont>
#include <QScreen>
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
    return icon;
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
