#pragma once

#include "ClipboardReader.h"
#include "platform/Clipboard.h"
#include "platform/CopyQueue.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace twk::win32 {

// The interface thread's account of what the reading thread reads: which reads
// become copies for the tick, which are dropped, and which are asked again. It
// knows the clipboard only by the sequence numbers it is given.
//   - Capture off drops every copy waiting and every read still under way; nothing
//     is read until it is on again.
//   - The first turn on asks for the present content (the text on the clipboard at
//     start); a later one reads only the changes announced after it.
//   - A read that failed is asked again at the next tick while its content is still
//     the present one (another program held the clipboard, its owner did not answer).
class CopyTracker {
public:
    // Capture switched on or off while the clipboard's sequence number is `present`;
    // true when a read of the present content is to be asked for.
    bool setCapturing(bool on, std::uint32_t present);
    bool capturing() const { return capturing_; }

    // A read is asked for now: the tag it is to carry.
    std::uint32_t asking();
    void arrived(ClipboardRead read);

    // The copies waiting, oldest first. `askAgain` says whether a read of the present
    // content (`present`) is to be asked for again.
    std::vector<platform::ClipboardCopy> take(std::uint32_t present, bool& askAgain);

    // Whether a read is still to come for the content `present`: asked for and not
    // arrived, failed and to be asked again, or announced and not handled yet. The
    // program's own content is never read as a change.
    bool reading(std::uint32_t present, bool presentIsOurs) const;

private:
    bool capturing_ = false;
    bool told_ = false;
    // Raised at every turn off: a read asked for before carries an older tag.
    std::uint32_t epoch_ = 0;
    // The content when capture was turned on again: announced reads of it or of older
    // content are of changes made while capture was off.
    std::optional<std::uint32_t> turnedOnAt_;
    // The newest content the reader has handled.
    std::uint32_t settled_ = 0;
    int asked_ = 0;
    std::optional<std::uint32_t> failed_;
    platform::CopyQueue queue_;
};

} // namespace twk::win32
