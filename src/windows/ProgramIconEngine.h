#pragma once

// Qt
#include <QIconEngine>

namespace tonarika {

// The program icon, drawn at the size asked for rather than held at every size: the
// pixel images at 16 and 32 pixels (scaled down from the nearest larger one in between),
// the scalable art at any larger size. The window system asks for each size once, when
// the window is made; nothing stays in memory after.
class ProgramIconEngine : public QIconEngine {
public:
    // The sizes it offers: the pixel images', then the art's.
    static const QList<QSize>& sizes();

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QIconEngine* clone() const override;
    QString key() const override;
};

}  // namespace tonarika
