#pragma once

// own
#include "Alarm.h"

// Qt
#include <QTimer>

namespace tonarika {

// The alarm on the window's event loop: one precise single-shot timer.
class TimerAlarm : public Alarm {
public:
    TimerAlarm();
    void ringAt(std::chrono::steady_clock::time_point when, std::function<void()> ring) override;

private:
    QTimer m_timer;
    std::function<void()> m_ring;
};

}  // namespace tonarika
