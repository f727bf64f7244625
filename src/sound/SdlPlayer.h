#pragma once

// own
#include "NotePlayer.h"
#include "SdlOutput.h"

namespace tonarika {

// The note player on SDL's audio device: what machines without a desktop sound server
// play through, and what the tests record through SDL's disk driver.
class SdlPlayer : public NotePlayer {
public:
    explicit SdlPlayer(std::vector<std::filesystem::path> folders, std::vector<std::string> notes = {},
                       ReadNote readNote = &readNoteFile)
        : NotePlayer(std::move(folders), std::move(notes), [] { return SdlOutput::open(); }, std::move(readNote))
    {
    }
    int bufferFrames() const { return isOpen() ? static_cast<const SdlOutput*>(output())->bufferFrames() : 0; }
    void setTap(SdlOutput::Tap tap)
    {
        if (isOpen())
            static_cast<SdlOutput*>(output())->setTap(std::move(tap));
    }
};

}  // namespace tonarika
