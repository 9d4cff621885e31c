// A small Windows program the end-to-end tests run beside twk3.exe:
//   probe find   looks for the running program the way a later copy of it does,
//                and says what it found;
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

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "find") == 0)
        return find();
    FILE* log = std::fopen(besideProgram("probe-command-lines.txt").c_str(), "ab");
    if (!log)
        return 2;
    std::fprintf(log, "%s\n", GetCommandLineA());
    std::fclose(log);
    return 0;
}
