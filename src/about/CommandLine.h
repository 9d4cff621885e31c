#pragma once

#include <optional>
#include <string>

namespace twk::about {

// What the program prints for "--version" or "--help" before it ends, with
// no INI file read and no other copy looked for; nullopt for every other
// command line (the argument string after the program's name), which starts
// the program as usual.
std::optional<std::string> CommandLineAnswer(const std::string& argumentString);

} // namespace twk::about
