#pragma once

#include <string>

namespace twk::shell {
class Program;
}

namespace twk::logging {

// The name of append-file backup number 1 (newest) to 5.
std::string AppendBackupName(const std::string& appendFile, int number);

// In append mode with autosave on, rewrites the append file with the
// viewer's whole text. Failures are silent.
void SaveAppendFile(shell::Program& program);

// Shifts the append file's five backups by one and copies the append file
// into the newest. Failures are silent.
void RotateAppendBackups(shell::Program& program);

} // namespace twk::logging
