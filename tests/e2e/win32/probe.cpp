// A small Windows program the end-to-end tests run beside twk3.exe:
//   probe find   looks for the running program the way a later copy of it does,
//                and says what it found;
//   probe secret TEXT   puts TEXT on the clipboard as a password manager does,
//                       with the format that keeps it out of clipboard histories;
//   probe files PATH    puts a copied file on the clipboard, and its path as text;
//   probe unicode HEX   puts the UTF-8 text given in hexadecimal on the clipboard as a
//                       Unicode program does: CF_UNICODETEXT alone;
//   probe read-unicode  prints the clipboard's CF_UNICODETEXT as UTF-8 in hexadecimal;
//   probe hold FILE     puts the UTF-8 text of FILE on the clipboard as a Unicode
//                       program does: CF_UNICODETEXT alone;
//   probe marked FORMAT VALUE TEXT   puts TEXT as CF_UNICODETEXT with the registered
//                       FORMAT beside it: VALUE "-" an empty block, else a DWORD of VALUE;
//   probe copies COUNT SPACING PREFIX   puts PREFIX1 to PREFIX<COUNT> one after another,
//                       each held at least SPACING milliseconds before the next, as
//                       CF_UNICODETEXT;
//                       these three print "owned", then "at" the system's tick count,
//                       when done, and keep the clipboard's content until another
//                       program takes it (at most a minute);
//   probe show          prints the clipboard's CF_UNICODETEXT in UTF-8, then the names of
//                       its registered formats, one a line;
//   probe ping SECONDS  asks the running program's window a WM_NULL every 20 ms for
//                       SECONDS; prints "stall TICK MS" for each wait of 20 ms or more
//                       for an answer (as a frozen interface would show it), then
//                       "pings N longest MS";
//   probe texts CAPTION prints the text of every control of the window so captioned
//                       (a list: its entries, joined by "|");
//   probe close CAPTION asks the top-level window so captioned to close, as the system does;
//   probe ARGS   stands in for a log viewer: it adds the command line it was
//                started with to "probe-command-lines.txt" beside itself.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string besideProgram(const char* name)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder.erase(folder.find_last_of('\\') + 1);
    return folder + name;
}

int find()
{
    HWND found = FindWindowA("ThunderRT6Main", "Tarnwick 3.0");
    if (!found) {
        std::puts("not found");
        return 1;
    }
    char caption[256] = {};
    GetWindowTextA(found, caption, sizeof caption);
    std::printf("found \"%s\" visible=%d\n", caption, IsWindowVisible(found) ? 1 : 0);
    return 0;
}

// The text a control holds, asked of the control itself: another program's
// edit box or list keeps its text where GetWindowText does not look.
BOOL CALLBACK printText(HWND control, LPARAM)
{
    char kind[64] = {};
    GetClassNameA(control, kind, sizeof kind);
    char text[1024] = {};
    DWORD_PTR result = 0;
    if (lstrcmpiA(kind, "ListBox") == 0) {
        SendMessageTimeoutA(control, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
        for (DWORD_PTR i = 0; i < result; ++i) {
            DWORD_PTR length = 0;
            SendMessageTimeoutA(control, LB_GETTEXTLEN, i, 0, SMTO_ABORTIFHUNG, 5000, &length);
            if (length < sizeof text && length != static_cast<DWORD_PTR>(LB_ERR)) {
                DWORD_PTR ignored = 0;
                SendMessageTimeoutA(control, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                                    &ignored);
                std::printf("%s%s", i ? "|" : "", text);
            }
        }
        std::printf("\n");
        return TRUE;
    }
    SendMessageTimeoutA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                        &result);
    std::printf("%s\n", text);
    return TRUE;
}

int texts(const char* caption)
{
    HWND window = FindWindowA(nullptr, caption);
    if (!window)
        return 1;
    EnumChildWindows(window, printText, 0);
    return 0;
}

