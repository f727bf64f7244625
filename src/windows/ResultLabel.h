#pragma once

// Qt
#include <QLabel>

namespace tonarika {

// The result label. Its caption is drawn centred by its ink, not by the font's line
// box, and at a smaller size only where the ink would not fit inside the border at the
// designed size: the substitutes for the designed face have taller line boxes than
// it, and would cut the bottom of every caption. The single-line border keeps the
// system's button-text colour whatever colour the text takes.
class ResultLabel : public QLabel {
    Q_OBJECT
public:
    explicit ResultLabel(QWidget* parent = nullptr);

    // The pixel size the caption is drawn at: the designed one, or less where needed.
    int fittedPixelSize() const;
    // The lines it is drawn in: one, or its two parts either side of " — ".
    QStringList lines() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect inkArea() const;
    int fittedPixelSize(const QStringList& lines) const;
};

}  // namespace tonarika
