#include "platform/NativeLayer.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixFolders.h"

namespace twk::platform {

std::unique_ptr<FileSystem> makeNativeFileSystem()
{
    return std::make_unique<PosixFileSystem>();
}

std::unique_ptr<Folders> makeNativeFolders()
{
    return std::make_unique<PosixFolders>();
}

} // namespace twk::platform
