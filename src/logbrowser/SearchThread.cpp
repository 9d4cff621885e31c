#include "logbrowser/SearchThread.h"

#include "logbrowser/LineBreaks.h"

#include <algorithm>

namespace twk::logbrowser {

std::string firstLineOf(std::string_view text, std::size_t limit)
{
    auto line = text.substr(0, findBreak(text));
    if (line.size() > limit) {
        std::size_t cut = limit;
        while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80)
            --cut;
        line = line.substr(0, cut);
    }
    return std::string(line);
}

SearchThread::SearchThread(platform::FileSystem& files, SearchScope scope, Matcher matcher, std::size_t keep)
    : files_(files), scope_(std::move(scope)), matcher_(std::move(matcher)), keep_(keep),
      thread_([this](std::stop_token stop) { run(stop); })
{
}

SearchThread::~SearchThread()
{
    thread_.request_stop();
    thread_.join();
}

void SearchThread::run(std::stop_token stop)
{
    std::uint64_t kept = 0;
    searchLogs(
        files_, scope_, matcher_,
        [&](const Hit& hit) {
            if (kept < keep_) {
                // Handed over at once: a lone match must not wait for the next
                // one, or for the end of the search, to be shown.
                FoundRow row{hit.file, hit.offset, hit.time, firstLineOf(hit.text)};
                std::lock_guard lock(mutex_);
                found_.push_back(std::move(row));
                ++kept;
            }
            // This thread alone writes it: a store, not a locked add, for each of millions of matches.
            matches_.store(matches_.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
            return true;
        },
        stop, &bytesRead_);
    done_.store(true);
}

void SearchThread::stop()
{
    thread_.request_stop();
}

std::vector<FoundRow> SearchThread::take(std::size_t max)
{
    std::lock_guard lock(mutex_);
    const std::size_t count = std::min(max, found_.size() - taken_);
    std::vector<FoundRow> rows(std::make_move_iterator(found_.begin() + static_cast<std::ptrdiff_t>(taken_)),
                               std::make_move_iterator(found_.begin() + static_cast<std::ptrdiff_t>(taken_ + count)));
    taken_ += count;
    if (taken_ == found_.size()) {
        found_.clear();
        taken_ = 0;
    }
    return rows;
}

bool SearchThread::finished() const
{
    std::lock_guard lock(mutex_);
    return done_.load() && taken_ == found_.size();
}

} // namespace twk::logbrowser
