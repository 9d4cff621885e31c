#pragma once

#include "platform/Environment.h"

namespace twk::win32 {

class Win32Environment final : public platform::Environment {
public:
    std::string programFolder() override;
    bool canWriteIn(const std::string& folder) override;
    std::optional<std::string> perUserFolder() override;
    std::string argumentString() override;
    std::optional<std::string> variable(const std::string& name) override;
    std::optional<std::string> defaultOpener() override;
    platform::LocalDateTime now() override;
    double screenWidthTwips() override;
    double screenHeightTwips() override;
    double twipsPerPixelX() override;
    double twipsPerPixelY() override;
};

// The folder part of a program's full path: no closing backslash, except
// at a drive root ("C:\").
std::string folderOfProgram(const std::string& programPath);
// A command line without the program's name and the blanks after it.
std::string argumentsOf(const std::string& commandLine);
// Twips per pixel at a given number of dots per inch (15 at 96).
double twipsPerPixel(int dotsPerInch);

} // namespace twk::win32
