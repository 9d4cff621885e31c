#include "logging/AppendFile.h"

#include "capture/FrmToText.h"
#include "configuration/IniKeys.h"
#include "platform/Trace.h"
#include "shell/Program.h"

#include <cstdio>

namespace twk::logging {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

bool blank(const std::string& text)
{
    return text.find_first_not_of(" \t") == std::string::npos;
}

// Both the same text as last set, which appends alone may have changed since.
bool sameLineage(const std::weak_ptr<const std::string>& a, const std::weak_ptr<const std::string>& b)
{
    return !a.owner_before(b) && !b.owner_before(a);
}

} // namespace

std::string AppendBackupName(const std::string& appendFile, int number)
{
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "_%03d.txt", number);
    return appendFile + suffix;
}

void WriteAppendFile(platform::FileSystem& files, AppendFileWritten& last, const std::string& path,
                     const ui::TextBox& box)
{
    // The file holds the last text and a line break; a text that grew by a
    // line break and more needs only the more, and a line break, after it.
    const auto& text = box.text();
    const bool grew = last.known && last.path == path && sameLineage(last.lineage, box.lineage()) &&
                      text.size() >= last.size + kLineEnd.size() &&
                      std::string_view(text).substr(last.size, kLineEnd.size()) == kLineEnd &&
                      files.stamp(path) == last.stamp;
    bool written = false;
    if (grew) {
        std::string added = text.substr(last.size + kLineEnd.size());
        added += kLineEnd;
        written = files.append(path, added);
    }
    if (!written)
        written = files.replaceWith(path, platform::NewFile::OwnerOnly,
                                    [&](const platform::FileSystem::Put& put) { return put(text) && put(kLineEnd); });
    if (!written)
        platform::trace("append file not written: " + path + ": " + platform::lastSystemError());
    const auto after = written ? files.stamp(path) : std::nullopt;
    last.known = after.has_value();
    if (last.known) {
        last.lineage = box.lineage();
        last.size = text.size();
        last.path = path;
        last.stamp = *after;
    }
}

void SaveAppendFile(shell::Program& program)
{
    const auto& s = program.Settings;
    if (s.AppendMode != 1 || s.AutosaveAppendedFile != 1 || !program.frmToText.loaded())
        return;
    WriteAppendFile(program.platform.files, program.appendFileWritten,
                    program.ReadIni(configuration::keys::kMain, "AMLFPATH"), program.frmToText->Text1);
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
