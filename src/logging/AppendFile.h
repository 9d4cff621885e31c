#pragma once

#include "platform/FileSystem.h"
#include "ui/TextBox.h"

#include <cstddef>
#include <memory>
#include <string>

namespace twk::shell {
class Program;
}

namespace twk::logging {

// What SaveAppendFile wrote last, so that a viewer text that only grew is
// appended instead of written anew: the path, the text's lineage and length,
// and the file's stamp right after (a file changed since is written anew).
struct AppendFileWritten {
    std::string path;
    std::weak_ptr<const std::string> lineage;
    std::size_t size = 0;
    platform::FileStamp stamp;
    bool known = false;
};

// The name of append-file backup number 1 (newest) to 5.
std::string AppendBackupName(const std::string& appendFile, int number);

// Makes the file at path hold text and a line break: by an append when the
// text only grew since last, by a rewrite otherwise; either way durable.
void WriteAppendFile(platform::FileSystem& files, AppendFileWritten& last, const std::string& path,
                     const ui::TextBox& box);

// In append mode with autosave on, writes the viewer's whole text to the
// append file. Failures are silent.
void SaveAppendFile(shell::Program& program);

// Shifts the append file's five backups by one and copies the append file
// into the newest. The backups hold copied text: new ones are readable by
// their owner alone. Failures are silent.
void RotateAppendBackups(shell::Program& program);

} // namespace twk::logging
