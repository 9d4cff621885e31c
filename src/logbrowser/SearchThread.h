#pragma once

#include "logbrowser/LogSearch.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace twk::logbrowser {

// A match as a list shows it: where it is, its time and its first line.
struct FoundRow {
    std::size_t file = 0;
    std::uint64_t offset = 0;
    LogTime time = 0;
    std::string firstLine;
};

// The text's first line, at most limit bytes, never cut inside a UTF-8 character.
std::string firstLineOf(std::string_view text, std::size_t limit = 240);

// One search on a thread of its own. The window takes what was found at its
// own pace, so it never waits for the disk; the first `keep` matches are
// kept for it and the rest only counted, so memory stays bounded however many
// entries match. Destroying it stops the search at its next piece or match.
class SearchThread {
public:
    SearchThread(platform::FileSystem& files, SearchScope scope, Matcher matcher, std::size_t keep);
    ~SearchThread();
    SearchThread(const SearchThread&) = delete;
    SearchThread& operator=(const SearchThread&) = delete;

    // The rows found since the last call, at most max, newest first.
    std::vector<FoundRow> take(std::size_t max);
    std::uint64_t matches() const { return matches_.load(); }
    std::uint64_t bytesRead() const { return bytesRead_.load(); }
    // True once every log was read and every kept row taken.
    bool finished() const;
    bool searching() const { return !done_.load(); }
    // Asks the search to end at its next piece or match, without waiting.
    void stop();

private:
    void run(std::stop_token stop);

    platform::FileSystem& files_;
    SearchScope scope_;
    Matcher matcher_;
    std::size_t keep_;
    std::atomic<std::uint64_t> matches_{0};
    std::atomic<std::uint64_t> bytesRead_{0};
    std::atomic<bool> done_{false};
    mutable std::mutex mutex_;
    std::vector<FoundRow> found_;
    std::size_t taken_ = 0;
    std::jthread thread_; // last: it starts when everything above is ready
};

} // namespace twk::logbrowser
