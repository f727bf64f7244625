#include "JournalTeller.h"

// Qt
#include <QLoggingCategory>

namespace tonarika {

namespace {

Q_LOGGING_CATEGORY(lcJournal, "tonarika.journal", QtWarningMsg)

}  // namespace

void JournalTeller::tell(JournalTrouble kind, int code, const std::string& text)
{
    if (m_told.insert({kind, code}).second)
        qCWarning(lcJournal, "%s", text.c_str());
}

}  // namespace tonarika
