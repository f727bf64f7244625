#include "TerminationSignals.h"

// Qt
#include <QSocketNotifier>

// system
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

// std
#include <csignal>
#include <initializer_list>

namespace tonarika {

namespace {

constexpr std::initializer_list<int> kSignals{SIGTERM, SIGINT, SIGHUP};

// A signal handler may do next to nothing: it only writes the signal's number to a
// socket, which the event loop watches.
int pipeEnds[2] = {-1, -1};

void onSignal(int signalNumber)
{
    const char byte = static_cast<char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[0], &byte, 1);
}

}  // namespace

TerminationSignals::TerminationSignals(QObject* parent)
    : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pipeEnds) != 0)
        return;
    ::fcntl(pipeEnds[0], F_SETFL, O_NONBLOCK);
    m_notifier = new QSocketNotifier(pipeEnds[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readPipe);

    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : kSignals)
        ::sigaction(signalNumber, &action, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    for (const int signalNumber : kSignals)
        ::signal(signalNumber, SIG_DFL);
    delete m_notifier;
    for (int& end : pipeEnds) {
        if (end >= 0)
            ::close(end);
        end = -1;
    }
}

void TerminationSignals::readPipe()
{
    char byte = 0;
    if (::read(pipeEnds[1], &byte, 1) == 1)
        emit received(byte);
}

}  // namespace tonarika
