#pragma once

#include <string>
#include <vector>

namespace twk::platform {

// A program to start with its words: each goes to the program as it is, and
// no command interpreter sees them, so a file name can never run anything.
struct ProgramStart {
    std::string program;
    std::vector<std::string> arguments;
    // The command line as the user would read it: the words, one blank between.
    std::string commandLine() const
    {
        std::string line = program;
        for (const auto& argument : arguments)
            line += " " + argument;
        return line;
    }
};

class Shell {
public:
    virtual ~Shell() = default;
    // Starts the program in a normal window with the focus; false if it did not start.
    virtual bool start(const ProgramStart& start) = 0;
    // Hands a link, address or file to the desktop's default handler.
    virtual void openWithDefaultHandler(const std::string& target) = 0;
    virtual void beep() = 0;
};

} // namespace twk::platform
