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
// drawn at 48, 64, 128 and 256 pixels.
QIcon programIcon();

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
