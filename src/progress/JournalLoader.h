#pragma once

// own
#include "JournalReader.h"

// Qt
#include <QObject>

// std
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

namespace tonarika {

// What the notes' page shows of the journal, read in one go.
struct JournalSnapshot {
    std::shared_ptr<const std::vector<Trial>> trials;  // in the order written
    std::shared_ptr<const std::vector<PracticeMoment>> presses;  // Practice's keys, for the time practised
    std::optional<JournalFault> fault;
    std::size_t refusedRows = 0;
};

// Reads the journal on whatever thread it lives on, apart from the score logs, so that
// neither the window nor the score logs' page ever waits for it. Each load reads only the
// rows added since the load before.
class JournalLoader : public QObject {
    Q_OBJECT
public:
    explicit JournalLoader(std::filesystem::path journal);

    void load();
    // Ends a reading under way at once; callable from any thread.
    void cancel() { m_reader.cancel(); }

signals:
    void loaded(std::shared_ptr<const JournalSnapshot> snapshot);

private:
    JournalReader m_reader;
    std::shared_ptr<const std::vector<Trial>> m_trials;
    std::shared_ptr<const std::vector<PracticeMoment>> m_presses;
};

}  // namespace tonarika
