#pragma once

// Qt
#include <QFrame>

class QLabel;
class QPushButton;
class QScrollArea;

namespace tonarika {

// The test's own view over the main window's keys and labels: what the test is before its
// first item, with a Listen of its own that starts it, and at the end its result, which
// can be read and selected but not edited, with a way back to practice. Its text scrolls
// where the window's fixed size is too small for it.
class PitchTestView : public QFrame {
    Q_OBJECT
public:
    explicit PitchTestView(QWidget* parent);

    void showIntro(const QString& text);
    void showResult(const QString& text);

    QLabel* text() const { return m_text; }
    QPushButton* button() const { return m_button; }

signals:
    void startAsked();
    void backAsked();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitText();
    void showText(const QString& text, const QString& button, const QString& description);

    QScrollArea* m_scroll = nullptr;
    QLabel* m_text = nullptr;
    QPushButton* m_button = nullptr;
    bool m_result = false;
};

}  // namespace tonarika
