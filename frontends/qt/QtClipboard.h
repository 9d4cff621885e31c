#pragma once

#include "ClipboardFetcher.h"
#include "platform/Clipboard.h"

#include <QObject>

#include <memory>
#include <optional>

namespace twk::qt {

// The system clipboard, plain text only. Texts reach the core with CR LF line
// breaks; a text the core puts back unchanged goes back exactly as it came.
// Its sequence number advances at every change Qt announces (on X11 the
// server's selection-owner events). On X11 another program's clipboard is
// fetched off the interface thread when it changes (ClipboardFetcher), and is not
// readable until it has arrived; the fetched text is handed to the core, not
// copied, so reading it again takes a new fetch. Our own content comes from Qt
// at once, and is put there as UTF-8 bytes: a huge text never becomes UTF-16.
class QtClipboard final : public QObject, public platform::Clipboard {
public:
    // Follows the clipboard at once when the toolkit is made, otherwise from attach().
    QtClipboard();
    ~QtClipboard() override;

    // Follows the clipboard's changes and fetches what it holds; once the toolkit is made.
    void attach();

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
    struct Fetched {
        std::uint32_t sequence;
        std::optional<FetchedClipboard> content; // nullopt: the owner did not answer
    };

    bool servedByQt() const;
    void changed();
    void requestFetch();
    void arrived(std::uint32_t sequence, std::optional<FetchedClipboard> content);
    std::optional<std::string> qtText();

    bool attached_ = false;
    std::uint32_t sequence_ = 1;
    std::unique_ptr<ClipboardFetcher> fetcher_;
    std::optional<std::uint32_t> pending_; // the sequence a fetch is under way for
    std::optional<Fetched> fetched_;
    // The text last given to the core as it came: the core's text goes back as these
    // bytes while it is the same. Kept for the tick that read a fetched text.
    QByteArray lastRaw_;
    std::uint64_t handOvers_ = 0;
};

} // namespace twk::qt
