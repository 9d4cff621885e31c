#pragma once

#include <string>
#include <vector>

namespace twk::testing {

// A program started with its standard output into a pipe, for tests that
// kill it at a moment of their choosing.
class ChildProcess {
public:
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Waits until it has written something, or the time is up; false then.
    bool waitForOutput(int milliseconds);
    // Kills it at once, as a crash or a power cut would, and waits until it is gone.
    void kill();
    // Everything it wrote; call after kill().
    std::string output();

private:
    struct State;
    State* state_;
};

// A program built beside the test program, by its file name.
std::string besideTestProgram(const std::string& fileName);

} // namespace twk::testing
