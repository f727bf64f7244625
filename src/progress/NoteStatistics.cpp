#include "NoteStatistics.h"

// Qt
#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>
#include <QStringList>

// std
#include <algorithm>
#include <cmath>
#include <bit>
#include <tuple>
#include <map>

namespace tonarika {

namespace {

std::optional<double> percentOf(int part, int whole)
{
    return whole > 0 ? std::optional(100.0 * part / whole) : std::nullopt;
}

// The fewest further answers, each right, after which a note has kLearnedQuestions
// questions and kLearnedRight of its last kLearnedQuestions right: each new right answer
// pushes the oldest of the last ones out.
int rightAnswersNeeded(const std::vector<const Trial*>& asked)
{
    const int questions = int(asked.size());
    int more = std::max(0, kLearnedQuestions - questions);
    for (;; ++more) {
        // Of the answers given so far, those still among the last.
        const int kept = std::clamp(kLearnedQuestions - more, 0, questions);
        const int right
            = int(std::count_if(asked.end() - kept, asked.end(), [](const Trial* t) { return t->right(); }));
        if (more + right >= kLearnedRight)
            return more;
    }
}

}  // namespace

bool chosenMode(ModeChoice choice, Mode mode)
{
    switch (choice) {
    case ModeChoice::Easy: return mode == Mode::Easy;
    case ModeChoice::Hard: return mode == Mode::Hard;
    case ModeChoice::Both: return mode == Mode::Easy || mode == Mode::Hard;
    case ModeChoice::Sung: return mode == Mode::Sing;
    case ModeChoice::Every: return true;
    }
    return false;
}

QDate localDate(const Trial& row)
{
    return QDateTime::fromMSecsSinceEpoch(row.answeredAtMs + std::int64_t(row.utcOffsetS) * 1000, Qt::UTC).date();
}

std::vector<const Trial*> selectTrials(const std::vector<Trial>& rows, Period period, ModeChoice mode,
                                          const QDate& today, std::optional<Timbre> timbre)
{
    const qint64 days = period == Period::Today ? 1 : period == Period::Week ? 7 : 30;
    std::vector<const Trial*> chosen;
    for (const Trial& row : rows) {
        if (!chosenMode(mode, row.mode))
            continue;
        if (timbre && row.timbre != *timbre)
            continue;
        if (period != Period::All) {
            const qint64 daysAgo = localDate(row).daysTo(today);
            if (daysAgo < 0 || daysAgo >= days)
                continue;
        }
        chosen.push_back(&row);
    }
    std::stable_sort(chosen.begin(), chosen.end(),
                     [](const Trial* a, const Trial* b) { return a->answeredAtMs < b->answeredAtMs; });
    return chosen;
}

int semitonesApart(int a, int b)
{
    const int apart = std::abs(kSemitone.at(size_t(a)) - kSemitone.at(size_t(b)));
    return std::min(apart, 12 - apart);
}

LearnedState learnedState(const std::vector<Trial>& rows, ModeChoice mode, const QDate& today)
{
    LearnedState state;
    if (mode == ModeChoice::Easy || mode == ModeChoice::Hard) {
        state.statistics = noteStatistics(selectTrials(rows, Period::All, mode, today));
        state.modeOf.fill(mode == ModeChoice::Easy ? Mode::Easy : Mode::Hard);
        return state;
    }
    const NoteStatistics easy = noteStatistics(selectTrials(rows, Period::All, ModeChoice::Easy, today));
    const NoteStatistics hard = noteStatistics(selectTrials(rows, Period::All, ModeChoice::Hard, today));
    state.statistics = hard;
    state.statistics.learned = 0;
    state.statistics.learnedAcross = 0;
    for (std::size_t note = 0; note < kNoteCount; ++note) {
        const NoteFigures& inEasy = easy.notes[note];
        const NoteFigures& inHard = hard.notes[note];
        const bool takeEasy = !inHard.learned && (inEasy.learned || inEasy.questions > inHard.questions);
        state.statistics.notes[note] = takeEasy ? inEasy : inHard;
        state.modeOf[note] = takeEasy ? Mode::Easy : Mode::Hard;
        state.statistics.learned += state.statistics.notes[note].learned;
        state.statistics.learnedAcross += state.statistics.notes[note].learnedAcross;
    }
    return state;
}

NoteStatistics noteStatistics(const std::vector<const Trial*>& trials)
{
    NoteStatistics statistics;
    std::array<std::vector<const Trial*>, 12> byNote;
    std::array<std::vector<std::uint32_t>, 2> colourTimes;  // white, black
    std::array<int, 2> colourQuestions{}, colourRight{};
    std::map<QDate, std::vector<std::uint32_t>> days;
    int wrong = 0, oneOff = 0, semitonesOff = 0;
    for (const Trial* trial : trials) {
        byNote[trial->asked].push_back(trial);
        ++statistics.confusion[trial->asked][trial->answered];
        const int colour = trial->asked >= kWhiteKeyCount ? 1 : 0;
        ++colourQuestions[size_t(colour)];
        if (trial->right()) {
            ++colourRight[size_t(colour)];
            if (trial->reactionMs) {
                colourTimes[size_t(colour)].push_back(*trial->reactionMs);
                days[localDate(*trial)].push_back(*trial->reactionMs);
            }
        } else {
            ++wrong;
            const int apart = semitonesApart(trial->asked, trial->answered);
            oneOff += apart == 1;
            semitonesOff += apart;
        }
    }
    for (int note = 0; note < kNoteCount; ++note) {
        const auto& asked = byNote[size_t(note)];
        NoteFigures& figures = statistics.notes[size_t(note)];
        figures.questions = int(asked.size());
        std::vector<std::uint32_t> times;
        // The timbres and octaves of a span of trials, as bit sets.
        const auto spread = [](auto begin, auto end) {
            unsigned timbres = 0;
            unsigned octaves = 0;
            for (auto trial = begin; trial != end; ++trial) {
                timbres |= 1u << unsigned((*trial)->timbre);
                octaves |= 1u << unsigned((*trial)->octave);
            }
            return std::pair(std::popcount(timbres), std::popcount(octaves));
        };
        std::tie(figures.timbres, figures.octaves) = spread(asked.begin(), asked.end());
        for (const Trial* trial : asked) {
            figures.right += trial->right();
            if (trial->right() && trial->reactionMs)
                times.push_back(*trial->reactionMs);
        }
        figures.rightRate = percentOf(figures.right, figures.questions);
        figures.medianMs = medianMs(times);
        const auto last = asked.end() - std::min<std::ptrdiff_t>(kLearnedQuestions, std::ptrdiff_t(asked.size()));
        std::vector<std::uint32_t> lastTimes;
        for (auto trial = last; trial != asked.end(); ++trial) {
            figures.lastRight += (*trial)->right();
            if ((*trial)->right() && (*trial)->reactionMs)
                lastTimes.push_back(*(*trial)->reactionMs);
        }
        figures.lastMedianMs = medianMs(lastTimes);
        figures.rightNeeded = rightAnswersNeeded(asked);
        // The rule the game's growing set goes by, over the same answers.
        std::vector<NoteAnswer> answers;
        for (auto trial = last; trial != asked.end(); ++trial)
            answers.push_back({(*trial)->right(), (*trial)->reactionMs});
        figures.learned = figures.questions >= kLearnedQuestions && isLearned(answers);
        if (figures.questions >= kLearnedQuestions) {
            const auto [timbres, octaves] = spread(last, asked.end());
            figures.learnedAcross = figures.learned && timbres >= kAcrossTimbres && octaves >= kAcrossOctaves;
        }
        statistics.learned += figures.learned;
        statistics.learnedAcross += figures.learnedAcross;
    }
    for (size_t colour = 0; colour < 2; ++colour) {
        KeyColourFigures& figures = colour == 0 ? statistics.white : statistics.black;
        figures.rightRate = percentOf(colourRight[colour], colourQuestions[colour]);
        figures.medianMs = medianMs(colourTimes[colour]);
    }
    statistics.semitoneShare = percentOf(oneOff, wrong);
    if (wrong > 0)
        statistics.meanErrorSemitones = double(semitonesOff) / wrong;
    for (const auto& [day, times] : days) {
        statistics.dailyMedianMs.emplace_back(day, *medianMs(times));
        statistics.dailyAnswers.push_back(int(times.size()));
    }
    return statistics;
}

QString learnedDistance(const NoteFigures& note)
{
    if (note.learned)
        return {};
    QStringList missing;
    if (note.questions < kLearnedQuestions)
        missing << QCoreApplication::translate("NoteStatistics", "あと %1 問").arg(note.rightNeeded);
    else if (note.lastRight < kLearnedRight)
        missing << QCoreApplication::translate("NoteStatistics", "直近%1問: %2/%1").arg(kLearnedQuestions).arg(note.lastRight);
    if (note.lastMedianMs && *note.lastMedianMs > kLearnedMedianMs) {
        // Rounded up, so that a median just over the limit never reads as on it.
        missing << QCoreApplication::translate("NoteStatistics", "中央値 %1 秒 → %2 秒以下")
                       .arg(QLocale().toString(std::ceil(*note.lastMedianMs / 100.0) / 10.0, 'f', 1))
                       .arg(kLearnedMedianMs / 1000);
    } else if (!note.lastMedianMs && note.questions >= kLearnedQuestions) {
        missing << QCoreApplication::translate("NoteStatistics", "中央値 ―");
    }
    return missing.join(QCoreApplication::translate("NoteStatistics", "、"));
}

QString learnedRule()
{
    return QCoreApplication::translate("NoteStatistics", "覚えた音: %1問以上に答え、直近%1問のうち%2問以上を最初の答えで正解し、"
                          "その反応時間の中央値が%3秒以下の音")
        .arg(kLearnedQuestions)
        .arg(kLearnedRight)
        .arg(kLearnedMedianMs / 1000);
}

}  // namespace tonarika
