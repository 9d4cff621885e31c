#include "platform/CopyQueue.h"

#include <iterator>

namespace twk::platform {

void CopyQueue::push(ClipboardCopy copy)
{
    bytes_ += copy.text.size();
    copies_.push_back(std::move(copy));
    while (copies_.size() > 1 && (copies_.size() > mostCopies_ || bytes_ > mostBytes_)) {
        bytes_ -= copies_.front().text.size();
        copies_.pop_front();
        ++dropped_;
    }
}

std::vector<ClipboardCopy> CopyQueue::take()
{
    std::vector<ClipboardCopy> taken(std::make_move_iterator(copies_.begin()), std::make_move_iterator(copies_.end()));
    clear();
    return taken;
}

void CopyQueue::clear()
{
    copies_.clear();
    bytes_ = 0;
}

} // namespace twk::platform
