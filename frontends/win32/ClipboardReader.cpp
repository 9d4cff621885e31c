#include "ClipboardReader.h"

#include "ClipboardMarkers.h"
#include "OpenClipboardScope.h"
#include "platform/win32/Utf16.h"

#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <cwchar>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace twk::win32 {

struct ClipboardReader::Shared {
    HWND ours = nullptr;
    Events events;
    std::atomic<bool> following{false};
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE ended = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HWND window = nullptr; // the reading thread's, once `ready` is set
    std::thread thread;
    // The sequence number of the content read last (reading thread only).
    std::uint32_t lastRead = 0;
    // Held while an event runs, so that none runs once the reader has stopped.
    std::mutex delivering;
    bool stopped = false;

    ~Shared()
    {
        CloseHandle(ready);
        CloseHandle(ended);
    }
};

namespace {

using Shared = ClipboardReader::Shared;

constexpr UINT kRequest = WM_APP + 1;
constexpr UINT kStop = WM_APP + 2;
constexpr wchar_t kWindowClass[] = L"TWK3ClipboardReader";
constexpr DWORD kStopPatienceMs = 2000;

platform::LocalDateTime localNow()
{
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

// The id of a registered format: the system is asked once a name.
UINT registeredFormat(const char* name)
{
    static std::mutex lock;
    static std::vector<std::pair<std::string, UINT>> known;
    const std::lock_guard hold(lock);
    for (const auto& [knownName, id] : known)
        if (knownName == name)
            return id;
    const UINT id = RegisterClipboardFormatA(name);
    if (id)
        known.emplace_back(name, id);
    return id;
}

// The formats of the open clipboard, listed in one call.
class OpenClipboardFormats final : public OfferedFormats {
public:
    OpenClipboardFormats()
    {
        UINT count = 0;
        formats_.resize(32);
        while (!GetUpdatedClipboardFormats(formats_.data(), static_cast<UINT>(formats_.size()), &count)) {
            if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || count <= formats_.size()) {
                // Listed one by one instead.
                formats_.clear();
                for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format))
                    formats_.push_back(format);
                return;
            }
            formats_.resize(count);
        }
        formats_.resize(count);
    }

    bool has(const char* registeredName) override { return offers(registeredFormat(registeredName)); }

    std::optional<std::uint32_t> dword(const char* registeredName) override
    {
        const UINT format = registeredFormat(registeredName);
        HANDLE data = offers(format) ? GetClipboardData(format) : nullptr;
        if (!data || GlobalSize(data) < sizeof(std::uint32_t))
            return std::nullopt;
        const void* bytes = GlobalLock(data);
        if (!bytes)
            return std::nullopt;
        std::uint32_t value = 0;
        std::memcpy(&value, bytes, sizeof value); // Windows is little-endian
        GlobalUnlock(data);
        return value;
    }

    bool hasFileList() override { return offers(CF_HDROP); }

private:
    bool offers(UINT format) const
    {
        return format && std::find(formats_.begin(), formats_.end(), format) != formats_.end();
    }

    std::vector<UINT> formats_;
};

// The open clipboard's text in a block of our own, up to its NUL or the end of
// its block (an owner may leave the NUL out): an empty block when there is no
// text, nullopt when the owner gives none.
std::optional<UnicodeBlock> unicodeText()
{
    // Windows makes CF_UNICODETEXT of an owner's CF_TEXT or CF_OEMTEXT.
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT))
        return UnicodeBlock();
    const LockedUnicode units(GetClipboardData(CF_UNICODETEXT));
    if (!units.locked())
        return std::nullopt;
    auto copy = unicodeBlock(units.text());
    if (!copy.block)
        return std::nullopt;
    return copy;
}

// An owner that renders on demand is sent WM_RENDERFORMAT from inside
// GetClipboardData, with no time limit: one that cannot answer a WM_NULL in
// time is not asked.
bool ownerAnswers(HWND owner)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(owner, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, ClipboardReader::kOwnerPatienceMs,
                               &result) != 0;
}

void deliver(Shared& shared, ClipboardRead read)
{
    std::lock_guard lock(shared.delivering);
    if (!shared.stopped && shared.events.read)
        shared.events.read(std::move(read));
}

void readNow(Shared& shared, bool requested, std::uint32_t tag, platform::LocalDateTime announcedAt)
{
    ClipboardRead read = readClipboardNow(shared.window, shared.ours);
    read.requested = requested;
    read.tag = tag;
    read.announcedAt = announcedAt;
    if (read.result == ClipboardRead::Result::read)
        shared.lastRead = read.sequence;
    deliver(shared, std::move(read));
}

