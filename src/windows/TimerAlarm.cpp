#include "TimerAlarm.h"

namespace tonarika {

TimerAlarm::TimerAlarm()
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        // The ring may set the alarm again.
        const auto ring = std::exchange(m_ring, nullptr);
        if (ring)
            ring();
    });
}

void TimerAlarm::ringAt(std::chrono::steady_clock::time_point when, std::function<void()> ring)
{
    m_ring = std::move(ring);
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(when - std::chrono::steady_clock::now());
    m_timer.start(std::max(wait, std::chrono::milliseconds(0)));
}

}  // namespace tonarika
