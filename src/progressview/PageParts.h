#pragma once

// Qt
#include <QString>

class QLabel;
class QScrollArea;
class QStackedWidget;
class QWidget;

namespace tonarika {

// What the companion's pages are built of alike.

// `content` in a frameless scroll area: however small the window, all of it can be
// scrolled to.
QScrollArea* scrolling(QWidget* content);
// The words a page shows while it has nothing to show, centred and wrapped.
QLabel* emptyNote(const QString& text, const QString& name);
// The page, or in its place its empty note: the note shown first.
QStackedWidget* pageOrEmpty(QWidget* page, QLabel* empty);
// What an option does, in a line of plain text to go under it: the option's tool tip and
// its description for screen readers too.
QLabel* explanation(QWidget* option, const QString& text);

}  // namespace tonarika