HGLOBAL block(const void* data, std::size_t size)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    std::memcpy(GlobalLock(memory), data, size);
    GlobalUnlock(memory);
    return memory;
}

int put(const char* text, bool secret)
{
    if (!OpenClipboard(nullptr))
        return 2;
    EmptyClipboard();
    const std::size_t length = std::strlen(text);
    SetClipboardData(CF_TEXT, block(text, length + 1));
    if (secret) {
        SetClipboardData(RegisterClipboardFormatA("ExcludeClipboardContentFromMonitorProcessing"), block("", 1));
    } else {
        // DROPFILES, then the file's name and the empty name that ends the list.
        std::string drop(20, '\0');
        drop[0] = 20;
        drop += text;
        drop += std::string(2, '\0');
        SetClipboardData(CF_HDROP, block(drop.data(), drop.size()));
    }
    CloseClipboard();
    return 0;
}

std::wstring fromHex(const char* hex)
{
    std::string utf8;
    for (std::size_t i = 0; hex[i] && hex[i + 1]; i += 2)
        utf8 += static_cast<char>(std::stoi(std::string(hex + i, 2), nullptr, 16));
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
    return wide;
}

int putUnicode(const char* hex)
{
    const std::wstring text = fromHex(hex);
    if (!OpenClipboard(nullptr))
        return 2;
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, block(text.c_str(), (text.size() + 1) * sizeof(wchar_t)));
    CloseClipboard();
    return 0;
}

int readUnicode()
{
    if (!OpenClipboard(nullptr))
        return 2;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const auto* wide = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
    if (!wide) {
        CloseClipboard();
        return 1;
    }
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8.data(), length, nullptr, nullptr);
    GlobalUnlock(data);
    CloseClipboard();
    for (std::size_t i = 0; i + 1 < utf8.size(); ++i)
        std::printf("%02x", static_cast<unsigned char>(utf8[i]));
    std::printf("\n");
    return 0;
}

std::wstring wideOf(const std::string& utf8)
{
    const int count = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(count), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), count);
    return text;
}

std::string utf8Of(const wchar_t* text, std::size_t length)
{
    const int count = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(count), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), bytes.data(), count, nullptr, nullptr);
    return bytes;
}

// The window our texts are put with: Wine keeps a content only while its owner lives.
HWND ownerWindow()
{
    static HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    return window;
}

// Opens the clipboard, waiting a little while another program holds it.
bool openClipboard(HWND owner = nullptr)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (OpenClipboard(owner))
            return true;
        Sleep(10);
    }
    return false;
}

bool putOwned(const std::wstring& text, const char* format = nullptr, const char* value = nullptr)
{
    if (!openClipboard(ownerWindow()))
        return false;
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, block(text.c_str(), (text.size() + 1) * sizeof(wchar_t)));
    if (format) {
        const UINT id = RegisterClipboardFormatA(format);
        if (std::strcmp(value, "-") == 0) {
            SetClipboardData(id, block("", 1));
        } else {
            const DWORD dword = std::strtoul(value, nullptr, 0);
            SetClipboardData(id, block(&dword, sizeof dword));
        }
    }
    CloseClipboard();
    return true;
}

// Says "owned", then keeps the content until another program takes the clipboard
// (at most a minute), as a program that copied does.
int serve()
{
    std::printf("owned\nat %lu\n", static_cast<unsigned long>(GetTickCount()));
    std::fflush(stdout);
    for (int waited = 0; waited < 60000 && GetClipboardOwner() == ownerWindow(); waited += 50) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        Sleep(50);
    }
    return 0;
}

int holdFile(const char* name)
{
    std::ifstream file(name, std::ios::binary);
    if (!file)
        return 2;
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return putOwned(wideOf(bytes)) ? serve() : 2;
}

// Answers what was sent to this program's windows, waiting at most `ms` for it.
void answerFor(DWORD ms)
{
    MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_ALLINPUT);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
}

