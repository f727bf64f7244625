#pragma once

// Qt
#include <QObject>

class QSocketNotifier;

namespace tonarika {

// Delivers SIGTERM, SIGINT and SIGHUP (a logout, a shutdown, Ctrl+C, a closed
// terminal) to the event loop as a Qt signal, so that the program ends the way its
// close box ends it instead of being killed in the middle of whatever it was doing.
// One instance at a time; it puts the default handlers back when destroyed.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

signals:
    void received(int signalNumber);

private:
    void readPipe();

    QSocketNotifier* m_notifier = nullptr;
};

}  // namespace tonarika
