#include "logbrowser/PiecePipeline.h"

namespace twk::logbrowser {
namespace {

// Pieces cut but not yet handed over: enough to keep every worker busy.
constexpr std::uint64_t kAhead = 6;

} // namespace

PiecePipeline::PiecePipeline(platform::FileSystem& files, const SearchScope& scope, const Matcher& matcher,
                             std::vector<std::size_t> order, std::atomic<std::uint64_t>* bytesRead, unsigned workers)
    : files_(files), scope_(scope), matcher_(matcher), order_(std::move(order)), bytesRead_(bytesRead)
{
    for (unsigned i = 0; i < std::max(1u, workers); ++i)
        workers_.emplace_back([this](std::stop_token stop) { work(stop); });
}

PiecePipeline::~PiecePipeline()
{
    for (auto& worker : workers_)
        worker.request_stop();
    changed_.notify_all();
    workers_.clear(); // joins
}

bool PiecePipeline::tooOld(const LogFile& file) const
{
    if (scope_.since == 0 || file.named == 0)
        return false;
    const bool wholeDay = file.kind == LogKind::ClipPerDay || file.kind == LogKind::LinkPerDay;
    return (wholeDay ? file.named + 235959 : file.named) < scope_.since;
}

bool PiecePipeline::cut(PieceMatches& piece)
{
    while (true) {
        if (!pieces_) {
            if (nextFile_ >= order_.size())
                return false;
            current_ = order_[nextFile_++];
            if (tooOld(scope_.files[current_]))
                continue;
            const std::uint64_t from = current_ < scope_.from.size() ? scope_.from[current_] : 0;
            const std::uint64_t to = current_ < scope_.to.size() ? scope_.to[current_] : 0;
            pieces_ = std::make_unique<BackwardPieces>(files_, scope_.files[current_].path, from, to, scope_.piece,
                                                       scope_.longestPiece);
            continued_ = false;
        }
        if (!pieces_->next()) {
            pieces_.reset();
            continue;
        }
        const auto length = pieces_->bytes().size();
        piece.offset = pieces_->offset();
        piece.skip = pieces_->exchange(piece.buffer);
        piece.file = current_;
        piece.continued = continued_;
        continued_ = pieces_->startsInsideEntry();
        if (bytesRead_)
            bytesRead_->fetch_add(length, std::memory_order_relaxed);
        return true;
    }
}

void PiecePipeline::work(const std::stop_token& stop)
{
    while (!stop.stop_requested()) {
        std::unique_ptr<PieceMatches> piece;
        std::uint64_t number = 0;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, stop, [&] { return exhausted_ || cutCount_ - handed_ < kAhead; });
            if (stop.stop_requested() || exhausted_)
                return;
            if (spare_.empty()) {
                piece = std::make_unique<PieceMatches>();
            } else {
                piece = std::move(spare_.back());
                spare_.pop_back();
                piece->hits.clear();
                piece->last.reset();
                piece->hasEntries = piece->leadingMatches = piece->continued = false;
            }
            // Reading stays in order under the lock; matching, the most of the work, runs side by side.
            if (!cut(*piece)) {
                exhausted_ = true;
                changed_.notify_all();
                return;
            }
            number = cutCount_++;
        }
        matchPiece(scope_, matcher_, *piece);
        std::lock_guard lock(mutex_);
        done_.emplace(number, std::move(piece));
        changed_.notify_all();
    }
}

void PiecePipeline::recycle(std::unique_ptr<PieceMatches> piece)
{
    std::lock_guard lock(mutex_);
    if (spare_.size() < kAhead)
        spare_.push_back(std::move(piece));
}

std::unique_ptr<PieceMatches> PiecePipeline::next(const std::stop_token& stop)
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, stop, [&] { return done_.count(handed_) || (exhausted_ && handed_ == cutCount_); });
    const auto found = done_.find(handed_);
    if (found == done_.end())
        return nullptr;
    auto piece = std::move(found->second);
    done_.erase(found);
    ++handed_;
    changed_.notify_all();
    return piece;
}

} // namespace twk::logbrowser
