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
                           std::vector<std::string> notes)
    : m_modules(std::move(modules))
    , m_folders(std::move(folders))
    , m_notes(std::move(notes))
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
            qCWarning(lcSound, "no sound: the sound module cannot be loaded: %s", ::dlerror());
            return;
        }
        const auto create = reinterpret_cast<CreatePlayer>(::dlsym(m_library, "tonarikaCreatePlayer"));
        m_destroy = reinterpret_cast<DestroyPlayer>(::dlsym(m_library, "tonarikaDestroyPlayer"));
        if (!create || !m_destroy) {
            qCWarning(lcSound, "no sound: %s is no sound module of this program", module.c_str());
            return;
        }
        m_player = create(m_folders, m_notes);
        return;
    }
    qCWarning(lcSound, "no sound: the sound module tonarika-sound.so is neither beside the program nor installed");
}

Player::Ticket ModulePlayer::play(std::string_view wavFile)
{
    start();
    if (!m_player)
        throw SoundError("no sound module");
    return m_player->play(wavFile);
}

Playback ModulePlayer::playback(Ticket ticket) const
{
    return m_player ? m_player->playback(ticket) : Playback{};
}

}  // namespace tonarika
