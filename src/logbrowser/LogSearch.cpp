#include "logbrowser/LogSearch.h"

#include "logbrowser/AsciiFold.h"
#include "logbrowser/BackwardPieces.h"
#include "logbrowser/LogEntries.h"

#include <algorithm>
#include <memory>

namespace twk::logbrowser {
namespace {

// The logs of one kind, newest file first, read back from the end.
class Stream {
public:
    Stream(platform::FileSystem& files, const SearchScope& scope, const Matcher& matcher,
           std::atomic<std::uint64_t>* bytesRead)
        : files_(files), scope_(scope), matcher_(matcher), bytesRead_(bytesRead)
    {
    }

    void add(std::size_t file) { order_.push_back(file); }

    // The newest entry not yet handed over, reading on as needed; null at the end.
    const Hit* head(const std::stop_token& stop)
    {
        while (pending_.empty() && !stop.stop_requested()) {
            if (!pieces_ && !openNext())
                return nullptr;
            if (!pieces_->next()) {
                pieces_.reset();
                continue;
            }
            readPiece();
        }
        return pending_.empty() ? nullptr : &pending_.back();
    }

    void pop() { pending_.pop_back(); }

private:
    bool tooOld(const LogFile& file) const
    {
        if (scope_.since == 0 || file.named == 0)
            return false;
        const bool wholeDay = file.kind == LogKind::ClipPerDay || file.kind == LogKind::LinkPerDay;
        return (wholeDay ? file.named + 235959 : file.named) < scope_.since;
    }

    bool openNext()
    {
        while (next_ < order_.size()) {
            current_ = order_[next_++];
            if (tooOld(scope_.files[current_]))
                continue;
            const std::uint64_t from = current_ < scope_.from.size() ? scope_.from[current_] : 0;
            const std::uint64_t to = current_ < scope_.to.size() ? scope_.to[current_] : 0;
            pieces_ = std::make_unique<BackwardPieces>(files_, scope_.files[current_].path, from, to, scope_.piece,
                                                       scope_.longestPiece);
            carried_ = false;
            return true;
        }
        return false;
    }

    void readPiece()
    {
        const auto bytes = pieces_->bytes();
        if (bytesRead_)
            bytesRead_->fetch_add(bytes.size(), std::memory_order_relaxed);
        // A piece without the bytes every match holds has no match.
        const auto& anchor = matcher_.anchor();
        if (!carried_ && !anchor.empty() && findAsciiFolded(bytes, anchor) == std::string_view::npos)
            return;
        const LogFile& file = scope_.files[current_];
        readEntries(bytes, pieces_->offset(), isLinkLog(file.kind), entries_);
        // The lines of an entry that starts further back, read with a later
        // piece, make its last entry a match.
        const bool carriedIn = carried_;
        carried_ = !entries_.leading.empty() && matcher_.matches(entries_.leading);
        if (entries_.entries.empty()) {
            carried_ = carried_ || carriedIn;
            return;
        }
        const auto& entries = entries_.entries;
        const auto take = [&](std::size_t i) {
            const Entry& entry = entries[i];
            const LogTime time = entryTime(file, entry);
            if (scope_.since == 0 || time >= scope_.since)
                pending_.push_back(Hit{current_, entry.offset, time, entry.section, entry.key, entry.text});
        };
        if (anchor.empty()) {
            for (std::size_t i = 0; i < entries.size(); ++i)
                if ((carriedIn && i + 1 == entries.size()) || matcher_.matches(entries[i].text))
                    take(i);
            return;
        }
        // Only the entries that hold the anchor somewhere need a closer look:
        // the anchor is looked for once through the whole piece.
        const char* base = bytes.data();
        std::size_t i = 0;
        std::size_t from = 0;
        while (i < entries.size()) {
            const auto hit = findAsciiFolded(bytes, anchor, from);
            if (hit == std::string_view::npos)
                break;
            while (i < entries.size() &&
                   static_cast<std::size_t>(entries[i].text.data() - base) + entries[i].text.size() <
                       hit + anchor.size())
                ++i;
            if (i == entries.size())
                break;
            const auto textBegin = static_cast<std::size_t>(entries[i].text.data() - base);
            if (hit >= textBegin && matcher_.matches(entries[i].text))
                take(i);
            // On from the end of this entry's text, or from the hit when it lay before the text.
            from = hit >= textBegin ? textBegin + entries[i].text.size() : hit + 1;
            if (hit >= textBegin)
                ++i;
        }
        if (carriedIn && (pending_.empty() || pending_.back().offset != entries.back().offset))
            take(entries.size() - 1);
    }

    platform::FileSystem& files_;
    const SearchScope& scope_;
    const Matcher& matcher_;
    std::atomic<std::uint64_t>* bytesRead_;
    std::vector<std::size_t> order_;
    std::size_t next_ = 0;
    std::size_t current_ = 0;
    std::unique_ptr<BackwardPieces> pieces_;
    PieceEntries entries_;
    bool carried_ = false;
    std::vector<Hit> pending_; // in file order: the newest is last
};

int streamOf(LogKind kind)
{
    return static_cast<int>(kind);
}

// Hands over the heads of the streams, newest first; false when stopped.
bool merge(std::vector<std::unique_ptr<Stream>>& streams, const std::function<bool(const Hit&)>& found,
           const std::stop_token& stop)
{
    while (true) {
        if (stop.stop_requested())
            return false;
        Stream* newest = nullptr;
        const Hit* newestHit = nullptr;
        for (std::size_t i = 0; i < streams.size();) {
            const Hit* hit = streams[i]->head(stop);
            if (!hit && !stop.stop_requested()) {
                streams.erase(streams.begin() + static_cast<std::ptrdiff_t>(i));
                continue;
            }
            if (hit && (!newestHit || hit->time > newestHit->time)) {
                newest = streams[i].get();
                newestHit = hit;
            }
            ++i;
        }
        if (stop.stop_requested())
            return false;
        if (!newest)
            return true;
        if (!found(*newestHit))
            return false;
        newest->pop();
    }
}

} // namespace

bool searchLogs(platform::FileSystem& files, const SearchScope& scope, const Matcher& matcher,
                const std::function<bool(const Hit&)>& found, std::stop_token stop,
                std::atomic<std::uint64_t>* bytesRead)
{
    const auto wanted = [&](std::size_t file) {
        return scope.only.empty() || std::find(scope.only.begin(), scope.only.end(), file) != scope.only.end();
    };
    if (scope.first && *scope.first < scope.files.size() && wanted(*scope.first)) {
        std::vector<std::unique_ptr<Stream>> firstOnly;
        firstOnly.push_back(std::make_unique<Stream>(files, scope, matcher, bytesRead));
        firstOnly.front()->add(*scope.first);
        if (!merge(firstOnly, found, stop))
            return false;
    }
    constexpr int kKinds = 5;
    std::vector<std::unique_ptr<Stream>> streams;
    for (int kind = 0; kind < kKinds; ++kind)
        streams.push_back(std::make_unique<Stream>(files, scope, matcher, bytesRead));
    for (std::size_t i = 0; i < scope.files.size(); ++i)
        if (i != scope.first && wanted(i))
            streams[static_cast<std::size_t>(streamOf(scope.files[i].kind))]->add(i);
    return merge(streams, found, stop);
}

} // namespace twk::logbrowser
