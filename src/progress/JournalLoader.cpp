#include "JournalLoader.h"

namespace tonarika {

JournalLoader::JournalLoader(std::filesystem::path journal)
    : m_reader(std::move(journal))
{
}

void JournalLoader::load()
{
    // The rows are shared with the window: copied only when the journal gained some.
    if (m_reader.update() || !m_trials) {
        m_trials = std::make_shared<const std::vector<Trial>>(m_reader.rows());
        m_presses = std::make_shared<const std::vector<PracticeMoment>>(m_reader.presses());
    }
    auto snapshot = std::make_shared<JournalSnapshot>();
    snapshot->trials = m_trials;
    snapshot->presses = m_presses;
    snapshot->fault = m_reader.fault();
    snapshot->refusedRows = m_reader.refusedRows();
    emit loaded(std::move(snapshot));
}

}  // namespace tonarika
