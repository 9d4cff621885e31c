#pragma once

#include "ClipboardFetcher.h"
#include "platform/Clipboard.h"
#include "platform/CopyQueue.h"

#include <QObject>

#include <memory>
#include <optional>

namespace twk::qt {

// The system clipboard, plain text only. Texts reach the core with CR LF line breaks; a
// text the core puts back unchanged goes back exactly as it came.
//
// On X11 another program's copies are followed and read off the interface thread as they
// are made (ClipboardFetcher), and wait there for the tick. Elsewhere (no X11 display) the
// toolkit reads each change it announces, at once. Our own content comes from Qt, and is
// put there as UTF-8 bytes: a huge text never becomes UTF-16.
class QtClipboard final : public QObject, public platform::Clipboard {
public:
    // Follows the clipboard at once when the toolkit is made, otherwise from attach().
    QtClipboard();
    ~QtClipboard() override;

    // Follows the clipboard's changes; once the toolkit is made.
    void attach();

    void setCapturing(bool on) override;
    std::vector<platform::ClipboardCopy> takeCopies() override;
    bool reading() const override;
    void readPresent() override;
    bool putBack(platform::ClipboardToken token, const std::string& text) override;
    bool clearIf(platform::ClipboardToken token) override;

    std::optional<std::string> text() override;
    bool hasText() override;
    bool setText(const std::string& text) override;
    bool clear() override;
    std::uint32_t sequenceNumber() override { return sequence_; }
    std::optional<platform::ClipboardMark> mark() override;
    bool announcesChanges() const override { return true; }

    // Our own text on the clipboard as other programs get it (LF line breaks, UTF-8);
    // nullopt when another program owns the clipboard.
    std::optional<std::string> ownText() const;

private:
    bool servedByQt() const;
    void changed();
    // The content Qt holds now, read as a copy (our own, or any without X11).
    void queueFromQt();
    std::optional<std::string> qtText();
    bool holds(platform::ClipboardToken token) const;

    bool attached_ = false;
    bool capturing_ = false;
    bool told_ = false;
    bool firstOn_ = false; // the first word of the core was "on": the start content counts
    std::uint32_t sequence_ = 1;
    std::unique_ptr<ClipboardFetcher> fetcher_;
    // Copies read from Qt itself: without X11 each change, with it our own content read
    // again. They come after the fetcher's.
    platform::CopyQueue fromQt_;
    // The newest copy's bytes as its owner gave them: its text goes back as these bytes
    // while it is the same. Kept for the tick that took it.
    QByteArray lastRaw_;
    std::uint64_t handOvers_ = 0;
};

} // namespace twk::qt
