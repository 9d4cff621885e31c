// A fresh process that adds one entry to a log the way a hit-and-run start
// of the program does: the core's file layer, no window. Given a lead time,
// it starts looking through the log for the day's names first, as the
// program does when its settings are loaded, and waits that long before the
// write, as the program waits for its first tick.
#include "ini/IniFiles.h"
#include "platform/posix/PosixFileSystem.h"

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

int main(int argc, char** argv)
{
    if (argc != 4 && argc != 5)
        return 2;
    const std::string log = argv[1];
    const std::string section = argv[2];
    twk::platform::PosixFileSystem files;
    twk::ini::IniFiles ini(files);
    if (argc == 5) {
        ini.prefetchSections(log, section.substr(0, 8));
        std::this_thread::sleep_for(std::chrono::milliseconds(std::stoi(argv[4])));
    }
    // The write as a log writer makes it: its name is looked for first.
    const auto started = std::chrono::steady_clock::now();
    const auto look = ini.lookForSection(log, section);
    const bool written =
        !look.present && ini.write(log, section, "TEXT", "https://example.org/a/newly/copied/link and a few words",
                                   twk::platform::NewFile::OwnerOnly, look);
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - started;
    // This process's own peak ("VmHWM" starts afresh at exec, unlike the
    // maximum a parent's wait reports), for the file argv[3].
    std::ifstream status("/proc/self/status");
    std::ofstream peak(argv[3]);
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            peak << std::stol(line.substr(6)) << " " << took.count() << "\n";
    return written ? 0 : 1;
}
