#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace twk::platform {

// What a clipboard's owner says of its content beside the text it offers.
enum class ClipboardMark {
    none,
    fileList, // copied files: the text is only their paths, the files are the content
    secret,   // a password manager's secret: not for any clipboard history
};

// The system clipboard in its standard (plain) text format. Texts are in the
// system's 8-bit encoding; line breaks are CR LF as the program's rules expect.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    // The clipboard's text: empty when it holds none, nullopt when it cannot be read
    // (yet): another program holds it, or its owner has not answered.
    virtual std::optional<std::string> text() = 0;
    virtual bool hasText() = 0;
    virtual bool setText(const std::string& text) = 0;
    // Drops every format the clipboard holds.
    virtual bool clear() = 0;
    // A number that changes whenever the clipboard's content changes, ours included,
    // as Windows' GetClipboardSequenceNumber. 0 means it is not known: treat the
    // clipboard as changed.
    virtual std::uint32_t sequenceNumber() = 0;
    // What the owner says of the present content; nullopt when it cannot be read (yet),
    // as for text(). Asked before the text, so that a secret is never transferred.
    virtual std::optional<ClipboardMark> mark() = 0;

    // True when every advance of the sequence number is announced through onChange, so
    // that a reader may sleep until the next one.
    virtual bool announcesChanges() const { return false; }
    std::function<void()> onChange;
};

} // namespace twk::platform
