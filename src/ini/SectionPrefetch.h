#pragma once

#include "ini/PrefixSections.h"
#include "platform/FileSystem.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace twk::ini {

// Looks through a log on a thread of its own for the section names a
// capture of the day could collide with (PrefixSections), while the program
// is busy starting, so that its first write does not have to.
//
// An answer is waited for while the look makes progress; one that stops
// making progress (a file system that hangs) is given up after a while, and
// the caller searches itself. The thread only reads; it is told to stop,
// and joined, when the prefetch ends, and a stopped look ends at its next
// read, so a program that ends early never waits for a huge file.
class SectionPrefetch {
public:
    static constexpr std::chrono::milliseconds kLongestStall{1000};

    explicit SectionPrefetch(platform::FileSystem& files, std::size_t heldLine = IniScan::kHeldLine,
                             std::chrono::milliseconds longestStall = kLongestStall);
    ~SectionPrefetch();
    SectionPrefetch(const SectionPrefetch&) = delete;
    SectionPrefetch& operator=(const SectionPrefetch&) = delete;

    // Starts looking through the file for the names that begin with prefix.
    // A look at another file or prefix is given up; the same one goes on.
    void start(const std::string& path, const std::string& prefix);

    // Whether the file, whose stamp is now, has a section line that names
    // name; nothing when the look cannot tell (not started for this file,
    // failed or stuck; a name of another day; the file replaced, shrunk or
    // changed otherwise than by growing).
    std::optional<bool> holds(const std::string& path, const platform::FileStamp& now, const std::string& name);

private:
    struct Look; // what the thread shares with the caller
    struct Worker {
        std::shared_ptr<Look> look;
        std::jthread thread; // told to stop and joined when dropped
    };
    // The names, once the running look has finished; nothing when it failed or got stuck.
    std::optional<PrefixSections> finished();
    // Tells the running look to stop and leaves it.
    void giveUp();

    platform::FileSystem& files_;
    std::size_t heldLine_;
    std::chrono::milliseconds longestStall_;
    std::string path_;
    std::string prefix_;
    std::shared_ptr<Look> look_;          // the running look, if any
    std::optional<PrefixSections> names_; // its result, followed as the file grows
    std::vector<Worker> workers_;
};

} // namespace twk::ini
