#pragma once

#include <thread>

namespace twk::qt {

// Reads the system's font configuration on a thread of its own, beside the start-up:
// the first window's text needs it, and reading it (dozens of files) costs the
// interface thread milliseconds that the other core can spend instead. The toolkit
// then finds it read; asking before that is safe, only no faster.
class FontConfigWarmUp {
public:
    FontConfigWarmUp();
    ~FontConfigWarmUp();
    FontConfigWarmUp(const FontConfigWarmUp&) = delete;
    FontConfigWarmUp& operator=(const FontConfigWarmUp&) = delete;

private:
    std::thread reader_;
};

} // namespace twk::qt
