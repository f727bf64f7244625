#pragma once

// own
#include "NoteFile.h"
#include "Player.h"
#include "SoundOutput.h"

// std
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace tonarika {

// What a sound is loaded and kept as: a file's note at an A4 (the files are at 440 Hz),
// or, with no file, the pure tone of a pitch.
struct SoundKey {
    std::string file;
    int a4 = 440;
    double hz = 0.0;
    friend bool operator==(const SoundKey&, const SoundKey&) = default;
};

struct SoundKeyHash {
    std::size_t operator()(const SoundKey& key) const;
};

// Plays notes through a sound output, opened once, on a thread of its own, so that a sound
// server that does not answer never keeps the caller waiting; a note asked meanwhile waits
// for it. Notes are read and decoded, and pure tones computed, on that thread, and kept in memory in the output's format and
// no larger than their samples, so play() never waits on the disk: a note asked before its
// load has finished jumps to the front of the queue and starts as soon as it is loaded,
// unless another is asked meanwhile; prepare() loads one ahead. The notes given at the
// start stay; of the others, only the last kKeptSounds used are kept. A note that cannot
// be loaded sounds its stand-in, or the alert tone where it has none, and is not tried
// again. Whatever fails leaves a line on stderr (category tonarika.sound) with its cause.
class NotePlayer : public Player {
public:
    // Makes the output when the player starts; nothing where none can be had.
    using OpenOutput = std::function<std::unique_ptr<SoundOutput>()>;
    // Reads a note file, on the loader's thread: readNoteFile(), unless a test holds it up.
    using ReadNote = std::function<NoteFile(const std::filesystem::path& path, std::size_t maxBytes, double maxSeconds)>;

    // `notes` are the note files it plays ("wav/Do.wav", ...). They all come from one
    // folder: the first of `folders` that holds any of them (an empty folder is the
    // current directory), so that a pitch never comes from another set than the rest.
    // Nothing is opened or read before start() or the first play().
    NotePlayer(std::vector<std::filesystem::path> folders, std::vector<std::string> notes, OpenOutput openOutput,
               ReadNote readNote = &readNoteFile);
    ~NotePlayer() override;
    NotePlayer(const NotePlayer&) = delete;
    NotePlayer& operator=(const NotePlayer&) = delete;

    // Opens the output and loads every note, in the background.
    void start();
    using Player::play;
    Ticket play(const SoundRequest& request) override;
    Playback playback(Ticket ticket) const override;
    void prepare(const SoundRequest& request) override;

    // Both wait until the output is opened, or known to be missing.
    bool isOpen() const { return output() != nullptr; }
    SoundOutput* output() const;
    // Blocks until every note asked for so far is loaded or known to be bad.
    void waitUntilLoaded();

    // Larger or longer note files are refused without being decoded.
    static constexpr std::size_t kMaxFileBytes = 16 * 1024 * 1024;
    static constexpr double kMaxSeconds = 30.0;
    // Sounds kept beside the notes given at the start: enough for every question of a few
    // runs, far from the memory all timbres in three octaves would take.
    static constexpr std::size_t kKeptSounds = 24;

private:
    struct Note {
        enum class State { Loading, Ready, Bad } state = State::Loading;
        std::shared_ptr<const Samples> samples;
    };

    void loadInBackground();
    // Drops the play waiting for a load, should one be waiting. Needs m_mutex.
    void dropWantedLocked();
    std::filesystem::path chooseFolder(const std::vector<SoundKey>& notes) const;
    // Nothing, and why in `fault`, where it cannot.
    std::shared_ptr<const Samples> load(const SoundKey& key, std::string& fault) const;
    // Asks for a sound's load unless it was asked before, and marks it used. Needs m_mutex.
    Note& noteLocked(const SoundKey& key);
    // Lets go of the sounds used least lately beyond kKeptSounds. Needs m_mutex.
    void forgetOldSoundsLocked();
    // Starts a play, or has it wait for what it needs to load: its note, or the note's
    // stand-in where the note cannot be loaded. Needs m_mutex.
    void startOrWaitLocked(Ticket ticket, const SoundRequest& request);
    // Starts a play's note, or the alert tone where it cannot be loaded, after the guard's
    // tones, and notes when the note itself begins. Needs m_mutex.
    void startPlayLocked(Ticket ticket, const SoundRequest& request, const Note& note);

    std::vector<std::filesystem::path> m_folders;
    std::vector<SoundKey> m_notes;  // the notes given at the start, and those asked since
    OpenOutput m_openOutput;
    ReadNote m_readNote;
    std::filesystem::path m_folder;  // where the notes come from; set by the loader
    bool m_started = false;

    mutable std::mutex m_mutex;
    bool m_opened = false;  // the loader has tried to open the output
    std::unique_ptr<SoundOutput> m_output;
    std::shared_ptr<const Samples> m_alert;
    mutable std::condition_variable m_changed;
    Ticket m_lastTicket = 0;
    std::unordered_map<Ticket, Playback> m_playbacks;  // the last few plays
    std::unordered_map<SoundKey, Note, SoundKeyHash> m_loaded;
    std::unordered_set<SoundKey, SoundKeyHash> m_kept;  // the notes given at the start
    std::unordered_map<SoundKey, SoundKey, SoundKeyHash> m_standIns;  // the sounds that have one
    std::deque<SoundKey> m_used;             // the others, the one used last at the back
    std::deque<SoundKey> m_queue;            // notes still to load, the one asked first
    std::optional<SoundRequest> m_wanted;    // the sound asked last, if it is still loading
    SoundKey m_wantedKey;                    // what it waits for: its note, or the stand-in
    Ticket m_wantedTicket = 0;
    bool m_loading = false;                 // a load is under way outside the lock
    bool m_stopping = false;
    std::thread m_loader;
};

}  // namespace tonarika
