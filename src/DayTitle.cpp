#include "DayTitle.h"

// own
#include "AnswerHistory.h"
#include "DailyRules.h"
#include "TranslatedWording.h"
#include "Form1.h"
#include "SettingsWatcher.h"

namespace tonarika {

DayTitle::DayTitle(Form1& window, AnswerHistory& history, const SettingsWatcher& settings)
    : m_window(window)
    , m_history(history)
    , m_settings(settings)
{
    // The reading thread tells too: the title is set on the window's thread alone.
    m_history.setOnChange([this] { QMetaObject::invokeMethod(this, &DayTitle::update, Qt::QueuedConnection); });
    connect(&settings, &SettingsWatcher::changed, this, &DayTitle::update);
    m_minute.setInterval(30'000);
    connect(&m_minute, &QTimer::timeout, this, &DayTitle::update);
    update();
}

DayTitle::~DayTitle()
{
    m_history.setOnChange({});
}

void DayTitle::update()
{
    const int goal = m_settings.reading().daily.goalMinutes;
    if (goal <= 0) {
        m_minute.stop();
        m_window.setDayText({});
        return;
    }
    if (!m_minute.isActive())
        m_minute.start();
    // Until the journal has been read the day's count is not known, and the title waits.
    const auto practised = m_history.practisedTodayMs();
    m_window.setDayText(practised ? QString::fromStdString(goalText(*practised, goal, TranslatedWording())) : QString());
}

}  // namespace tonarika
