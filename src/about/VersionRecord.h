#pragma once

#include <string>

namespace twk::about {

// The program file's version record, from the build.
struct VersionRecord {
    int major = 0;
    int minor = 0;
    int revision = 0;
    std::string description;
};

VersionRecord ProgramVersion();

} // namespace twk::about
