// Writes log entries through the real INI engine, and the append file as
// the viewer would have it, and after both writes have returned says so on
// standard output: "<number>\n". The crash-safety test kills it at random
// moments and then checks every entry it was told about.
#include "ini/IniFiles.h"
#include "ini/LogWriterEntries.h"
#include "logging/AppendFile.h"
#include "platform/NativeLayer.h"

#include <cstdio>
#include <string>
#include <string_view>

int main(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    const std::string path = argv[1];
    const std::string appendFile = argv[3];
    twk::logging::AppendFileWritten appendFileWritten;
    twk::ui::TextBox viewerText; // grows by a line at each entry, set anew every 16
    const auto native = twk::platform::makeNativeFileSystem();
    auto& files = *native;
    twk::ini::IniFiles ini(files);
    for (long number = std::stol(argv[2]);; ++number) {
        const auto entry = twk::testing::logWriterEntry(number);
        if (!ini.write(path, entry.section, entry.key, entry.value, twk::platform::NewFile::OwnerOnly))
            return 1;
        const auto text = twk::testing::appendFileText(number);
        if (text.starts_with(viewerText.text()) && !viewerText.text().empty())
            viewerText.append(std::string_view(text).substr(viewerText.text().size()));
        else
            viewerText.setText(text);
        twk::logging::WriteAppendFile(files, appendFileWritten, appendFile, viewerText);
        if (!appendFileWritten.known)
            return 1;
        const auto ack = std::to_string(number) + "\n";
        if (std::fwrite(ack.data(), 1, ack.size(), stdout) != ack.size() || std::fflush(stdout) != 0)
            return 1;
    }
}
