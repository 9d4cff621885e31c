#include "platform/NativeLayer.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Folders.h"

namespace twk::platform {

std::unique_ptr<FileSystem> makeNativeFileSystem()
{
    return std::make_unique<Win32FileSystem>();
}

std::unique_ptr<Folders> makeNativeFolders()
{
    return std::make_unique<Win32Folders>();
}

} // namespace twk::platform
