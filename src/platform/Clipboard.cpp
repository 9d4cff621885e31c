#include "platform/Clipboard.h"

namespace twk::platform {

// A clipboard that cannot read its copies when they are announced is read here, at the
// tick: at most its latest content, once per change of the sequence number.

void Clipboard::setCapturing(bool on)
{
    if (on && !capturing_) {
        if (told_)
            readSequence_ = sequenceNumber(); // what was copied while off stays unread
        else
            readSequence_.reset(); // the text on the clipboard at start counts
    }
    told_ = true;
    capturing_ = on;
    if (!on)
        unread_ = false;
}

std::vector<ClipboardCopy> Clipboard::takeCopies()
{
    if (!capturing_)
        return {};
    const auto sequence = sequenceNumber();
    if (sequence != 0 && readSequence_ == sequence)
        return {};
    // A file list or a secret is never read further than its mark.
    const auto marked = mark();
    std::optional<std::string> read;
    if (marked == ClipboardMark::none)
        read = text();
    unread_ = !marked || (*marked == ClipboardMark::none && !read);
    if (unread_)
        return {}; // asked again at the next tick
    readSequence_ = sequence;
    std::vector<ClipboardCopy> copies(1);
    copies[0].mark = *marked;
    copies[0].text = read ? std::move(*read) : std::string();
    copies[0].token = sequence;
    return copies;
}

bool Clipboard::reading() const
{
    return unread_;
}

void Clipboard::readPresent()
{
    readSequence_.reset();
}

bool Clipboard::putBack(ClipboardToken token, const std::string& text)
{
    if (token != 0 && token != sequenceNumber())
        return false;
    if (!setText(text))
        return false;
    readSequence_ = sequenceNumber(); // our own write is no copy
    return true;
}

bool Clipboard::clearIf(ClipboardToken token)
{
    if (token != 0 && token != sequenceNumber())
        return false;
    if (!clear())
        return false;
    readSequence_ = sequenceNumber();
    return true;
}

} // namespace twk::platform
