#pragma once

#include <functional>
#include <optional>
#include <string>

namespace twk::platform {

using VariableLookup = std::function<std::optional<std::string>(const char* name)>;

// The user's configuration folder as the XDG base directories name it:
// $XDG_CONFIG_HOME when it is an absolute path, else $HOME/.config.
std::optional<std::string> XdgConfigHome(const VariableLookup& variable);

// The user's own folder for the program's settings and logs, $XDG_CONFIG_HOME/twk3:
// where an installed copy, which cannot write beside itself, keeps them.
std::optional<std::string> UserProgramFolder(const VariableLookup& variable);

// Makes the folder and any missing parents (new ones readable by the user
// alone, as the XDG folders are); true when it is there afterwards.
bool MakeFolders(const std::string& folder);

// Whether this process may create files in the folder.
bool CanWriteIn(const std::string& folder);

} // namespace twk::platform
