// A fresh process that adds one entry to a log the way a hit-and-run start
// of the program does: the core's file layer, no window.
#include "configuration/IniFiles.h"
#include "platform/posix/PosixFileSystem.h"

#include <string>

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    twk::platform::PosixFileSystem files;
    twk::configuration::IniFiles ini(files);
    return ini.write(argv[1], argv[2], "TEXT", "https://example.org/a/newly/copied/link and a few words",
                     twk::platform::NewFile::OwnerOnly)
               ? 0
               : 1;
}
