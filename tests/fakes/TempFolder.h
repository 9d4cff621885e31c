#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace twk::testing {

// A fresh folder for one test, removed afterwards.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    // A file or folder in it: "logs/twk.txt" with the platform's separators.
    std::string file(const std::string& name) const;

private:
    std::string path_;
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& content);
bool fileExists(const std::string& path);
// The names of what a folder holds, sorted.
std::vector<std::string> namesIn(const std::string& folder);
// Takes away every write permission: on Windows, the read-only attribute.
void writeProtect(const std::string& path);

} // namespace twk::testing
