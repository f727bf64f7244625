#pragma once

// own
#include "MidiQueue.h"

// Qt
#include <QObject>
#include <QSocketNotifier>

// std
#include <chrono>

namespace tonarika {

// The keyboard's commands on the window's thread: woken by the queue's descriptor, it
// takes every command waiting and hands each on, unless the player turned MIDI off.
class MidiCommands : public QObject {
    Q_OBJECT
public:
    explicit MidiCommands(MidiQueue& queue, QObject* parent = nullptr);

    void setEnabled(bool enabled) { m_enabled = enabled; }

signals:
    // A key of the twelve, any octave's, and when its message arrived.
    void notePressed(int index, std::chrono::steady_clock::time_point arrived);
    void listenPressed();

private:
    void takeAll();

    MidiQueue& m_queue;
    QSocketNotifier m_notifier;
    bool m_enabled = true;
};

}  // namespace tonarika
