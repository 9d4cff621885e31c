#pragma once

#include "platform/Clipboard.h"

#include <cstddef>
#include <deque>
#include <vector>

namespace twk::platform {

// The copies a clipboard has read and the tick has not taken yet. A burst of copies,
// or of huge ones, between two ticks is bounded: past kMostCopies copies or kMostBytes
// of text waiting, the oldest are dropped, never the newest (which alone may exceed the
// bound: it is the clipboard's present content). Not locked: its owner serialises.
class CopyQueue {
public:
    static constexpr std::size_t kMostCopies = 1000;
    static constexpr std::size_t kMostBytes = std::size_t(64) << 20;

    explicit CopyQueue(std::size_t mostCopies = kMostCopies, std::size_t mostBytes = kMostBytes)
        : mostCopies_(mostCopies), mostBytes_(mostBytes)
    {
    }

    void push(ClipboardCopy copy);
    std::vector<ClipboardCopy> take();
    void clear();
    bool empty() const { return copies_.empty(); }
    // Copies dropped for the bound since the queue was made.
    std::size_t dropped() const { return dropped_; }

private:
    std::size_t mostCopies_;
    std::size_t mostBytes_;
    std::deque<ClipboardCopy> copies_;
    std::size_t bytes_ = 0;
    std::size_t dropped_ = 0;
};

} // namespace twk::platform
