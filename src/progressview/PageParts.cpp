#include "PageParts.h"

// Qt
#include <QLabel>
#include <QScrollArea>
#include <QStackedWidget>

namespace tonarika {

QScrollArea* scrolling(QWidget* content)
{
    auto* scroll = new QScrollArea;
    scroll->setWidget(content);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    return scroll;
}

QLabel* emptyNote(const QString& text, const QString& name)
{
    auto* note = new QLabel(text);
    note->setObjectName(name);
    note->setWordWrap(true);
    note->setAlignment(Qt::AlignCenter);
    note->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return note;
}

QStackedWidget* pageOrEmpty(QWidget* page, QLabel* empty)
{
    auto* stack = new QStackedWidget;
    stack->addWidget(page);
    stack->addWidget(empty);
    stack->setCurrentWidget(empty);
    return stack;
}

QLabel* explanation(QWidget* option, const QString& text)
{
    option->setToolTip(text);
    option->setAccessibleDescription(text);
    auto* line = new QLabel(text);
    line->setObjectName(QStringLiteral("explain_") + option->objectName());
    line->setWordWrap(true);
    line->setContentsMargins(24, 0, 0, 4);
    line->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return line;
}

}  // namespace tonarika
