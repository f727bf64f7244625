#pragma once

// std
#include <optional>
#include <vector>

namespace tonarika {

// One hop of the microphone's input: when it began, the pitch the detector found and how
// sure it was of it, and the hop's level.
struct PitchFrame {
    double atMs = 0;          // since listening began
    double hz = 0;            // 0: none found
    double confidence = 0;    // the detector's, 0 to 1
    double levelDb = -120;    // RMS, dB below full scale
};

// A pitch sung: the median over the first stretch of steady voicing (vibrato averaged), and
// when the voice began.
struct SungPitch {
    double hz = 0;
    double voiceStartMs = 0;
    double judgedAtMs = 0;  // the frame that completed the stretch
};

// What counts as steady voicing.
struct VoicingRule {
    double confidence = 0.8;  // the detector's confidence at least this
    double aboveFloorDb = 12; // the level at least this far above the noise before the voice
    double holdCents = 30;    // every pitch of the stretch within this of its middle
    double steadyMs = 200;    // the stretch this long
    double driftCents = 8;    // its first and last quarters no further apart, vibrato aside
    double settleLimitMs = 1000;  // a voice that drifts on is taken as it is after this long
    double lowHz = 80;        // below E2 (82.4 Hz) a little
    double highHz = 2500;     // whistling
    double quietDb = -70;     // the noise floor taken before any frame that was not voiced
};

// Fed the frames as they come, says the pitch sung once the first stretch of steady voicing
// is long enough. A glide into the note leaves the stretch as the pitch settles, and so
// does a slow scoop that ends within the hold; a frame that is not voiced ends the voice.
class SteadyVoicing {
public:
    explicit SteadyVoicing(VoicingRule rule = {});

    std::optional<SungPitch> feed(const PitchFrame& frame);
    // The noise floor, in dB: the quietest frame that was not voiced, so that a voice's own
    // onset, heard before it is steady, never raises it.
    double floorDb() const;

private:
    bool voiced(const PitchFrame& frame) const;
    double median() const;
    // How often the stretch's pitch swings through its median and back.
    int swings() const;
    // Whether the stretch's pitch still moves one way.
    bool settling() const;
    // The pitch the stretch gives: its median, or the middle of vibrato's swing.
    double sungHz() const;

    VoicingRule m_rule;
    std::optional<double> m_quietest;
    std::optional<double> m_voiceStart;  // the first voiced frame of the voice now sounding
    std::vector<PitchFrame> m_stretch;   // the steady stretch so far
};

}  // namespace tonarika
