#include "GameContext.h"

// own
#include "Note.h"

namespace tonarika {

GameContext::GameContext(Display& display, Player& player_, RandomSource& random_, Journal& journal_,
                         const GameClock& clock_, std::string decimalSeparator)
    : view(display, std::move(decimalSeparator))
    , player(player_)
    , random(random_)
    , journal(journal_)
    , clock(clock_)
{
}

QuestionSettings GameContext::settings() const
{
    return settingsSource ? settingsSource->questionSettings() : QuestionSettings{};
}

Player::Ticket GameContext::play(const NoteSound& sound, int a4, std::vector<double> guardTones)
{
    const SoundRequest request = requestFor(sound, a4, std::move(guardTones));
    wavFile = request.file;
    noteName = kNoteTable.at(sound.note).noteName;
    return player.play(request);
}

void GameContext::record(const Trial& trial)
{
    try {
        journal.record(trial);
    } catch (...) {
        // Losing one row must never stop the game.
    }
    if (listener)
        listener->answered(trial);
}

SoundRequest requestFor(const NoteSound& sound, int a4, std::vector<double> guardTones)
{
    SoundRequest request;
    request.file = noteSoundFile(sound);
    if (sound.timbre == Timbre::Sine)
        request.hz = noteSoundHz(sound, a4);
    else if (request.file != kNoteTable.at(sound.note).wavFile)
        request.standIn = kNoteTable.at(sound.note).wavFile;
    request.guardTones = std::move(guardTones);
    request.a4 = a4;
    return request;
}

}  // namespace tonarika
