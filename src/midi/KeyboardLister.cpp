#include "KeyboardLister.h"

namespace tonarika {

KeyboardLister::KeyboardLister(const std::string& client)
    : m_watcher({client, client, {}, true}, *this)
{
}

}  // namespace tonarika
