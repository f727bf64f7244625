#include "PitchTestView.h"

// Qt
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

// std
#include <algorithm>

namespace tonarika {

PitchTestView::PitchTestView(QWidget* parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("pitchTestView"));
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    QPalette look = palette();
    look.setColor(QPalette::Window, QColor(Qt::white));
    look.setColor(QPalette::WindowText, QColor(Qt::black));
    setPalette(look);

    m_text = new QLabel;
    m_text->setObjectName(QStringLiteral("pitchTestResult"));
    m_text->setWordWrap(true);
    m_text->setMargin(4);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Read and copied, never edited: no text cursor.
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_text->setFocusPolicy(Qt::StrongFocus);
    m_scroll = new QScrollArea;
    m_scroll->setObjectName(QStringLiteral("pitchTestScroll"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(false);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setWidget(m_text);
    m_scroll->viewport()->setAutoFillBackground(false);

    m_button = new QPushButton;
    m_button->setObjectName(QStringLiteral("pitchTestButton"));
    m_button->setAutoDefault(true);
    connect(m_button, &QPushButton::clicked, this, [this] { emit(m_result ? backAsked() : startAsked()); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(m_scroll, 1);
    layout->addWidget(m_button, 0, Qt::AlignRight);
}

void PitchTestView::showIntro(const QString& text)
{
    m_result = false;
    showText(text, QStringLiteral("Listen"), tr("テストを始める"));
}

void PitchTestView::showResult(const QString& text)
{
    m_result = true;
    showText(text, tr("練習に戻る"), tr("テストを閉じて練習に戻る"));
}

void PitchTestView::showText(const QString& text, const QString& button, const QString& description)
{
    m_text->setText(text);
    m_text->setAccessibleName(text);
    m_button->setText(button);
    m_button->setAccessibleDescription(description);
    m_button->setToolTip(description);
    show();
    raise();
    fitText();
    // The intro is left by its button; the result is read first, and its button is a Tab away.
    if (m_result)
        m_text->setFocus();
    else
        m_button->setFocus();
}

void PitchTestView::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    fitText();
}

void PitchTestView::fitText()
{
    // As tall as its lines at the width left beside the scroll bar, where one is needed.
    layout()->activate();
    int width = m_scroll->width();
    int height = m_text->heightForWidth(width);
    if (height > m_scroll->height()) {
        width -= m_scroll->verticalScrollBar()->sizeHint().width();
        height = m_text->heightForWidth(width);
    }
    m_text->resize(width, std::max(height, m_scroll->height()));
}

}  // namespace tonarika
