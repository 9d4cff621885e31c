// A small Windows program the end-to-end tests run beside twk3.exe:
//   probe find   looks for the running program the way a later copy of it does,
//                and says what it found;
//   probe secret TEXT   puts TEXT on the clipboard as a password manager does,
//                       with the format that keeps it out of clipboard histories;
//   probe files PATH    puts a copied file on the clipboard, and its path as text;
//   probe unicode HEX   puts the UTF-8 text given in hexadecimal on the clipboard as a
//                       Unicode program does: CF_UNICODETEXT alone;
//   probe read-unicode  prints the clipboard's CF_UNICODETEXT as UTF-8 in hexadecimal;
//   probe texts CAPTION prints the text of every control of the window so captioned
//                       (a list: its entries, joined by "|");
//   probe close CAPTION asks the top-level window so captioned to close, as the system does;
//   probe ARGS   stands in for a log viewer: it adds the command line it was
//                started with to "probe-command-lines.txt" beside itself.
#include <windows.h>

#include <cstdio>
#include <cstring>
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
    FILE* log = std::fopen(besideProgram("probe-command-lines.txt").c_str(), "ab");
    if (!log)
        return 2;
    std::fprintf(log, "%s\n", GetCommandLineA());
    std::fclose(log);
    return 0;
}
