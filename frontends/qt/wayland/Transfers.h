#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace twk::wayland {

// The formats a source of ours offers for a plain text, the UTF-8 ones first.
const std::vector<std::string>& TextTypes();

// The format to ask an offer for its plain text: UTF-8 where it says so, then the
// formats that mean UTF-8 or plain ASCII; nullopt when it offers no text at all.
std::optional<std::string> TextTypeOf(const std::vector<std::string>& offered);

// Reads what a program writes into a pipe, as it comes, without ever blocking.
class Incoming {
public:
    enum class State { more, done, failed };
    explicit Incoming(int fd) : fd_(fd) {}
    ~Incoming();
    Incoming(const Incoming&) = delete;
    Incoming& operator=(const Incoming&) = delete;

    int fd() const { return fd_; }
    // Takes what is there now: done at the end of the data, failed on an error, and
    // failed too once more than `limit` bytes came (the rest is not waited for).
    State readAvailable(std::size_t limit);
    std::string& data() { return data_; }
    // True when the last readAvailable took anything.
    bool moved() const { return moved_; }

private:
    int fd_;
    std::string data_;
    bool moved_ = false;
};

// Writes `data` into `fd` and closes it; a reader that takes nothing for `patience`
// is given up on.
void SendNow(int fd, const std::string& data, std::chrono::milliseconds patience);
// The same on a thread of its own, so that a program that reads slowly never holds
// up the clipboard.
void SendInBackground(int fd, std::shared_ptr<const std::string> data, std::chrono::milliseconds patience);

} // namespace twk::wayland
