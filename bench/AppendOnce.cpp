// A fresh process that adds one entry to a log the way a hit-and-run start
// of the program does: the core's file layer, no window.
#include "configuration/IniFiles.h"
#include "platform/posix/PosixFileSystem.h"

#include <fstream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    twk::platform::PosixFileSystem files;
    twk::configuration::IniFiles ini(files);
    const bool written = ini.write(argv[1], argv[2], "TEXT", "https://example.org/a/newly/copied/link and a few words",
                                   twk::platform::NewFile::OwnerOnly);
    // This process's own peak ("VmHWM" starts afresh at exec, unlike the
    // maximum a parent's wait reports), for the file argv[3].
    std::ifstream status("/proc/self/status");
    std::ofstream peak(argv[3]);
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            peak << std::stol(line.substr(6)) << "\n";
    return written ? 0 : 1;
}
