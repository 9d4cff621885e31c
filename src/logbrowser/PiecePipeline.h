#pragma once

#include "logbrowser/BackwardPieces.h"
#include "logbrowser/PieceMatches.h"

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <stop_token>
#include <thread>
#include <vector>

namespace twk::logbrowser {

// Reads the logs of one kind piece by piece, newest first, and matches the
// pieces on worker threads: pieces are cut from a file one after the other
// (each starts where the one before ends), then matched side by side, and
// handed over in their order. A few pieces ahead at most, so memory stays
// bounded whatever the logs' size.
class PiecePipeline {
public:
    PiecePipeline(platform::FileSystem& files, const SearchScope& scope, const Matcher& matcher,
                  std::vector<std::size_t> order, std::atomic<std::uint64_t>* bytesRead, unsigned workers);
    ~PiecePipeline();
    PiecePipeline(const PiecePipeline&) = delete;
    PiecePipeline& operator=(const PiecePipeline&) = delete;

    // The next piece with its matches, in order; null at the end or when stopped.
    std::unique_ptr<PieceMatches> next(const std::stop_token& stop);
    // A piece done with, whose buffer the next one reuses: a fresh buffer of a
    // megabyte costs the system more than reading into it.
    void recycle(std::unique_ptr<PieceMatches> piece);

private:
    void work(const std::stop_token& stop);
    // The next piece of the logs, read; false at their end. Called under mutex_.
    bool cut(PieceMatches& piece);
    bool tooOld(const LogFile& file) const;

    platform::FileSystem& files_;
    const SearchScope& scope_;
    const Matcher& matcher_;
    std::vector<std::size_t> order_;
    std::atomic<std::uint64_t>* bytesRead_;
    std::size_t nextFile_ = 0;
    std::size_t current_ = 0;
    std::unique_ptr<BackwardPieces> pieces_;
    bool continued_ = false;

    std::mutex mutex_;
    std::condition_variable_any changed_;
    std::map<std::uint64_t, std::unique_ptr<PieceMatches>> done_;
    std::vector<std::unique_ptr<PieceMatches>> spare_;
    std::uint64_t cutCount_ = 0; // pieces cut so far
    std::uint64_t handed_ = 0;   // pieces handed over so far
    bool exhausted_ = false;
    std::vector<std::jthread> workers_;
};

} // namespace twk::logbrowser
