#include "ModulePlayer.h"

// own
#include "SoundModule.h"

// Qt
#include <QLoggingCategory>

// system
#include <dlfcn.h>

// std
#include <system_error>

namespace tonarika {

namespace {

Q_LOGGING_CATEGORY(lcSound, "tonarika.sound", QtWarningMsg)

}  // namespace

ModulePlayer::ModulePlayer(std::vector<std::filesystem::path> modules, std::vector<std::filesystem::path> folders,
                           std::vector<std::string> notes, std::function<void()> alert)
    : m_modules(std::move(modules))
    , m_folders(std::move(folders))
    , m_notes(std::move(notes))
    , m_alert(std::move(alert))
{
}

ModulePlayer::~ModulePlayer()
{
    if (m_player)
        m_destroy(m_player);
    // The module stays loaded: the audio thread it started may still be winding down.
}

void ModulePlayer::start()
{
    if (m_started)
        return;
    m_started = true;
    for (const auto& module : m_modules) {
        std::error_code error;
        if (!std::filesystem::exists(module, error))
            continue;
        m_library = ::dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!m_library) {
            qCWarning(lcSound, "no notes: the sound module cannot be loaded, and every note sounds the alert: %s",
                      ::dlerror());
            return;
        }
        const auto create = reinterpret_cast<CreatePlayer>(::dlsym(m_library, "tonarikaCreatePlayer"));
        m_destroy = reinterpret_cast<DestroyPlayer>(::dlsym(m_library, "tonarikaDestroyPlayer"));
        if (!create || !m_destroy) {
            qCWarning(lcSound, "no notes: %s is no sound module of this program, and every note sounds the alert",
                      module.c_str());
            return;
        }
        m_player = create(m_folders, m_notes);
        // What was prepared before the module was there is loaded now.
        if (m_prepared)
            m_player->prepare(*m_prepared);
        m_prepared.reset();
        return;
    }
    qCWarning(lcSound, "no notes: the sound module tonarika-sound.so is neither beside the program nor installed, "
                       "and every note sounds the alert");
}

Player::Ticket ModulePlayer::play(const SoundRequest& request)
{
    start();
    if (m_player)
        return m_player->play(request);
    // The wave files are there: what is missing is the player, and the warning about
    // missing wave files would send the player looking in the wrong place.
    if (m_alert)
        m_alert();
    const Ticket ticket = ++m_lastAlert;
    m_alerts.erase(m_alerts.begin(), m_alerts.lower_bound(ticket - std::min<Ticket>(ticket, 64)));
    m_alerts[ticket] = std::chrono::steady_clock::now();
    return ticket;
}

void ModulePlayer::prepare(const SoundRequest& request)
{
    if (m_player)
        m_player->prepare(request);
    else if (!m_started)
        m_prepared = request;
}

Playback ModulePlayer::playback(Ticket ticket) const
{
    if (m_player)
        return m_player->playback(ticket);
    const auto alert = m_alerts.find(ticket);
    return alert == m_alerts.end() ? Playback{} : Playback{Playback::State::Alert, alert->second};
}

}  // namespace tonarika
