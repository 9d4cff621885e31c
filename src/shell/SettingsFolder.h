#pragma once

#include "platform/Environment.h"

#include <string>

namespace twk::shell {

// The folder that holds twk3.ini and, by default, the logs and the append
// file. A copy of the program in a folder its user may write to keeps them
// beside itself (a portable copy); an installed copy, in a folder the user
// cannot write to, keeps them in the user's own folder for the program. When
// the system names no such folder, the program's folder it is, as for a
// portable copy: the writes then fail as they would there.
std::string SettingsFolder(platform::Environment& environment);

} // namespace twk::shell
