#pragma once

#include <optional>
#include <string>

namespace twk::platform {

struct LocalDateTime {
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Facts of the program and the machine it runs on.
class Environment {
public:
    virtual ~Environment() = default;
    // The folder that holds the program file, as the system reports it.
    virtual std::string programFolder() = 0;
    // Whether this user may create files in the folder.
    virtual bool canWriteIn(const std::string& folder) = 0;
    // The user's own folder for this program's files ($XDG_CONFIG_HOME/twk3,
    // %APPDATA%\TWK), made if missing; nullopt when the system names none or
    // it cannot be made.
    virtual std::optional<std::string> perUserFolder() = 0;
    // The command line after the program name.
    virtual std::string argumentString() = 0;
    virtual std::optional<std::string> variable(const std::string& name) = 0;
    // The desktop's program that opens a file with its default viewer, if any.
    virtual std::optional<std::string> defaultOpener() = 0;
    // The program's own log browser, where one was installed with it.
    virtual std::optional<std::string> logBrowser() { return std::nullopt; }
    virtual LocalDateTime now() = 0;
    virtual double screenWidthTwips() = 0;
    virtual double screenHeightTwips() = 0;
    virtual double twipsPerPixelX() = 0;
    virtual double twipsPerPixelY() = 0;
};

} // namespace twk::platform