void announced(Shared& shared)
{
    const auto when = localNow();
    {
        std::lock_guard lock(shared.delivering);
        if (!shared.stopped && shared.events.changed)
            shared.events.changed();
    }
    if (!shared.following)
        return;
    ClipboardRead settled;
    settled.announcedAt = when;
    settled.sequence = GetClipboardSequenceNumber();
    if (GetClipboardOwner() == shared.ours && shared.ours) {
        settled.result = ClipboardRead::Result::ours;
    } else if (settled.sequence != 0 && settled.sequence == shared.lastRead) {
        // Two changes came before the first was read, and that read found the second.
        settled.result = ClipboardRead::Result::known;
    } else {
        readNow(shared, false, 0, when);
        return;
    }
    deliver(shared, std::move(settled));
}

LRESULT CALLBACK listen(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* shared = reinterpret_cast<Shared*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_CLIPBOARDUPDATE:
        if (shared)
            announced(*shared);
        return 0;
    case kRequest:
        if (shared)
            readNow(*shared, true, static_cast<std::uint32_t>(wParam), localNow());
        return 0;
    case kStop:
        RemoveClipboardFormatListener(window);
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void run(std::shared_ptr<Shared> shared)
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW cls{};
    cls.lpfnWndProc = listen;
    cls.hInstance = instance;
    cls.lpszClassName = kWindowClass;
    RegisterClassW(&cls); // fails harmlessly for a second reader: the class is there
    HWND window = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    if (window) {
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(shared.get()));
        if (!AddClipboardFormatListener(window)) {
            DestroyWindow(window);
            window = nullptr;
        }
    }
    shared->window = window;
    SetEvent(shared->ready);
    if (window) {
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0)
            DispatchMessageW(&message);
    }
    SetEvent(shared->ended);
}

} // namespace

std::unique_ptr<ClipboardReader> ClipboardReader::start(HWND ours, Events events)
{
    auto shared = std::make_shared<Shared>();
    if (!shared->ready || !shared->ended)
        return nullptr;
    shared->ours = ours;
    shared->events = std::move(events);
    try {
        shared->thread = std::thread(run, shared);
    } catch (const std::system_error&) {
        return nullptr;
    }
    WaitForSingleObject(shared->ready, INFINITE);
    if (!shared->window) {
        shared->thread.join();
        return nullptr;
    }
    return std::unique_ptr<ClipboardReader>(new ClipboardReader(std::move(shared)));
}

ClipboardReader::ClipboardReader(std::shared_ptr<Shared> shared) : shared_(std::move(shared))
{
}

ClipboardReader::~ClipboardReader()
{
    {
        std::lock_guard lock(shared_->delivering);
        shared_->stopped = true;
    }
    PostMessageW(shared_->window, kStop, 0, 0);
    // A read stuck in an owner that stopped answering after its WM_NULL is left to
    // end with the program; it keeps its own share of the state.
    if (WaitForSingleObject(shared_->ended, kStopPatienceMs) == WAIT_OBJECT_0)
        shared_->thread.join();
    else
        shared_->thread.detach();
}

void ClipboardReader::follow(bool on)
{
    shared_->following = on;
}

void ClipboardReader::request(std::uint32_t tag)
{
    PostMessageW(shared_->window, kRequest, tag, 0);
}

ClipboardRead readClipboardNow(HWND window, HWND ours)
{
    ClipboardRead read;
    read.sequence = GetClipboardSequenceNumber();
    const HWND owner = GetClipboardOwner();
    // An owner gone has rendered what it offers (or it was dropped): nothing to ask it.
    if (owner && owner != ours && IsWindow(owner) && !ownerAnswers(owner))
        return read;
    UnicodeBlock unicode;
    {
        OpenClipboardScope scope(window);
        if (!scope.open())
            return read;
        OpenClipboardFormats offered;
        read.mark = markOf(offered);
        // A marked content's text is never asked for.
        if (read.mark == platform::ClipboardMark::none) {
            auto text = unicodeText();
            if (!text)
                return read;
            unicode = std::move(*text);
        }
        read.sequence = GetClipboardSequenceNumber();
    } // closed before the conversion: the clipboard is held only for the copy
    if (unicode.block) {
        const LockedUnicode units(unicode);
        read.text = platform::win32::toUtf8(units.text());
    }
    read.unicode = std::move(unicode);
    read.result = ClipboardRead::Result::read;
    return read;
}

} // namespace twk::win32