int copies(int count, int spacing, const char* prefix)
{
    DWORD last = GetTickCount();
    for (int i = 1; i <= count; ++i) {
        // Each text stays at least SPACING on the clipboard, and is copied from the message
        // loop as a program copies: one held up (a loaded machine) does not bring the next closer.
        for (DWORD waited; i > 1 && (waited = GetTickCount() - last) < static_cast<DWORD>(spacing);)
            answerFor(static_cast<DWORD>(spacing) - waited);
        answerFor(0);
        if (!putOwned(wideOf(prefix + std::to_string(i))))
            return 2;
        last = GetTickCount();
    }
    return serve();
}

int show()
{
    _setmode(_fileno(stdout), _O_BINARY); // the text's bytes as they are
    if (!openClipboard())
        return 2;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        const auto* text = static_cast<const wchar_t*>(GlobalLock(data));
        const std::size_t length = wcsnlen(text, GlobalSize(data) / sizeof(wchar_t));
        const std::string bytes = utf8Of(text, length);
        std::fwrite(bytes.data(), 1, bytes.size(), stdout);
        GlobalUnlock(data);
    }
    std::printf("\n");
    for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
        char name[256] = {};
        if (GetClipboardFormatNameA(format, name, sizeof name))
            std::printf("%s\n", name);
    }
    CloseClipboard();
    return 0;
}

int ping(int seconds)
{
    HWND program = FindWindowA("ThunderRT6Main", "Tarnwick 3.0");
    if (!program)
        return 1;
    const DWORD end = GetTickCount() + static_cast<DWORD>(seconds) * 1000;
    DWORD longest = 0;
    int pings = 0;
    for (DWORD now = GetTickCount(); static_cast<LONG>(end - now) > 0; now = GetTickCount()) {
        DWORD_PTR result = 0;
        // A ping not answered by the end counts as waiting until then.
        SendMessageTimeoutA(program, WM_NULL, 0, 0, SMTO_NORMAL, end - now, &result);
        const DWORD waited = GetTickCount() - now;
        if (waited >= 20)
            std::printf("stall %lu %lu\n", static_cast<unsigned long>(now), static_cast<unsigned long>(waited));
        longest = std::max(longest, waited);
        ++pings;
        Sleep(20);
    }
    std::printf("pings %d longest %lu\n", pings, static_cast<unsigned long>(longest));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "find") == 0)
        return find();
    if (argc == 3 && std::strcmp(argv[1], "texts") == 0)
        return texts(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "close") == 0) {
        HWND window = FindWindowA(nullptr, argv[2]);
        return window && PostMessageA(window, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if (argc == 3 && std::strcmp(argv[1], "secret") == 0)
        return put(argv[2], true);
    if (argc == 3 && std::strcmp(argv[1], "files") == 0)
        return put(argv[2], false);
    if (argc == 3 && std::strcmp(argv[1], "unicode") == 0)
        return putUnicode(argv[2]);
    if (argc == 2 && std::strcmp(argv[1], "read-unicode") == 0)
        return readUnicode();
    if (argc == 3 && std::strcmp(argv[1], "hold") == 0)
        return holdFile(argv[2]);
    if (argc == 5 && std::strcmp(argv[1], "marked") == 0)
        return putOwned(wideOf(argv[4]), argv[2], argv[3]) ? serve() : 2;
    if (argc == 5 && std::strcmp(argv[1], "copies") == 0)
        return copies(std::atoi(argv[2]), std::atoi(argv[3]), argv[4]);
    if (argc == 2 && std::strcmp(argv[1], "show") == 0)
        return show();
    if (argc == 3 && std::strcmp(argv[1], "ping") == 0)
        return ping(std::atoi(argv[2]));
    FILE* log = std::fopen(besideProgram("probe-command-lines.txt").c_str(), "ab");
    if (!log)
        return 2;
    std::fprintf(log, "%s\n", GetCommandLineA());
    std::fclose(log);
    return 0;
}
