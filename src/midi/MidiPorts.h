#pragma once

// std
#include <string>
#include <vector>

namespace tonarika {

// One MIDI system's outputs as our input sees them: the keyboards there are, and a way to
// connect one to our input. By name, never by index: an index changes whenever another
// device comes or goes.
class MidiPorts {
public:
    virtual ~MidiPorts() = default;
    // Every MIDI output but our own and the system's through port.
    virtual std::vector<std::string> sources() = 0;
    // Connects the named output to our input; false where it could not (it went away).
    virtual bool connect(const std::string& source) = 0;
    // Still usable: false once the system behind it went away (a JACK server that stopped).
    virtual bool alive() const { return true; }
};

}  // namespace tonarika
