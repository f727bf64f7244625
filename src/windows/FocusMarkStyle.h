#pragma once

// Qt
#include <QProxyStyle>

namespace tonarika {

// Draws a focus mark on a push button that a player sees at a glance, on a white key
// and on a black key alike: an outline two pixels wide inside the button's edge, in the
// highlight colour, drawn over the button without changing its colours or geometry.
class FocusMarkStyle : public QProxyStyle {
    Q_OBJECT
public:
    explicit FocusMarkStyle(const QString& baseStyle);

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;

    // The mark's colour: the palette's highlight, unless it stands out less than 3:1
    // from white or from black, in which case a blue that stands out from both.
    static QColor markColour(const QPalette& palette);
    static constexpr int kMarkWidth = 2;
};

// The contrast ratio of two colours, 1 to 21, as the WCAG define it.
double contrastRatio(const QColor& a, const QColor& b);

}  // namespace tonarika
