#include "logbrowser/LogSearch.h"

#include "logbrowser/PiecePipeline.h"

#include <algorithm>
#include <memory>

namespace twk::logbrowser {
namespace {

// The logs of one kind, newest file first, each read back from its end.
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
        if (!pipeline_ && !order_.empty())
            pipeline_ = std::make_unique<PiecePipeline>(files_, scope_, matcher_, order_, bytesRead_, scope_.workers);
        while (pending_.empty() && pipeline_ && !stop.stop_requested()) {
            auto piece = pipeline_->next(stop);
            if (!piece) {
                pipeline_.reset();
                break;
            }
            take(std::move(piece));
        }
        return pending_.empty() ? nullptr : &pending_.back();
    }

    void pop() { pending_.pop_back(); }

private:
    void take(std::unique_ptr<PieceMatches> piece)
    {
        // A match in the leading lines of the piece after it (read before
        // it) makes this piece's last entry a match.
        const bool carriedIn = carried_ && piece->continued && piece->file == carriedFile_;
        carried_ = piece->leadingMatches || (carriedIn && !piece->hasEntries);
        carriedFile_ = piece->file;
        pending_.swap(piece->hits); // no copy: the piece takes the spent vector back
        if (carriedIn && piece->last && (pending_.empty() || pending_.back().offset != piece->last->offset) &&
            (scope_.since == 0 || piece->last->time >= scope_.since))
            pending_.push_back(*piece->last);
        if (piece_ && pipeline_)
            pipeline_->recycle(std::move(piece_));
        piece_ = std::move(piece); // the hits view its bytes
    }

    platform::FileSystem& files_;
    const SearchScope& scope_;
    const Matcher& matcher_;
    std::atomic<std::uint64_t>* bytesRead_;
    std::vector<std::size_t> order_;
    std::unique_ptr<PiecePipeline> pipeline_;
    std::unique_ptr<PieceMatches> piece_;
    bool carried_ = false;
    std::size_t carriedFile_ = 0;
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
