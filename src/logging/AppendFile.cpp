#include "logging/AppendFile.h"

#include "capture/FrmToText.h"
#include "configuration/IniKeys.h"
#include "shell/Program.h"

#include <cstdio>

namespace twk::logging {
namespace {

bool blank(const std::string& text)
{
    return text.find_first_not_of(" \t") == std::string::npos;
}

} // namespace

std::string AppendBackupName(const std::string& appendFile, int number)
{
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "_%03d.txt", number);
    return appendFile + suffix;
}

void SaveAppendFile(shell::Program& program)
{
    const auto& s = program.Settings;
    if (s.AppendMode != 1 || s.AutosaveAppendedFile != 1 || !program.frmToText.loaded())
        return;
    const auto path = program.ReadIni(configuration::keys::kMain, "AMLFPATH");
    program.platform.files.replace(path, program.frmToText->Text1.text() + "\r\n", platform::NewFile::OwnerOnly);
}

void RotateAppendBackups(shell::Program& program)
{
    auto& files = program.platform.files;
    const auto path = program.ReadIni(configuration::keys::kMain, "AMLFPATH");
    if (blank(path) || !files.isRegularFile(path))
        return;
    for (int n = 5; n >= 2; --n) {
        files.remove(AppendBackupName(path, n));
        files.copy(AppendBackupName(path, n - 1), AppendBackupName(path, n), platform::NewFile::OwnerOnly);
    }
    files.remove(AppendBackupName(path, 1));
    files.copy(path, AppendBackupName(path, 1), platform::NewFile::OwnerOnly);
}

} // namespace twk::logging
