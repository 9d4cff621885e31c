#pragma once

#include "platform/Environment.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace twk::platform {

// What a clipboard's owner says of its content beside the text it offers.
enum class ClipboardMark {
    none,
    fileList, // copied files: the text is only their paths, the files are the content
    secret,   // a password manager's secret: not for any clipboard history
};

// Names one content of the clipboard, from the moment it was put there until the next
// change: X11 the owner's window and its selection time stamp, Windows the clipboard's
// sequence number, Wayland a count of the selection events. Equal tokens mean the same
// content. 0 means not known: the guarded writes below then act as unguarded ones.
using ClipboardToken = std::uint64_t;

// One content of the clipboard as it was read when its change was announced.
struct ClipboardCopy {
    // A marked copy was never read: its text is empty.
    ClipboardMark mark = ClipboardMark::none;
    // The plain text, in the core's form (UTF-8, CR LF line
    // breaks); empty when the content offers no text.
    std::string text;
    // The local time at which the change was announced (the second the user copied);
    // nullopt when the clipboard cannot tell (the reader then takes the present time).
    std::optional<LocalDateTime> copiedAt;
    ClipboardToken token = 0;
};

// The system clipboard in its standard (plain) text format. Texts are UTF-8 on every
// system; line breaks are CR LF as the program's rules expect.
//
// The polling tick reads copies, not the clipboard: a clipboard reads each content of
// another program when its change is announced and keeps it for the tick
// (takeCopies), so that every copy made between two ticks reaches the log. The members
// with a body below serve a clipboard that cannot do so: it is read at the tick, once
// per change of its sequence number, and so yields at most the latest copy.
class Clipboard {
public:
    virtual ~Clipboard() = default;

    // ---- Copies, as the polling tick takes them ----

    // Capture on or off, from the core, before anything is read and at every change of
    // the setting. While off, nothing of the clipboard is read at all: a change is
    // announced (onChange) but no format is asked for beyond what learning of the change
    // itself needs (on X11 the XFixes event alone: no TARGETS, no text), copies queued
    // and reads under way are dropped, and takeCopies() gives nothing. When the first call
    // of the run says on, the content the clipboard holds then is read as a copy (the text
    // on the clipboard at start is captured). Any later turn on reads only the changes
    // announced from then on: a copy made while capture was off stays unread. A new
    // clipboard is off until told, and reads nothing before.
    virtual void setCapturing(bool on);

    // Every copy read since the last call, oldest first, and forgets them. A copy is one
    // announced change of another program's content, read once (one transfer), marks
    // first: a marked content's text is never read. A change whose content was gone
    // before it could be read (overtaken by the next), or whose owner did not answer
    // within a bound, yields no copy; the program's own writes yield none either. What
    // waits here is bounded (CopyQueue): past the bound the oldest are dropped, never the
    // newest.
    virtual std::vector<ClipboardCopy> takeCopies();

    // True while a change has been announced (or readPresent asked for) whose read has not
    // ended yet: its copy, if any, will come. onChange is called again when it has ended.
    virtual bool reading() const;

    // Reads the content the clipboard holds now once more, as a copy of its own (the core
    // forgot the last one it captured). Nothing while capture is off.
    virtual void readPresent();

    // Replaces the whole content of the clipboard with `text` alone, in one step (no
    // moment at which the clipboard is empty), but only while it still holds the content
    // `token` names. False when it holds another content (it is left as it is) or the
    // write failed (the clipboard keeps what it held). A true result is no change to
    // announce as a copy.
    virtual bool putBack(ClipboardToken token, const std::string& text);

    // Empties the clipboard of every format, but only while it still holds the content
    // `token` names; false otherwise or when it cannot be emptied.
    virtual bool clearIf(ClipboardToken token);

    // ---- The present content, read or written now ----

    // The clipboard's text: empty when it holds none, nullopt when it cannot be read
    // (yet): another program holds it, or its owner has not answered.
    virtual std::optional<std::string> text() = 0;
    virtual bool hasText() = 0;
    // Replaces the content with the text alone, unguarded.
    virtual bool setText(const std::string& text) = 0;
    // Drops every format the clipboard holds, unguarded (the tray's "Clear Clipboard").
    virtual bool clear() = 0;
    // A number that changes whenever the clipboard's content changes, ours included,
    // as Windows' GetClipboardSequenceNumber. 0 means it is not known: treat the
    // clipboard as changed.
    virtual std::uint32_t sequenceNumber() = 0;
    // What the owner says of the present content; nullopt when it cannot be read (yet),
    // as for text(). Asked before the text, so that a secret is never transferred.
    virtual std::optional<ClipboardMark> mark() = 0;

    // True when every change is announced through onChange, and so is the end of every
    // read that reading() waited for: a reader may sleep until the next call.
    virtual bool announcesChanges() const { return false; }
    std::function<void()> onChange;

private:
    // For a clipboard read at the tick: capture on, whether it has been told yet, the
    // sequence number of the content last read, and whether that read failed.
    bool capturing_ = false;
    bool told_ = false;
    std::optional<std::uint32_t> readSequence_;
    bool unread_ = false;
};

} // namespace twk::platform
