#pragma once

#include <string>

namespace twk::platform {

// A program to start: nothing is quoted or split, and no command interpreter
// sees it, so a file name can never run anything.
struct ProgramStart {
    std::string program;
    std::string argument;
    // The command line as the user would read it: program, one blank, argument.
    std::string commandLine() const { return program + " " + argument; }
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
