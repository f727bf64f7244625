#include "JackServer.h"

// system
#include <jack/jack.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

// std
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

extern char** environ;

namespace tonarika::test {

JackServer::JackServer(unsigned frames)
    : m_name("tonarika-test-" + std::to_string(::getpid()) + "-" + std::to_string(frames))
{
    ::setenv("JACK_DEFAULT_SERVER", m_name.c_str(), 1);
    // No D-Bus device reservation: there is no device, and maybe no bus.
    ::setenv("JACK_NO_AUDIO_RESERVATION", "1", 1);
    const std::string period = std::to_string(frames);
    std::vector<std::string> args{"jackd", "-n", m_name, "--no-realtime", "-t", "10000", "-d", "dummy", "-r", "48000", "-p", period, "-C", "0", "-P", "0"};
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // Its chatter (xruns of the dummy clock on a busy machine) is not the test's.
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const int spawned = posix_spawnp(&m_pid, "jackd", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        m_pid = -1;
        m_failure = "jackd could not be started (is jackd2 installed?)";
        return;
    }
    jack_set_error_function([](const char*) {});
    jack_set_info_function([](const char*) {});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        if (jack_client_t* client = jack_client_open("probe", JackNoStartServer, nullptr)) {
            jack_client_close(client);
            m_running = true;
            return;
        }
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            m_failure = "jackd ended as it started";
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    m_failure = "jackd took no client within ten seconds";
}

JackServer::~JackServer()
{
    if (m_pid > 0) {
        ::kill(m_pid, SIGTERM);
        ::waitpid(m_pid, nullptr, 0);
    }
    ::unsetenv("JACK_DEFAULT_SERVER");
}

}  // namespace tonarika::test
