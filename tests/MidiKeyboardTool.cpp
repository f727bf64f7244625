// A MIDI keyboard for the tests, on the default JACK server: `midi-keyboard NAME` makes
// the client NAME with the output "out", prints "ready", and sends what each line of its
// input asks:
//   on NOTE VELOCITY   a note-on on channel 1
//   off NOTE           a note-off
//   cc NUMBER VALUE    a controller change (64: the sustain pedal)
//   connected PORT     prints "yes" or "no": whether PORT is connected to it
//   quit               unplugs it
// It ends, unplugged, at the end of its input.

// own
#include "JackKeyboard.h"

// std
#include <iostream>
#include <sstream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: midi-keyboard NAME\n";
        return 2;
    }
    try {
        tonarika::test::JackKeyboard keyboard(argv[1]);
        std::cout << "ready" << std::endl;
        std::string line;
        while (std::getline(std::cin, line)) {
            std::istringstream words(line);
            std::string command;
            int a = 0;
            int b = 0;
            words >> command;
            if (command == "quit")
                break;
            if (command == "connected") {
                std::string port;
                words >> port;
                std::cout << (keyboard.connectedTo(port) ? "yes" : "no") << std::endl;
                continue;
            }
            words >> a >> b;
            if (command == "on")
                keyboard.send({0x90, std::uint8_t(a), std::uint8_t(b)});
            else if (command == "off")
                keyboard.send({0x80, std::uint8_t(a), 0});
            else if (command == "cc")
                keyboard.send({0xB0, std::uint8_t(a), std::uint8_t(b)});
            else
                std::cerr << "midi-keyboard: not understood: " << line << "\n";
        }
    } catch (const std::exception& error) {
        std::cerr << "midi-keyboard: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
