#pragma once

// Qt
#include <QIcon>
#include <QPalette>

class QWidget;

namespace tonarika {

// Draws the designs' Windows faces with fonts a Debian desktop has:
// "ＭＳ Ｐゴシック" with IPAPGothic or Noto Sans CJK JP, "Comic Sans MS" with Comic Neue.
void registerFontSubstitutions();

// The program icon: the 32 x 32 and 16 x 16 pixel images, and the scalable art
// at 48, 64, 128 and 256 pixels, each drawn when asked for.
QIcon programIcon();

// The sizes the desktop's icon theme gets: the pixel images', then the art's.
inline constexpr int kThemeIconSizes[] = {16, 32, 48, 64, 128, 256};

// The program icon as the desktop's icon theme gets it, for menus and panels: the same
// staff and notes on a light rounded backdrop, so that it reads on a dark panel as on a
// light one. At 16 and 32 pixels the pixel images, without the grey pixels that end
// their staff lines; larger, the art.
QImage themeIconImage(int size);

// The scalable art of the theme icon: the program's art over the same backdrop.
QByteArray themeIconSvg();

// The palette every window of the game and of its companion keeps, whatever the
// desktop's: the style's own light one. The designs paint their grounds in fixed light
// colours and leave their texts to the "system" colours, which are black only there.
QPalette lightPalette();

// Gives a window and every widget in it the light palette, also those that would not
// inherit it from the window (a widget with a style sheet, a popup menu). The colours
// a widget sets itself, a key's or the result label's, are kept.
void useLightPalette(QWidget& window);

// Places a top-level widget in the middle of its screen's available area.
void centreOnScreen(QWidget& widget);

}  // namespace tonarika
