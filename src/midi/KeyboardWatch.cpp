#include "KeyboardWatch.h"

namespace tonarika {

KeyboardWatch::Change KeyboardWatch::look(const std::vector<std::string>& sources)
{
    Change change;
    std::set<std::string> now;
    for (const std::string& source : sources) {
        if (!now.insert(source).second)
            continue;
        if (!m_known.contains(source))
            change.appeared.push_back(source);
    }
    for (const std::string& source : m_known) {
        if (!now.contains(source))
            change.gone.push_back(source);
    }
    m_known = std::move(now);
    return change;
}

}  // namespace tonarika
