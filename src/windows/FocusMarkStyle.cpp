#include "FocusMarkStyle.h"

// Qt
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>

// std
#include <algorithm>
#include <cmath>

namespace tonarika {

namespace {

double relativeLuminance(const QColor& colour)
{
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

}  // namespace

double contrastRatio(const QColor& a, const QColor& b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

FocusMarkStyle::FocusMarkStyle(const QString& baseStyle)
    : QProxyStyle(QStyleFactory::create(baseStyle))
{
}

QColor FocusMarkStyle::markColour(const QPalette& palette)
{
    const QColor highlight = palette.color(QPalette::Active, QPalette::Highlight);
    const auto standsOut = [](const QColor& colour) {
        return contrastRatio(colour, Qt::white) >= 3.0 && contrastRatio(colour, Qt::black) >= 3.0;
    };
    return standsOut(highlight) ? highlight : QColor(0x30, 0x8C, 0xC6);
}

void FocusMarkStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                 const QWidget* widget) const
{
    const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
    if (element != CE_PushButton || !button || !(option->state & State_HasFocus)) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    // The base style's own focus look tints the face, and so does its look of the
    // default button, which a focused auto-default button becomes; the key keeps its
    // colour instead, and the mark alone shows the focus.
    QStyleOptionButton unfocused(*button);
    unfocused.state &= ~State_HasFocus;
    unfocused.features &= ~QStyleOptionButton::DefaultButton;
    QProxyStyle::drawControl(element, &unfocused, painter, widget);
    // Four bands just inside the button's one-pixel edge.
    const QColor colour = markColour(option->palette);
    const QRect r = option->rect.adjusted(1, 1, -1, -1);
    painter->fillRect(QRect(r.left(), r.top(), r.width(), kMarkWidth), colour);
    painter->fillRect(QRect(r.left(), r.bottom() - kMarkWidth + 1, r.width(), kMarkWidth), colour);
    painter->fillRect(QRect(r.left(), r.top(), kMarkWidth, r.height()), colour);
    painter->fillRect(QRect(r.right() - kMarkWidth + 1, r.top(), kMarkWidth, r.height()), colour);
}

}  // namespace tonarika
