#pragma once

// own
#include "Appearance.h"
#include "FocusMarkStyle.h"

// Qt
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QtTest>

// std
#include <functional>
#include <map>
#include <stdexcept>
#include <utility>

namespace tonarika::test {

// Watches for modal windows. One that a test announced with expect() is handed to the
// test's body once it is shown; any other fails the running test at once, naming the
// window, and is closed, so that a test never waits for ever on a box nobody closes.
class ModalGuard : public QObject {
public:
    ModalGuard() { qApp->installEventFilter(this); }

    void expect(std::function<void(QWidget*)> body) { m_expected = std::move(body); }
    bool expecting() const { return bool(m_expected); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() != QEvent::Show || !widget || !widget->isWindow() || !widget->isModal())
            return false;
        QPointer<QWidget> modal(widget);
        // Queued, so that the window is fully shown and its event loop runs.
        QTimer::singleShot(0, widget, [this, modal] {
            if (!modal)
                return;
            if (auto body = std::exchange(m_expected, nullptr)) {
                body(modal);
                return;
            }
            QTest::qFail(qPrintable(QStringLiteral("an unexpected modal window appeared: %1 \"%2\" %3")
                                        .arg(QLatin1String(modal->metaObject()->className()), modal->windowTitle(),
                                             describe(modal))),
                         __FILE__, __LINE__);
            modal->close();
        });
        return false;
    }

private:
    static QString describe(QWidget* modal)
    {
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            return QStringLiteral("saying \"%1\"").arg(box->text());
        return {};
    }

    std::function<void(QWidget*)> m_expected;
};

// The child of `parent` with this object name; a missing one fails the test at once,
// in every build (Q_ASSERT is compiled out of the default one).
template <typename T = QWidget>
T* childNamed(const QObject& parent, const QString& name)
{
    if (T* found = parent.findChild<T*>(name))
        return found;
    const QString message = QStringLiteral("no child named \"%1\" of the kind asked for").arg(name);
    QTest::qFail(qPrintable(message), __FILE__, __LINE__);
    throw std::logic_error(message.toStdString());
}

// White texts on dark grounds, as a dark desktop theme gives them to every program.
inline QPalette darkDesktopPalette()
{
    const QColor ground(0x20, 0x20, 0x20);
    QPalette dark(QColor(0x35, 0x35, 0x35), ground);
    for (const auto role : {QPalette::Window, QPalette::Base, QPalette::AlternateBase, QPalette::ToolTipBase})
        dark.setColor(role, ground);
    for (const auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text, QPalette::ToolTipText,
                            QPalette::HighlightedText, QPalette::PlaceholderText})
        dark.setColor(role, Qt::white);
    return dark;
}

// The application's palette for as long as it lives; the one before comes back after.
class ApplicationPalette {
public:
    explicit ApplicationPalette(const QPalette& palette)
        : m_before(QApplication::palette())
    {
        QApplication::setPalette(palette);
    }
    ~ApplicationPalette() { QApplication::setPalette(m_before); }

private:
    QPalette m_before;
};

// How far the text of a grab stands out from its ground: the contrast between its
// commonest colour and the pixel that differs most from that.
inline double inkContrast(const QImage& image)
{
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    }
    if (counts.empty())
        return 1.0;
    const QColor ground = QColor::fromRgb(
        std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first);
    double best = 1.0;
    for (const auto& [rgb, count] : counts)
        best = std::max(best, contrastRatio(QColor::fromRgb(rgb), ground));
    return best;
}

}  // namespace tonarika::test

// Runs a Qt Test object with the application set up as the program sets it up, in the
// windows' own language: the rate's decimal separator is pinned, whatever the machine's.
inline int runWindowsTest(QObject& test, int argc, char** argv)
{
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    tonarika::registerFontSubstitutions();
    return QTest::qExec(&test, argc, argv);
}
