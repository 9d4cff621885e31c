#pragma once

#include "logbrowser/SearchThread.h"

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace twk::logbrowser {

// Searches that a newer one replaced. Each is told to stop at once and is
// ended on a thread of its own, so the caller (the window, while the user
// types) never waits for a piece still being read or matched. A retired
// search's rows can reach no one: only this object holds it. Destroying this
// object waits for them all, as they read through a file system their owner
// must outlive.
class RetiredSearches {
public:
    RetiredSearches() = default;
    ~RetiredSearches();
    RetiredSearches(const RetiredSearches&) = delete;
    RetiredSearches& operator=(const RetiredSearches&) = delete;

    void retire(std::unique_ptr<SearchThread> search);
    // Retired searches not yet ended.
    std::size_t ending() const;

private:
    struct Ending {
        std::shared_ptr<std::atomic<bool>> ended;
        std::jthread thread;
    };
    std::vector<Ending> endings_;
};

} // namespace twk::logbrowser
