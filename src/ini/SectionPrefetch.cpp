#include "ini/SectionPrefetch.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <stop_token>
#include <system_error>

namespace twk::ini {

struct SectionPrefetch::Look {
    std::mutex mutex;
    std::condition_variable changed;
    bool done = false;
    std::uint64_t reads = 0; // progress, as seen by a waiter
    std::optional<PrefixSections> names;
};

namespace {

// The files as a look sees them: reads alone, each one counted as progress,
// and none once the look has been told to stop.
class LookReads final : public platform::FileSystem {
public:
    LookReads(platform::FileSystem& files, std::mutex& mutex, std::condition_variable& changed, std::uint64_t& reads,
              std::stop_token stop)
        : files_(files), mutex_(mutex), changed_(changed), reads_(reads), stop_(std::move(stop))
    {
    }

    std::optional<std::string> readRange(const std::string& path, std::uint64_t offset, std::size_t length) override
    {
        if (stop_.stop_requested())
            return std::nullopt;
        auto piece = files_.readRange(path, offset, length);
        progressed();
        return piece;
    }
    std::optional<std::size_t> readInto(const std::string& path, std::uint64_t offset, std::span<char> into) override
    {
        if (stop_.stop_requested())
            return std::nullopt;
        const auto got = files_.readInto(path, offset, into);
        progressed();
        return got;
    }
    std::optional<platform::FileStamp> stamp(const std::string& path) override
    {
        return stop_.stop_requested() ? std::nullopt : files_.stamp(path);
    }
    bool isRegularFile(const std::string& path) override { return files_.isRegularFile(path); }
    // A look writes nothing.
    bool replaceWith(const std::string&, platform::NewFile, const Producer&) override { return false; }
    bool append(const std::string&, std::string_view) override { return false; }
    bool remove(const std::string&) override { return false; }

private:
    void progressed()
    {
        const std::lock_guard lock(mutex_);
        ++reads_;
        changed_.notify_all();
    }

    platform::FileSystem& files_;
    std::mutex& mutex_;
    std::condition_variable& changed_;
    std::uint64_t& reads_;
    std::stop_token stop_;
};

} // namespace

SectionPrefetch::SectionPrefetch(platform::FileSystem& files, std::size_t heldLine,
                                 std::chrono::milliseconds longestStall)
    : files_(files), heldLine_(heldLine), longestStall_(longestStall)
{
}

// The threads are told to stop and joined as they go.
SectionPrefetch::~SectionPrefetch() = default;

void SectionPrefetch::start(const std::string& path, const std::string& prefix)
{
    if (path == path_ && prefix == prefix_ && (look_ || names_))
        return;
    giveUp();
    names_.reset();
    path_ = path;
    prefix_ = prefix;
    std::erase_if(workers_, [](const Worker& worker) {
        const std::lock_guard lock(worker.look->mutex);
        return worker.look->done; // its thread is ending: joined here
    });
    auto look = std::make_shared<Look>();
    try {
        workers_.push_back(
            {look, std::jthread([look, &files = files_, path, prefix, heldLine = heldLine_](std::stop_token stop) {
                 std::optional<PrefixSections> names;
                 try {
                     LookReads reads(files, look->mutex, look->changed, look->reads, std::move(stop));
                     names = PrefixSections::of(reads, path, prefix, heldLine);
                 } catch (...) { // out of memory: the caller searches itself
                     names.reset();
                 }
                 const std::lock_guard lock(look->mutex);
                 look->names = std::move(names);
                 look->done = true;
                 look->changed.notify_all();
             })});
    } catch (const std::system_error&) {
        return; // no thread to be had: the caller searches itself
    }
    look_ = std::move(look);
}

std::optional<bool> SectionPrefetch::holds(const std::string& path, const platform::FileStamp& now,
                                           const std::string& name)
{
    if (path != path_ || !name.starts_with(prefix_))
        return std::nullopt; // not worth waiting for: the look cannot tell
    if (look_)
        names_ = finished();
    if (!names_)
        return std::nullopt;
    if (!names_->catchUp(files_, path, now, heldLine_)) {
        names_.reset(); // another file now: the names tell nothing of it
        return std::nullopt;
    }
    return names_->holds(name);
}

std::optional<PrefixSections> SectionPrefetch::finished()
{
    auto& look = *look_;
    std::unique_lock lock(look.mutex);
    for (auto seen = look.reads; !look.done; seen = look.reads) {
        if (!look.changed.wait_for(lock, longestStall_, [&] { return look.done || look.reads != seen; })) {
            lock.unlock();
            giveUp(); // stuck: the caller searches itself
            return std::nullopt;
        }
    }
    auto names = std::move(look.names);
    lock.unlock();
    look_.reset();
    return names;
}

void SectionPrefetch::giveUp()
{
    for (auto& worker : workers_)
        if (worker.look == look_)
            worker.thread.request_stop();
    look_.reset();
}

} // namespace twk::ini
