#pragma once

// own
#include "Appearance.h"
#include "FocusMarkStyle.h"

// Qt
#include <QApplication>
#include <QAction>
#include <QTableWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QLabel>
#include <QRegularExpression>
#include <QGroupBox>
#include <QFile>
#include <QComboBox>
#include <QAbstractButton>
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
#include <vector>

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

// Every text a window shows or gives a screen reader, one line each, sorted: its title,
// each widget's text, title, tool tip, accessible name and description, a combo box's
// items, a tab's text, a table's headers, and each action's text and tool tip. Widgets
// whose text tells of the machine or the build (`skip`, by object name) are left out, and
// each of `stand` reads as what it stands for ("<folder>"), so that the list is the same
// on every machine.
inline QStringList windowTexts(QWidget& top, const QStringList& skip = {},
                               const std::vector<std::pair<QString, QString>>& stand = {})
{
    QStringList lines;
    const auto add = [&](const char* what, QString text) {
        if (text.isEmpty())
            return;
        for (const auto& [particular, standIn] : stand)
            text.replace(particular, standIn);
        lines << QStringLiteral("%1: %2").arg(QLatin1String(what), text.replace(u'\n', QStringLiteral("\\n")));
    };
    add("title", top.windowTitle());
    QList<QWidget*> widgets = top.findChildren<QWidget*>();
    widgets.prepend(&top);
    for (QWidget* widget : widgets) {
        // A tab bar's scroll buttons are Qt's, named in whatever language Qt's texts are in.
        bool skipped = qobject_cast<QTabBar*>(widget->parentWidget()) != nullptr;
        for (QWidget* up = widget; up && !skipped; up = up->parentWidget())
            skipped = skip.contains(up->objectName());
        if (skipped)
            continue;
        if (auto* label = qobject_cast<QLabel*>(widget))
            add("label", label->text());
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            add("button", button->text());
        if (auto* group = qobject_cast<QGroupBox*>(widget))
            add("group", group->title());
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            for (int i = 0; i < combo->count(); ++i)
                add("item", combo->itemText(i));
        }
        if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
            for (int i = 0; i < tabs->count(); ++i)
                add("tab", tabs->tabText(i));
        }
        if (auto* table = qobject_cast<QTableWidget*>(widget)) {
            for (int i = 0; i < table->columnCount(); ++i)
                add("column", table->horizontalHeaderItem(i) ? table->horizontalHeaderItem(i)->text() : QString());
            for (int i = 0; i < table->rowCount(); ++i)
                add("row", table->verticalHeaderItem(i) ? table->verticalHeaderItem(i)->text() : QString());
        }
        add("tool tip", widget->toolTip());
        add("accessible name", widget->accessibleName());
        add("accessible description", widget->accessibleDescription());
    }
    for (QAction* action : top.findChildren<QAction*>()) {
        add("action", action->text());
        add("action tool tip", action->toolTip() == QString(action->text()).remove(u'&') ? QString() : action->toolTip());
    }
    lines.sort();
    return lines;
}

// The texts that hold a Japanese character: kana, kanji, or a full-width form.
inline QStringList japaneseTexts(const QStringList& texts)
{
    static const QRegularExpression japanese(QStringLiteral("[\\x{3000}-\\x{30FF}\\x{3400}-\\x{9FFF}\\x{FF00}-\\x{FFEF}]"));
    return texts.filter(japanese);
}

// Compares `texts` with the list kept in tests/data/`name`; with TONARIKA_WRITE_TEXTS set
// to a folder, writes the list there instead, for a change that means to change them.
inline bool sameTexts(const QStringList& texts, const QString& name, QString* difference)
{
    if (const QString out = qEnvironmentVariable("TONARIKA_WRITE_TEXTS"); !out.isEmpty()) {
        QFile file(out + u'/' + name);
        return file.open(QIODevice::WriteOnly) && file.write((texts.join(u'\n') + u'\n').toUtf8()) > 0;
    }
    QFile file(QStringLiteral(TONARIKA_TEST_DATA "/") + name);
    if (!file.open(QIODevice::ReadOnly)) {
        *difference = QStringLiteral("no list ") + file.fileName();
        return false;
    }
    const QStringList kept = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    QStringList gone, come;
    for (const QString& line : kept) {
        if (!texts.contains(line))
            gone << line;
    }
    for (const QString& line : texts) {
        if (!kept.contains(line))
            come << line;
    }
    *difference = QStringLiteral("gone: %1\nnew: %2").arg(gone.join(QStringLiteral(" | ")), come.join(QStringLiteral(" | ")));
    return gone.isEmpty() && come.isEmpty();
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
