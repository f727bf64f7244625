#pragma once

// system
#include <sys/types.h>

// std
#include <string>

namespace tonarika::test {

// A JACK server of the test's own: jackd with the dummy backend, under a name no other
// test or player uses, made the default for this process and every child it starts
// (JACK_DEFAULT_SERVER). Stopped when it goes out of scope.
class JackServer {
public:
    explicit JackServer(unsigned frames = 128);
    ~JackServer();
    JackServer(const JackServer&) = delete;
    JackServer& operator=(const JackServer&) = delete;

    // Whether a client could reach it; why not in `failure()`.
    bool running() const { return m_running; }
    const std::string& failure() const { return m_failure; }
    const std::string& name() const { return m_name; }

private:
    // Starts jackd once and waits for it: false where starting again is of no use.
    bool start(unsigned frames);

    std::string m_name;
    std::string m_failure;
    std::string m_log;  // what jackd said
    pid_t m_pid = -1;
    bool m_running = false;
};

}  // namespace tonarika::test
