#pragma once

#include "platform/Clipboard.h"
#include "platform/CopyQueue.h"

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace twk::testing {

// A clipboard the test sets. By default it reads each copy of another program when the copy
// is made (copy()), as the desktop clipboards do; with readsAtCopy false it is read at the
// tick through the seam's own members, as a clipboard that cannot. Its owner may stay
// silent (reads wait until answer()), and it can refuse to be opened (locked), as one held
// by another program does. Its sequence number, the token of its content, advances at every
// copy and whenever what it holds differs from what it held when last asked, so a test may
// also set its fields directly.
class FakeClipboard : public platform::Clipboard {
public:
    // Another program puts a text (or a marked content), maybe the same one again.
    void copy(const std::string& text, platform::ClipboardMark mark = platform::ClipboardMark::none)
    {
        content = text;
        marking = mark;
        seen_ = {content, marking};
        ++sequence_;
        if (readsAtCopy && capturing_)
            read();
        if (announcing && onChange)
            onChange();
    }
    // The silent owner answers the reads that waited for it.
    void answer()
    {
        silent = false;
        for (auto& copy : waiting_)
            queue.push(std::move(copy));
        waiting_.clear();
        if (announcing && onChange)
            onChange();
    }

    // A new run of the program: the clipboard is new to it.
    void restarted()
    {
        capturing_ = false;
        told_ = false;
        queue.clear();
        waiting_.clear();
    }

    void setCapturing(bool on) override
    {
        if (!readsAtCopy)
            return Clipboard::setCapturing(on);
        const bool first = on && !told_;
        told_ = true;
        capturing_ = on;
        if (!on) {
            queue.clear();
            waiting_.clear();
        }
        if (first && content)
            read();
    }
    std::vector<platform::ClipboardCopy> takeCopies() override
    {
        return readsAtCopy ? queue.take() : Clipboard::takeCopies();
    }
    bool reading() const override { return readsAtCopy ? !waiting_.empty() : Clipboard::reading(); }
    void readPresent() override
    {
        if (!readsAtCopy)
            return Clipboard::readPresent();
        if (capturing_ && content)
            read();
    }
    bool putBack(platform::ClipboardToken token, const std::string& text) override
    {
        if (!readsAtCopy)
            return Clipboard::putBack(token, text);
        if (locked || (token != 0 && token != sequenceNumber())) {
            ++refusals;
            return false;
        }
        ++putBacks;
        return setText(text);
    }
    bool clearIf(platform::ClipboardToken token) override
    {
        if (!readsAtCopy)
            return Clipboard::clearIf(token);
        if (locked || (token != 0 && token != sequenceNumber())) {
            ++refusals;
            return false;
        }
        return clear();
    }

    std::optional<std::string> text() override
    {
        ++reads;
        if (locked)
            return std::nullopt;
        return content.value_or("");
    }
    bool hasText() override { return !locked && content.has_value(); }
    bool setText(const std::string& text) override
    {
        if (locked)
            return false;
        content = text;
        marking = platform::ClipboardMark::none;
        return true;
    }
    bool clear() override
    {
        if (locked)
            return false;
        content.reset();
        marking = platform::ClipboardMark::none;
        ++clears;
        return true;
    }
    std::uint32_t sequenceNumber() override
    {
        if (std::pair(content, marking) != seen_) {
            seen_ = {content, marking};
            ++sequence_;
        }
        return sequence_;
    }
    bool announcesChanges() const override { return announcing; }
    std::optional<platform::ClipboardMark> mark() override
    {
        if (locked)
            return std::nullopt;
        return marking;
    }

    std::optional<std::string> content;
    platform::ClipboardMark marking = platform::ClipboardMark::none;
    bool readsAtCopy = true;
    bool locked = false;
    bool silent = false; // reads wait until answer()
    bool announcing = true;
    // The time a copy is stamped with.
    std::function<platform::LocalDateTime()> clock;
    platform::CopyQueue queue;
    int reads = 0; // texts transferred
    int clears = 0;
    int putBacks = 0;
    int refusals = 0; // guarded writes refused

private:
    // The present content, read as a copy: marks first, a marked text never transferred.
    void read()
    {
        platform::ClipboardCopy copy;
        copy.mark = marking;
        copy.token = sequenceNumber();
        if (clock)
            copy.copiedAt = clock();
        if (marking == platform::ClipboardMark::none) {
            ++reads;
            copy.text = content.value_or("");
        }
        if (silent)
            waiting_.push_back(std::move(copy));
        else
            queue.push(std::move(copy));
    }

    bool capturing_ = false;
    bool told_ = false;
    std::vector<platform::ClipboardCopy> waiting_;
    std::pair<std::optional<std::string>, platform::ClipboardMark> seen_{std::nullopt, platform::ClipboardMark::none};
    std::uint32_t sequence_ = 1;
};

} // namespace twk::testing
