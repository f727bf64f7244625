#include "QuestionDrawer.h"

// own
#include "GameContext.h"
#include "Rules.h"
#include "SoundRules.h"

namespace tonarika {

namespace {

std::size_t modeSlot(Mode mode)
{
    return mode == Mode::Easy ? 0 : 1;
}

}  // namespace

QuestionDrawer::QuestionDrawer(RandomSource& random, Player& player)
    : m_random(random)
    , m_player(player)
{
}

NoteSet QuestionDrawer::askedNotes(Mode mode, const QuestionSettings& settings) const
{
    const NoteSet all = NoteSet::ofMode(mode);
    switch (settings.notes) {
    case NoteChoice::All:
        return all;
    case NoteChoice::Chosen: {
        const NoteSet chosen = settings.chosen.within(all);
        return chosen.size() >= 2 ? chosen : all;
    }
    case NoteChoice::Growing: {
        const auto learned = m_learned ? m_learned->learnedNotes(mode) : std::nullopt;
        return growingSet(mode, learned.value_or(NoteSet()));
    }
    }
    return all;
}

void QuestionDrawer::followGrowingSet(Mode mode, const QuestionSettings& settings)
{
    if (settings.notes != NoteChoice::Growing || !m_learned)
        return;
    // Until the journal has been read, no note can be said to join.
    const auto learned = m_learned->learnedNotes(mode);
    if (!learned)
        return;
    const NoteSet now = growingSet(mode, *learned);
    auto& before = m_growing[modeSlot(mode)];
    if (before && now != *before) {
        for (int i = NoteSet::ofMode(mode).size(); i-- > 0;) {
            const NoteIndex note = kGrowingOrder[std::size_t(i)];
            if (now.contains(note) && !before->contains(note)) {
                m_joined = note;
                m_introduced = false;
                break;
            }
        }
    }
    before = now;
}

Question QuestionDrawer::next(Mode mode, const QuestionSettings& settings, std::uint32_t number)
{
    const bool stands = m_next && m_next->settings == settings && m_next->mode == mode
                        && m_next->notes == askedNotes(mode, settings) && !m_joined;
    return stands ? m_next->question : draw(mode, settings, number);
}

void QuestionDrawer::asked(const Question& question)
{
    m_next.reset();
    if (m_joined && question.sound.note == *m_joined) {
        m_joined.reset();
        m_introduced = false;
    }
    m_prevNote = question.sound.note;
    m_prevTimbre = question.sound.timbre;
    m_prevKey = midiKey(question.sound);
}

std::optional<std::uint32_t> QuestionDrawer::windowFor(Mode mode, const QuestionSettings& settings) const
{
    int learned = 0;
    if (settings.answerWindow.kind == AnswerWindow::Kind::Adaptive && m_learned) {
        if (const auto notes = m_learned->learnedNotes(mode))
            learned = notes->within(NoteSet::ofMode(mode)).size();
    }
    return windowMs(settings.answerWindow, learned);
}

void QuestionDrawer::drawAhead(Mode mode, const QuestionSettings& settings, std::uint32_t number)
{
    if (!settings.beyondDefaults())
        return;
    m_next = Ahead{draw(mode, settings, number), settings, mode, askedNotes(mode, settings)};
    m_player.prepare(requestFor(m_next->question.sound, m_next->question.a4, {}));
}

void QuestionDrawer::newRun()
{
    m_prevNote = kNoPrevNote;
    m_prevTimbre.reset();
    m_prevKey.reset();
    m_next.reset();
    m_reask.clear();
}

Question QuestionDrawer::draw(Mode mode, const QuestionSettings& settings, std::uint32_t number)
{
    m_random.reseedFromClock();
    const int range = mode == Mode::Easy ? kWhiteKeyCount : kNoteCount;
    const NoteSet notes = askedNotes(mode, settings);
    std::optional<int> note;
    // A note that has just joined the growing set comes first.
    if (m_joined && notes.contains(*m_joined) && *m_joined != m_prevNote)
        note = *m_joined;
    if (!note && settings.weakNotes) {
        // A note missed in this run that is due again comes first; otherwise the weights.
        note = m_reask.due(number, notes, m_prevNote);
        if (!note && m_weights) {
            if (const auto weights = m_weights->noteWeights(mode))
                note = drawWeightedNote(m_random, notes, m_prevNote, *weights);
        }
    }
    // The mode's notes are drawn as they always were; fewer, evenly among them.
    if (!note)
        note = settings.notes == NoteChoice::All ? drawNote(m_random, range, m_prevNote)
                                                 : drawNoteIn(m_random, notes, m_prevNote);
    Question question;
    question.sound.note = static_cast<NoteIndex>(*note);
    question.a4 = settings.a4;
    question.sound.timbre = drawTimbre(m_random, settings.timbres, m_prevTimbre);
    question.sound.octave
        = drawOctave(m_random, question.sound.note, settings.threeOctaves, settings.guard ? m_prevKey : std::nullopt);
    question.guard = settings.guard;
    return question;
}

}  // namespace tonarika
