#pragma once

#include "platform/FileSystem.h"
#include "platform/Folders.h"

#include <memory>

namespace twk::platform {

// The file system and folders of the machine the program is built for. The
// build picks the layer (posix/ or win32/), so callers stay the same everywhere.
std::unique_ptr<FileSystem> makeNativeFileSystem();
std::unique_ptr<Folders> makeNativeFolders();

} // namespace twk::platform
