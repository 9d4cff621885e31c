#pragma once

#include "platform/Clipboard.h"

#include <QObject>

namespace twk::qt {

// The system clipboard, plain text only. Texts reach the core with CR LF line
// breaks; a text the core puts back unchanged goes back exactly as it came.
// Its sequence number advances at every change Qt announces (on X11 the
// server's selection-owner events).
class QtClipboard final : public QObject, public platform::Clipboard {
public:
    QtClipboard();

    std::optional<std::string> text() override;
    bool hasText() override;
    bool setText(const std::string& text) override;
    bool clear() override;
    std::uint32_t sequenceNumber() override { return sequence_; }
    std::optional<platform::ClipboardMark> mark() override;

private:
    std::uint32_t sequence_ = 1;
    std::string lastRaw_;
    std::string lastConverted_;
};

} // namespace twk::qt
