#pragma once

#include "QtClipboard.h"
#include "platform/Clipboard.h"
#include "platform/CopyQueue.h"
#include "wayland/SelectionService.h"
#include "wayland/XWaylandOwner.h"

#include <QObject>

#include <memory>
#include <optional>
#include <string>

namespace twk::wayland {

// The clipboard of a Wayland session, through the compositor's data-control protocol:
// every application's copy is seen, whatever window has the keyboard, and our text is
// set in one step. Another program's content is fetched off the interface thread when
// it changes (SelectionService) and is not readable until it has arrived; the fetched
// text is handed to the core, not copied, so reading it again takes a new fetch.
// An X11 application's copy that the compositor keeps to XWayland (it passes one on
// only while an X11 window has the keyboard) is read there (QtClipboard) and counts as
// the clipboard's content until the next change; our put-back brings it to Wayland.
class WaylandClipboard final : public QObject, public platform::Clipboard {
public:
    // nullptr where the session is not Wayland or its compositor has no data-control.
    static std::unique_ptr<WaylandClipboard> connect();
    ~WaylandClipboard() override;

    // The protocol in use, to say which route the clipboard takes.
    const char* protocolName() const { return protocolName_; }
    // Follows the clipboard's changes and fetches what it holds; once the toolkit is
    // made, which delivers what the service finds.
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
    // nullopt when another program's content is there.
    std::optional<std::string> ownText() const;

private:
    explicit WaylandClipboard(std::unique_ptr<DataControl> control);
    void changed(std::uint32_t serial, bool ours);
    void x11Changed();
    void advance();
    void arrived(std::uint32_t serial, std::optional<FetchedContent> content);
    void requestFetch();
    void takeX11Copies(std::vector<platform::ClipboardCopy>& copies);
    bool holds(platform::ClipboardToken token) const;

    std::unique_ptr<DataControl> control_; // until attached
    const char* protocolName_;
    std::unique_ptr<SelectionService> service_;
    std::uint32_t serial_ = 0;   // the compositor's content, 0 until it has said
    std::uint32_t sequence_ = 0; // every change, XWayland's included
    bool ours_ = false;
    // XWayland's clipboard, and whether an X11 application's copy there is the content.
    std::unique_ptr<qt::QtClipboard> x11_;
    std::unique_ptr<XWaylandOwner> x11Owner_;
    bool fromX11_ = false;
    std::shared_ptr<const std::string> own_; // the text we set last, LF and UTF-8
    std::optional<std::uint32_t> pending_;   // the serial a fetch is under way for
    struct Fetched {
        std::uint32_t serial;
        std::optional<FetchedContent> content; // nullopt: the owner did not answer
    };
    std::optional<Fetched> fetched_;

    // Copies, read when announced.
    bool capturing_ = false;
    bool told_ = false;
    platform::CopyQueue copies_;
    std::optional<std::uint32_t> copyWanted_; // the serial whose copy is being read
    platform::ClipboardToken copyToken_ = 0;  // the change it was announced as
    std::string lastTaken_;                   // the text of the last Wayland copy taken
};

} // namespace twk::wayland
