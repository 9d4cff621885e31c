#include "CopyTracker.h"

namespace twk::win32 {
namespace {

// Sequence numbers wrap: a is later than b when it is less than half the range ahead.
bool later(std::uint32_t a, std::uint32_t b)
{
    return static_cast<std::int32_t>(a - b) > 0;
}

} // namespace

bool CopyTracker::setCapturing(bool on, std::uint32_t present)
{
    bool askPresent = false;
    if (on && !capturing_) {
        if (told_)
            turnedOnAt_ = present;
        else
            askPresent = true;
        settled_ = present;
    }
    if (!on && capturing_) {
        ++epoch_;
        queue_.clear();
        failed_.reset();
    }
    capturing_ = on;
    told_ = true;
    return askPresent;
}

std::uint32_t CopyTracker::asking()
{
    ++asked_;
    return epoch_;
}

void CopyTracker::arrived(ClipboardRead read)
{
    if (read.requested && asked_ > 0)
        --asked_;
    if (!capturing_)
        return;
    const bool stale = read.requested ? read.tag != epoch_ : turnedOnAt_ && !later(read.sequence, *turnedOnAt_);
    if (stale)
        return;
    if (later(read.sequence, settled_))
        settled_ = read.sequence;
    switch (read.result) {
    case ClipboardRead::Result::read:
        if (failed_ == read.sequence)
            failed_.reset();
        queue_.push({read.mark, std::move(read.text), read.announcedAt, read.sequence});
        break;
    case ClipboardRead::Result::failed:
        failed_ = read.sequence;
        break;
    case ClipboardRead::Result::ours:
    case ClipboardRead::Result::known:
        break;
    }
}

std::vector<platform::ClipboardCopy> CopyTracker::take(std::uint32_t present, bool& askAgain)
{
    askAgain = false;
    if (!capturing_)
        return {};
    // A newer content has its own announcement; the failed one is gone.
    if (failed_ && *failed_ != present)
        failed_.reset();
    if (failed_ && asked_ == 0) {
        askAgain = true;
        failed_.reset();
    }
    return queue_.take();
}

bool CopyTracker::reading(std::uint32_t present, bool presentIsOurs) const
{
    if (!capturing_)
        return false;
    return asked_ > 0 || failed_ || (present != settled_ && !presentIsOurs);
}

} // namespace twk::win32
