#include "JackServer.h"

// system
#include <jack/jack.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

// std
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

namespace tonarika::test {

namespace {

// Whether any JACK server runs on the machine, a player's or another test's.
bool anyJackServer()
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        std::ifstream comm(entry.path() / "comm");
        std::string name;
        if (std::getline(comm, name) && (name == "jackd" || name == "jackdbus"))
            return true;
    }
    return false;
}

// jackd2 keeps eight servers' places in shared memory and gives back the place of a
// server that died without its end (killed outright, its machine's session cut off) only
// to a server of the same name; once eight such are left, no server starts until the
// machine restarts. Where no server runs at all, every place left there is stale.
bool clearStaleServerPlaces()
{
    if (anyJackServer())
        return false;
    std::error_code error;
    bool cleared = false;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/shm", error)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("jack-") || name.starts_with("jack_sem.") || name.starts_with("jack_db-"))
            cleared = std::filesystem::remove(entry.path(), error) || cleared;
    }
    return cleared;
}

}  // namespace

JackServer::JackServer(unsigned frames)
    : m_name("tonarika-test-" + std::to_string(::getpid()) + "-" + std::to_string(frames))
{
    ::setenv("JACK_DEFAULT_SERVER", m_name.c_str(), 1);
    // No D-Bus device reservation: there is no device, and maybe no bus.
    ::setenv("JACK_NO_AUDIO_RESERVATION", "1", 1);
    jack_set_error_function([](const char*) {});
    jack_set_info_function([](const char*) {});
    // jackd2 runs at most eight servers on a machine: where other tests hold them all, it
    // ends as it starts, and is started again once one of theirs may have ended.
    for (int attempt = 0; attempt < 10 && !m_running; ++attempt) {
        if (attempt > 0)
            std::this_thread::sleep_for(std::chrono::seconds(2));
        if (!start(frames))
            break;
    }
}

bool JackServer::start(unsigned frames)
{
    const std::string period = std::to_string(frames);
    std::vector<std::string> args{"jackd", "-n", m_name, "--no-realtime", "-t", "10000", "-d", "dummy", "-r", "48000", "-p", period, "-C", "0", "-P", "0"};
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    // Its chatter (xruns of the dummy clock on a busy machine) goes to a file of its own,
    // read only to say why it ended.
    if (!m_log.empty())
        ::unlink(m_log.c_str());
    char log[] = "/tmp/tonarika-jackd-XXXXXX";
    const int logFile = ::mkstemp(log);
    m_log = log;
    const pid_t parent = ::getpid();
    m_pid = ::fork();
    if (m_pid == 0) {
        // It ends with the test, even one that crashes, so that it never holds a server's
        // place on the machine.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent)
            ::_exit(1);
        ::dup2(logFile, STDOUT_FILENO);
        ::dup2(logFile, STDERR_FILENO);
        ::execvp("jackd", argv.data());
        ::_exit(127);
    }
    ::close(logFile);
    if (m_pid < 0) {
        m_failure = "jackd could not be started";
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        if (jack_client_t* client = jack_client_open("probe", JackNoStartServer, nullptr)) {
            jack_client_close(client);
            m_running = true;
            return true;
        }
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            std::ifstream said(m_log);
            std::string first;
            std::getline(said, first);
            m_failure = "jackd ended as it started (is jackd2 installed?): " + first;
            // Every place taken by servers long dead: free them, and start at once.
            if (first.find("Too many servers already active") != std::string::npos && clearStaleServerPlaces())
                return start(frames);
            // Not installed at all: no use trying again.
            return WIFEXITED(status) && WEXITSTATUS(status) != 127;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    m_failure = "jackd took no client within ten seconds";
    return false;
}

JackServer::~JackServer()
{
    if (m_pid > 0) {
        ::kill(m_pid, SIGTERM);
        ::waitpid(m_pid, nullptr, 0);
    }
    ::unsetenv("JACK_DEFAULT_SERVER");
    ::unlink(m_log.c_str());
}

}  // namespace tonarika::test
