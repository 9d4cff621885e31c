#include "Win32Clipboard.h"

#include "OpenClipboardScope.h"
#include "platform/win32/Utf16.h"

#include <utility>

namespace twk::win32 {
namespace {

constexpr UINT kArrived = WM_APP + 1;
constexpr UINT kChanged = WM_APP + 2;
constexpr UINT kPutBack = WM_APP + 3;
constexpr wchar_t kListenerClass[] = L"TWK3ClipboardListener";

// The text as a CF_UNICODETEXT block; CF_UNICODETEXT ends at the first NUL, so
// the rest, which could never be read back, is left out.
UnicodeBlock blockOf(const std::string& text)
{
    return unicodeBlock(platform::win32::toWide(std::string_view(text.c_str())));
}

// Whether the core's text is the one the block holds.
bool sameText(const std::string& text, const UnicodeBlock& block)
{
    const LockedUnicode units(block);
    return units.locked() && platform::win32::sameText(text, units.text());
}

std::optional<std::uint32_t> expectedFor(platform::ClipboardToken token)
{
    if (token == 0)
        return std::nullopt; // not known: unguarded
    return static_cast<std::uint32_t>(token);
}

} // namespace

Win32Clipboard::Win32Clipboard(HWND owner) : owner_(owner)
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW cls{};
    cls.lpfnWndProc = listen;
    cls.hInstance = instance;
    cls.lpszClassName = kListenerClass;
    RegisterClassW(&cls);
    listener_ = CreateWindowExW(0, kListenerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    if (!listener_)
        return;
    SetWindowLongPtrW(listener_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    const HWND listener = listener_;
    reader_ = ClipboardReader::start(owner_, {
                                                 [listener] { PostMessageW(listener, kChanged, 0, 0); },
                                                 [this, listener](ClipboardRead read) {
                                                     {
                                                         std::lock_guard lock(mutex_);
                                                         arrived_.push_back(std::move(read));
                                                     }
                                                     PostMessageW(listener, kArrived, 0, 0);
                                                 },
                                             });
}

Win32Clipboard::~Win32Clipboard()
{
    writePending();  // a put-back of the last tick, before the program ends
    reader_.reset(); // no event comes from it after this
    if (listener_)
        DestroyWindow(listener_);
}

LRESULT CALLBACK Win32Clipboard::listen(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<Win32Clipboard*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == kPutBack) {
        self->writePending();
        return 0;
    }
    if (self && (message == kArrived || message == kChanged)) {
        if (message == kArrived)
            self->takeArrived();
        if (self->onChange)
            self->onChange();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void Win32Clipboard::takeArrived()
{
    std::vector<ClipboardRead> arrived;
    {
        std::lock_guard lock(mutex_);
        arrived.swap(arrived_);
    }
    for (auto& read : arrived) {
        // Only the newest content can still be put back.
        if (read.result == ClipboardRead::Result::read)
            kept_ = {read.sequence, std::move(read.unicode)};
        tracker_.arrived(std::move(read));
    }
}

void Win32Clipboard::ask()
{
    reader_->request(tracker_.asking());
}

// Without a reading thread (none could be made) the clipboard is read at the tick,
// as the seam does for any clipboard that cannot read its changes when announced.

void Win32Clipboard::setCapturing(bool on)
{
    if (!reader_) {
        Clipboard::setCapturing(on);
        return;
    }
    reader_->follow(on);
    if (!on)
        kept_ = {};
    if (tracker_.setCapturing(on, GetClipboardSequenceNumber()))
        ask();
}

std::vector<platform::ClipboardCopy> Win32Clipboard::takeCopies()
{
    if (!reader_)
        return Clipboard::takeCopies();
    takeArrived();
    bool askAgain = false;
    auto copies = tracker_.take(GetClipboardSequenceNumber(), askAgain);
    if (askAgain)
        ask();
    // Only the last copy can be put back: a huge block kept for any other is let go.
    if (copies.empty() || copies.back().token != kept_.sequence)
        kept_ = {};
    return copies;
}

bool Win32Clipboard::reading() const
{
    if (!reader_)
        return Clipboard::reading();
    return tracker_.reading(GetClipboardSequenceNumber(), owner_ && GetClipboardOwner() == owner_);
}

void Win32Clipboard::readPresent()
{
    if (!reader_) {
        Clipboard::readPresent();
        return;
    }
    if (tracker_.capturing())
        ask();
}

bool Win32Clipboard::putBack(platform::ClipboardToken token, const std::string& text)
{
    if (!reader_)
        return Clipboard::putBack(token, text);
    writePending();
    UnicodeBlock block = kept_.sequence == token ? std::exchange(kept_, {}).text : UnicodeBlock();
    const auto expected = expectedFor(token);
    // Already replaced by a newer copy: nothing to make.
    if (expected && GetClipboardSequenceNumber() != *expected)
        return false;
    // The text as it was read, unless the core changed it (a javascript: link): a
    // huge text is then put back without being made again.
    if (!block.block || !sameText(text, block))
        block = blockOf(text);
    if (!block.block)
        return false;
    // Written once the interface has answered what waits: the tick that logged a huge
    // text and the write that hands it to the system do not add up to one long wait.
    pending_ = Pending{expected, std::move(block)};
    PostMessageW(listener_, kPutBack, 0, 0);
    return true;
}

bool Win32Clipboard::clearIf(platform::ClipboardToken token)
{
    if (!reader_)
        return Clipboard::clearIf(token);
    writePending();
    kept_ = {};
    return replace(expectedFor(token), nullptr);
}

void Win32Clipboard::writePending()
{
    if (auto pending = std::exchange(pending_, std::nullopt))
        replace(pending->expected, &pending->text);
}

std::uint32_t Win32Clipboard::sequenceNumber()
{
    return GetClipboardSequenceNumber();
}

std::optional<platform::ClipboardMark> Win32Clipboard::mark()
{
    if (!listener_)
        return std::nullopt;
    const auto read = readClipboardNow(listener_, owner_);
    if (read.result != ClipboardRead::Result::read)
        return std::nullopt;
    return read.mark;
}

std::optional<std::string> Win32Clipboard::text()
{
    if (!listener_)
        return std::nullopt;
    auto read = readClipboardNow(listener_, owner_);
    if (read.result != ClipboardRead::Result::read)
        return std::nullopt;
    return std::move(read.text);
}

bool Win32Clipboard::hasText()
{
    return IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE;
}

bool Win32Clipboard::setText(const std::string& text)
{
    writePending();
    auto block = blockOf(text);
    return block.block && replace(std::nullopt, &block);
}

bool Win32Clipboard::clear()
{
    writePending();
    return replace(std::nullopt, nullptr);
}

bool Win32Clipboard::replace(std::optional<std::uint32_t> expected, UnicodeBlock* text)
{
    bool done = false;
    {
        OpenClipboardScope scope(owner_);
        // Open, nobody else can change the clipboard: the test holds until the write.
        done = scope.open() && (!expected || GetClipboardSequenceNumber() == *expected) && EmptyClipboard() &&
               (!text || SetClipboardData(CF_UNICODETEXT, text->block.get()));
    }
    if (done && text)
        text->block.release(); // the clipboard's now
    return done;
}

} // namespace twk::win32
