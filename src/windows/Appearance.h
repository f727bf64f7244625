#pragma once

// Qt
#include <QIcon>

class QWidget;

namespace tonarika {

// Draws the designs' Windows faces with fonts a Debian desktop has:
// "ＭＳ Ｐゴシック" with IPAPGothic or Noto Sans CJK JP, "Comic Sans MS" with Comic Neue.
void registerFontSubstitutions();

// The program icon: the 32 x 32 and 16 x 16 pixel images, and the scalable art
// drawn at 48, 64, 128 and 256 pixels.
QIcon programIcon();

// Places a top-level widget in the middle of its screen's available area.
void centreOnScreen(QWidget& widget);

}  // namespace tonarika
