#include "Game.h"

// own
#include "Captions.h"
#include "KeyTable.h"
#include "SoundRules.h"

// std
#include <exception>
#include <limits>

namespace tonarika {

Game::Game(Display& display, Player& player, RandomSource& random, ScoreLog& scoreLog, Journal& journal,
           const GameClock& clock, std::string decimalSeparator)
    : m_display(display)
    , m_player(player)
    , m_random(random)
    , m_scoreLog(scoreLog)
    , m_journal(journal)
    , m_clock(clock)
    , m_decimalSeparator(std::move(decimalSeparator))
{
}

namespace {

// What the player is asked to play for a sound: its file, with the middle piano note of
// its name in its place should the file be missing or refused, or the pure tone; at `a4`.
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

std::size_t modeSlot(Mode mode)
{
    return mode == Mode::Easy ? 0 : 1;
}

}  // namespace

Player::Ticket Game::Sound(int index)
{
    return playSound(NoteSound{static_cast<NoteIndex>(index), Timbre::Piano, kHomeOctave}, currentSettings().a4, {});
}

Player::Ticket Game::playSound(const NoteSound& sound, int a4, std::vector<double> guardTones)
{
    const SoundRequest request = requestFor(sound, a4, std::move(guardTones));
    m_state.wavFile = request.file;
    m_state.noteName = kNoteTable.at(sound.note).noteName;
    return m_player.play(request);
}

void Game::startTest()
{
    switchMode(Mode::Test);
}

void Game::Command1_Click()
{
    if (m_state.mode == Mode::Test) {
        askTestItem();
        return;
    }
    try {
        if (m_state.curNote) {
            // The guard's tones and their note are heard whole: Listen waits for the note.
            if (noteYetToSound())
                return;
            // A replay is the same sound, never with the guard's tones again.
            playSound(m_question.sound, m_question.a4, {});
            ++m_plays;
            return;
        }
        // The settings as they are now, so that a change never alters a question already
        // asked; the question drawn ahead stands only if they and the mode are the same.
        const QuestionSettings settings = currentSettings();
        followGrowingSet(settings);
        showAskedKeys(settings);
        const bool drawnAhead = m_next && m_nextSettings == settings && m_nextMode == m_state.mode
                                && m_nextNotes == askedNotes(settings) && !m_joined;
        // 32 bits cannot be used up by hand; saturate rather than wrap all the same.
        const std::uint32_t number = m_state.questionCount < std::numeric_limits<std::uint32_t>::max()
                                         ? m_state.questionCount + 1
                                         : m_state.questionCount;
        const Question question = drawnAhead ? *m_next : drawQuestion(settings, number);
        // A question nobody could hear is no question: where nothing can sound, the
        // error goes on below and nothing is counted. One the output refused counts, and
        // the warning box says so.
        std::optional<Player::Ticket> firstPlay;
        try {
            firstPlay = playSound(question.sound, question.a4,
                                  question.guard ? drawGuardTones(m_random, question.a4) : std::vector<double>{});
        } catch (const SoundError& error) {
            if (error.unavailable())
                throw;
        } catch (const std::exception&) {
        }
        m_state.questionCount = number;
        m_state.settled = false;
        setIdleLook();
        m_next.reset();
        const bool joined = m_joined && question.sound.note == *m_joined;
        if (joined)
            m_joined.reset();
        askQuestion(question, firstPlay);
        // Said where the eye and a screen reader find it, never in a box.
        if (joined) {
            m_noteComing = false;
            const std::string name(kNoteTable.at(question.sound.note).noteName);
            notice(std::string(captions::kNewNote) + name, std::string(captions::kNewNote) + name);
        }
        if (!firstPlay) {
            warn();
            return;
        }
        // The weak notes' draw waits for this question's answer.
        if (!settings.weakNotes)
            drawAhead(settings);
    } catch (const SoundError& error) {
        soundFailed(error);
    } catch (const std::exception&) {
        warn();
    }
}

void Game::setQuestionSettings(const QuestionSettingsSource* settings)
{
    m_settings = settings;
    m_next.reset();
    const QuestionSettings now = currentSettings();
    showAskedKeys(now);
    if (!m_state.curNote)
        drawAhead(now);
}

NoteSet Game::askedNotes(const QuestionSettings& settings) const
{
    const NoteSet mode = NoteSet::ofMode(m_state.mode);
    switch (settings.notes) {
    case NoteChoice::All:
        return mode;
    case NoteChoice::Chosen: {
        const NoteSet chosen = settings.chosen.within(mode);
        return chosen.size() >= 2 ? chosen : mode;
    }
    case NoteChoice::Growing: {
        const auto learned = m_learned ? m_learned->learnedNotes(m_state.mode) : std::nullopt;
        return growingSet(m_state.mode, learned.value_or(NoteSet()));
    }
    }
    return mode;
}

void Game::followGrowingSet(const QuestionSettings& settings)
{
    if (settings.notes != NoteChoice::Growing || m_state.practiceMode || !m_learned)
        return;
    // Until the journal has been read, no note can be said to join.
    const auto learned = m_learned->learnedNotes(m_state.mode);
    if (!learned)
        return;
    const NoteSet now = growingSet(m_state.mode, *learned);
    auto& before = m_growing[modeSlot(m_state.mode)];
    if (before && now != *before) {
        for (int i = NoteSet::ofMode(m_state.mode).size(); i-- > 0;) {
            const NoteIndex note = kGrowingOrder[std::size_t(i)];
            if (now.contains(note) && !before->contains(note)) {
                m_joined = note;
                break;
            }
        }
    }
    before = now;
}

void Game::showAskedKeys(const QuestionSettings& settings)
{
    // With the mode's notes, every key as designed: Easy's black keys too. The test asks
    // every note, whatever the settings.
    const bool every = settings.notes == NoteChoice::All || m_state.practiceMode || m_state.mode == Mode::Test;
    const NoteSet asked = every ? NoteSet::all() : askedNotes(settings);
    for (int note = 0; note < kNoteCount; ++note) {
        const bool dimmed = !asked.contains(note);
        if (dimmed != m_dimmed.contains(note))
            m_display.setKeyAsked(note, !dimmed);
    }
    m_dimmed = NoteSet::ofBits(std::uint16_t(~asked.bits() & NoteSet::all().bits()));
}

QuestionSettings Game::currentSettings() const
{
    return m_settings ? m_settings->questionSettings() : QuestionSettings{};
}

void Game::drawAhead(const QuestionSettings& settings)
{
    // Practice asks nothing, and the test asks only its own items.
    if (!settings.beyondDefaults() || m_state.practiceMode || m_state.mode == Mode::Test)
        return;
    m_next = drawQuestion(settings, m_state.questionCount + 1);
    m_nextSettings = settings;
    m_nextMode = m_state.mode;
    m_nextNotes = askedNotes(settings);
    m_player.prepare(requestFor(m_next->sound, m_next->a4, {}));
}

Game::Question Game::drawQuestion(const QuestionSettings& settings, std::uint32_t number)
{
    m_random.reseedFromClock();
    const int range = m_state.mode == Mode::Easy ? kWhiteKeyCount : kNoteCount;
    const NoteSet notes = askedNotes(settings);
    Question question;
    std::optional<int> note;
    // A note that has just joined the growing set comes first.
    if (m_joined && notes.contains(*m_joined) && *m_joined != m_state.prevNote)
        note = *m_joined;
    if (!note && settings.weakNotes) {
        // A note missed in this run that is due again comes first; otherwise the weights.
        note = m_reask.due(number, notes, m_state.prevNote);
        if (!note && m_weights) {
            if (const auto weights = m_weights->noteWeights(m_state.mode))
                note = drawWeightedNote(m_random, notes, m_state.prevNote, *weights);
        }
    }
    // The mode's notes are drawn as they always were; fewer, evenly among them.
    if (!note)
        note = settings.notes == NoteChoice::All ? drawNote(m_random, range, m_state.prevNote)
                                                 : drawNoteIn(m_random, notes, m_state.prevNote);
    question.sound.note = static_cast<NoteIndex>(*note);
    question.a4 = settings.a4;
    question.sound.timbre = drawTimbre(m_random, settings.timbres, m_prevTimbre);
    question.sound.octave
        = drawOctave(m_random, question.sound.note, settings.threeOctaves, settings.guard ? m_prevKey : std::nullopt);
    question.guard = settings.guard;
    return question;
}

void Game::askQuestion(const Question& question, std::optional<Player::Ticket> firstPlay)
{
    m_state.curNote = question.sound.note;
    m_state.prevNote = question.sound.note;
    m_prevTimbre = question.sound.timbre;
    m_prevKey = midiKey(question.sound);
    m_question = question;
    m_firstPlay = firstPlay;
    m_plays = 1;
    if (question.guard && firstPlay) {
        notice(captions::kNoteComing, captions::kNoteComingDescription);
        m_noteComing = true;
        watchNoteStart();
    }
}

void Game::warn()
{
    m_display.showWarning(captions::kWarningText, captions::kWarningTitle);
}

void Game::soundFailed(const SoundError& error)
{
    if (!error.unavailable()) {
        warn();
        return;
    }
    notice(captions::kNoSound,
           error.cause() == SoundError::Cause::NoDevice ? captions::kNoDevice : captions::kReconnecting);
}

void Game::notice(std::string_view caption, std::string_view detail)
{
    m_display.setLabel1BackColor(kWhite);
    m_display.setLabel1ForeColor(Colour::systemButtonText());
    m_display.setCaption(Caption::Label1, caption);
    m_display.setLabel1ToolTip(detail);
    m_display.setListenDescription(detail);
}

bool Game::noteYetToSound() const
{
    if (!m_state.curNote || !m_firstPlay)
        return false;
    const Playback first = m_player.playback(*m_firstPlay);
    return first.state == Playback::State::Waiting
           || (first.state == Playback::State::Sounding && m_clock.now() < first.startedAt);
}

void Game::watchNoteStart()
{
    if (!m_noteComing || !m_alarm)
        return;
    if (noteYetToSound()) {
        // Still loading, it has no start yet: look again shortly.
        const Playback first = m_player.playback(*m_firstPlay);
        const auto when = first.state == Playback::State::Sounding ? first.startedAt
                                                                    : m_clock.now() + std::chrono::milliseconds(20);
        m_alarm->ringAt(when, [this] { watchNoteStart(); });
        return;
    }
    m_noteComing = false;
    setIdleLook();
}

void Game::cmdKey_Click(int index)
{
    m_input = AnswerInput::Mouse;
    m_state.keyNote = static_cast<std::uint8_t>(index);
    hantei();
}

void Game::Key(int keyCode)
{
    if (const auto note = keyToNote(keyCode)) {
        m_input = AnswerInput::Keys;
        m_state.keyNote = static_cast<std::uint8_t>(*note);
        hantei();
    }
}

void Game::midiNoteOn(int index, std::chrono::steady_clock::time_point arrived)
{
    m_input = AnswerInput::Midi;
    m_answeredAt = arrived;
    m_state.keyNote = static_cast<std::uint8_t>(index);
    hantei();
    m_answeredAt.reset();
}

void Game::hantei()
{
    const int key = m_state.keyNote;
    if (m_state.practiceMode) {
        try {
            Sound(key);
        } catch (const SoundError& error) {
            soundFailed(error);
            return;
        } catch (const std::exception&) {
            warn();
            return;
        }
        m_display.focusKey(key);
        m_display.setLabel1ForeColor(kBlue);
        m_display.setCaption(Caption::Label1, m_state.noteName);
        return;
    }
    // Before its note has begun, a question has nothing to answer: no miss, no journal.
    if (!m_state.curNote || noteYetToSound())
        return;
    if (m_state.mode == Mode::Test) {
        takeTestAnswer(key);
        return;
    }
    m_noteComing = false;
    // In Easy mode no black key is ever asked, nor a key outside the notes asked now, so
    // pressing one is not an answer.
    const bool ignored
        = *m_state.curNote != key
          && ((m_state.mode == Mode::Easy && kNoteTable.at(key).black) || m_dimmed.contains(key));
    if (!m_state.settled && !ignored) {
        journalFirstAnswer(key);
        m_reask.answered(*m_state.curNote, *m_state.curNote == key, m_state.questionCount);
    }

    if (*m_state.curNote == key) {
        m_display.setLabel1BackColor(kRed);
        m_display.setLabel1ForeColor(kWhite);
        m_display.setCaption(Caption::Label1, captions::kRight);
        m_state.curNote.reset();
        m_state.settled = true;
        update(captions::kRight);
        // Now that its answer is known, the weak notes' draw can look ahead.
        if (const QuestionSettings settings = currentSettings(); settings.weakNotes)
            drawAhead(settings);
        return;
    }
    if (ignored) {
        setIdleLook();
        return;
    }
    m_display.setLabel1BackColor(Colour::systemButtonText());
    m_display.setLabel1ForeColor(kWhite);
    m_display.setCaption(Caption::Label1, captions::kMiss);
    if (!m_state.settled) {
        ++m_state.missCount;
        m_state.settled = true;
    }
    update(captions::kMiss);
}

void Game::askTestItem()
{
    // Each item is heard once, and after the last nothing more is asked.
    if (m_state.curNote || m_testAnswers.size() >= m_testItems.size())
        return;
    const std::size_t index = m_testAnswers.size();
    // The A4 the test began at holds to its end; the settings' timbres, octaves and notes
    // do not apply.
    const Question item{m_testItems[index], m_testA4, true};
    try {
        const auto firstPlay = playSound(item.sound, item.a4, drawGuardTones(m_random, item.a4));
        setIdleLook();
        askQuestion(item, firstPlay);
        m_display.setTestProgress(std::string(captions::kTestProgress) + std::to_string(index + 1) + " / "
                                  + std::to_string(m_testItems.size()));
    } catch (const SoundError& error) {
        soundFailed(error);
    } catch (const std::exception&) {
        warn();
    }
}

void Game::takeTestAnswer(int key)
{
    m_noteComing = false;
    const Trial trial = journalFirstAnswer(key);
    m_testAnswers.push_back({m_question.sound, NoteIndex(key), trial.reactionMs});
    m_state.curNote.reset();
    // Taken, and nothing said of whether it was right.
    notice(captions::kAnswerTaken, captions::kAnswerTaken);
    m_display.focusListen();
    if (const auto result = testResult(m_testAnswers)) {
        m_display.setListenEnabled(false);
        m_display.showTestResult(testResultText(*result, m_question.a4, m_decimalSeparator));
    }
}

Trial Game::journalFirstAnswer(int key)
{
    Trial trial;
    trial.answeredAtMs = m_clock.utcMs();
    // A MIDI answer is timed from its message's arrival, not from when it was handled here.
    const auto answeredAt = m_answeredAt.value_or(m_clock.now());
    trial.mode = m_state.mode;
    trial.run = m_run;
    trial.asked = *m_state.curNote;
    trial.answered = static_cast<NoteIndex>(key);
    trial.plays = m_plays;
    trial.timbre = m_question.sound.timbre;
    trial.octave = m_question.sound.octave;
    trial.guard = m_question.guard;
    trial.a4 = m_question.a4;
    trial.input = m_input;
    // Timed from the question's first play only, and only where its note sounded.
    if (m_firstPlay) {
        const Playback first = m_player.playback(*m_firstPlay);
        if (first.state == Playback::State::Sounding && first.startedAt <= answeredAt)
            trial.reactionMs = static_cast<std::uint32_t>(
                std::chrono::duration_cast<std::chrono::milliseconds>(answeredAt - first.startedAt).count());
    }
    try {
        m_journal.record(trial);
    } catch (...) {
        // The journal never stops the game.
    }
    return trial;
}

void Game::update(std::string_view result)
{
    m_display.focusListen();
    const std::string rate = rateText(m_state.questionCount, m_state.missCount, m_decimalSeparator);
    const std::string misses = missText(m_state.questionCount, m_state.missCount);
    m_display.setCaption(Caption::CapPar, rate);
    m_display.setCaption(Caption::CapMiss, misses);
    m_display.setListenDescription(answerSummary(result, misses, rate));
}

void Game::setIdleLook()
{
    m_display.setLabel1BackColor(kWhite);
    m_display.setCaption(Caption::Label1, captions::kIdle);
    m_display.setLabel1ToolTip({});
    // What a screen reader hears follows what the eye sees: no result, only Listen's use.
    m_display.setListenDescription(captions::kListenDescription);
}

void Game::clear_Click()
{
    startNewRun();
    // The new run's first question, drawn ahead like every other.
    drawAhead(currentSettings());
}

void Game::startNewRun()
{
    ++m_run;
    m_state.questionCount = 0;
    m_state.missCount = 0;
    m_state.curNote.reset();
    m_state.prevNote = kNoPrevNote;
    m_prevTimbre.reset();
    m_prevKey.reset();
    m_next.reset();
    m_reask.clear();
    m_noteComing = false;
    m_display.setCaption(Caption::CapPar, captions::kStartRate);
    m_display.setCaption(Caption::CapMiss, captions::kStartMiss);
    m_state.settled = false;
    setIdleLook();
}

void Game::easy_Click() { switchMode(Mode::Easy); }
void Game::hard_Click() { switchMode(Mode::Hard); }
void Game::prac_Click() { switchMode(Mode::Prac); }

void Game::switchMode(Mode mode)
{
    if (m_state.mode == mode)
        return;
    const bool practice = mode == Mode::Prac;
    m_state.practiceMode = practice;
    // A clear belongs to a run of Easy or Hard: practice has none, the test is not one.
    m_display.setClearEnabled(mode == Mode::Easy || mode == Mode::Hard);
    // The record is written before the mode and captions change, so it names the
    // mode being left and carries its rate.
    Form_Unload();
    startNewRun();
    m_state.mode = mode;
    if (practice)
        m_display.setListenEnabled(false);
    // The test has no menu item of its own: no mode is checked while it is taken.
    for (const Mode item : {Mode::Easy, Mode::Hard, Mode::Prac})
        m_display.setChecked(item, item == mode);
    const bool test = mode == Mode::Test;
    m_display.setCaption(Caption::CapMode, test ? captions::kTestLabel : modeName(mode));
    m_testItems = test ? testItems(m_random) : std::vector<NoteSound>{};
    m_testAnswers.clear();
    m_testA4 = currentSettings().a4;
    m_display.setTestProgress(test ? std::string(captions::kTestProgress) + "0 / " + std::to_string(m_testItems.size())
                                   : std::string());
    m_display.showTestResult({});
    m_joined.reset();
    showAskedKeys(currentSettings());
    if (test) {
        // Nothing is scored before the end.
        m_display.setCaption(Caption::CapPar, captions::kPracticeRate);
        m_display.setCaption(Caption::CapMiss, captions::kPracticeMiss);
        m_display.setListenEnabled(true);
        m_display.focusListen();
        return;
    }
    if (practice) {
        m_display.setCaption(Caption::CapPar, captions::kPracticeRate);
        m_display.setCaption(Caption::CapMiss, captions::kPracticeMiss);
        return;
    }
    m_display.setListenEnabled(true);
    m_display.focusListen();
    // The first question of the new mode, drawn ahead like every other.
    drawAhead(currentSettings());
}

void Game::en_Click()
{
    m_display.unloadWindow();
}

std::optional<ScoreRun> Game::runRecord() const
{
    // The test is no run of Easy or Hard: the score file never hears of it.
    if (m_state.mode == Mode::Test)
        return std::nullopt;
    // A question drawn but neither answered right nor missed does not count.
    std::uint32_t questions = m_state.questionCount;
    if (!m_state.settled && questions > 0)
        --questions;
    if (questions == 0)
        return std::nullopt;
    return ScoreRun{std::string(modeName(m_state.mode)), m_state.missCount, questions,
                    rateText(questions, m_state.missCount, m_decimalSeparator)};
}

void Game::Form_Unload()
{
    const auto run = runRecord();
    if (!run)
        return;
    RecordOutcome outcome;
    try {
        outcome = m_scoreLog.append(*run);
    } catch (...) {
        // Losing one record must never stop a mode change or the window's closing.
        outcome.saved = false;
    }
    if (!outcome.saved)
        m_display.reportUnsavedRecord(outcome.line);
    ++m_run;
}

}  // namespace tonarika
