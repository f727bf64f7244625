#include "SteadyVoicing.h"

// std
#include <algorithm>
#include <utility>
#include <cmath>

namespace tonarika {

namespace {

double centsBetween(double hz, double reference)
{
    return 1200.0 * std::log2(hz / reference);
}

}  // namespace

SteadyVoicing::SteadyVoicing(VoicingRule rule)
    : m_rule(rule)
{
}

double SteadyVoicing::floorDb() const
{
    return m_quietest.value_or(m_rule.quietDb);
}

bool SteadyVoicing::voiced(const PitchFrame& frame) const
{
    return frame.confidence >= m_rule.confidence && frame.hz >= m_rule.lowHz && frame.hz <= m_rule.highHz
           && frame.levelDb >= floorDb() + m_rule.aboveFloorDb;
}

namespace {

double medianOf(std::vector<double> pitches)
{
    const auto middle = pitches.begin() + std::ptrdiff_t(pitches.size() / 2);
    std::nth_element(pitches.begin(), middle, pitches.end());
    if (pitches.size() % 2 == 1)
        return *middle;
    return (*middle + *std::max_element(pitches.begin(), middle)) / 2.0;
}

}  // namespace

double SteadyVoicing::median() const
{
    std::vector<double> pitches;
    pitches.reserve(m_stretch.size());
    for (const PitchFrame& frame : m_stretch)
        pitches.push_back(frame.hz);
    return medianOf(std::move(pitches));
}

int SteadyVoicing::swings() const
{
    // Vibrato's swing reaches further from the median than this; a scoop's bounce on its
    // way into the note does not, and is no swing.
    constexpr double kSwingCents = 10;
    const double middle = median();
    int swings = 0;
    int side = 0;  // -1 below the median, 1 above, 0 not yet either
    for (const PitchFrame& frame : m_stretch) {
        const double cents = centsBetween(frame.hz, middle);
        const int now = cents > kSwingCents ? 1 : cents < -kSwingCents ? -1 : 0;
        if (now != 0 && now != side) {
            swings += side != 0;
            side = now;
        }
    }
    return swings;
}

double SteadyVoicing::sungHz() const
{
    // Vibrato is averaged: where the pitch swings through its median and back, the middle
    // of its swing, from the few highest and lowest frames, which the 200 ms hold whatever
    // the vibrato's phase (a cycle at 5.5 Hz is 182 ms); a median would keep the part of a
    // cycle left over. A steady voice, or the end of a glide into it, takes the median.
    constexpr std::size_t kEdgeFrames = 3;
    const double middle = median();
    std::vector<double> cents;
    for (const PitchFrame& frame : m_stretch)
        cents.push_back(centsBetween(frame.hz, middle));
    if (swings() < 2 || cents.size() < 4 * kEdgeFrames)
        return middle;
    std::sort(cents.begin(), cents.end());
    double low = 0, high = 0;
    for (std::size_t i = 0; i < kEdgeFrames; ++i) {
        low += cents[i];
        high += cents[cents.size() - 1 - i];
    }
    const double centre = (low + high) / double(2 * kEdgeFrames);
    return middle * std::pow(2.0, centre / 1200.0);
}

bool SteadyVoicing::settling() const
{
    // A scoop into the note stays within the hold while it ends, and would pull the median
    // its way: the stretch's first and last quarters tell it from a voice that has arrived.
    // Vibrato swings back and forth and is not a drift.
    const std::size_t quarter = m_stretch.size() / 4;
    if (quarter == 0 || swings() >= 2)
        return false;
    std::vector<double> first, last;
    for (std::size_t i = 0; i < quarter; ++i) {
        first.push_back(m_stretch[i].hz);
        last.push_back(m_stretch[m_stretch.size() - 1 - i].hz);
    }
    return std::abs(centsBetween(medianOf(first), medianOf(last))) > m_rule.driftCents;
}

std::optional<SungPitch> SteadyVoicing::feed(const PitchFrame& heard)
{
    if (!voiced(heard)) {
        m_quietest = std::min(heard.levelDb, m_quietest.value_or(heard.levelDb));
        m_voiceStart.reset();
        m_stretch.clear();
        return std::nullopt;
    }
    // Only the pitch class counts: a frame the detector took an octave off is folded onto
    // the stretch's octave, and does not end it.
    PitchFrame frame = heard;
    if (!m_stretch.empty()) {
        const double middle = median();
        while (frame.hz > middle * std::sqrt(2.0))
            frame.hz /= 2.0;
        while (frame.hz < middle / std::sqrt(2.0))
            frame.hz *= 2.0;
    }
    if (!m_voiceStart)
        m_voiceStart = frame.atMs;
    // The stretch keeps only frames within ±holdCents of their middle: vibrato stays in it,
    // and a glide's first frames fall out, since they were not yet the note.
    m_stretch.push_back(frame);
    const auto outside = [this] {
        const auto [low, high] = std::minmax_element(m_stretch.begin(), m_stretch.end(),
                                                     [](const PitchFrame& a, const PitchFrame& b) { return a.hz < b.hz; });
        return centsBetween(high->hz, low->hz) > 2 * m_rule.holdCents;
    };
    while (outside())
        m_stretch.erase(m_stretch.begin());
    if (frame.atMs - m_stretch.front().atMs < m_rule.steadyMs)
        return std::nullopt;
    // A voice still settling into its note is not yet steady, unless it never settles.
    if (settling() && frame.atMs - *m_voiceStart < m_rule.settleLimitMs) {
        m_stretch.erase(m_stretch.begin());
        return std::nullopt;
    }
    return SungPitch{sungHz(), *m_voiceStart, frame.atMs};
}

}  // namespace tonarika
