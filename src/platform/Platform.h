#pragma once

#include "platform/Autostart.h"
#include "platform/Clipboard.h"
#include "platform/Dialogs.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/Folders.h"
#include "platform/Instances.h"
#include "platform/Shell.h"
#include "platform/Tray.h"

namespace twk::platform {

// Everything the core needs of a desktop, handed over by a front end.
struct Platform {
    Clipboard& clipboard;
    Dialogs& dialogs;
    Environment& environment;
    FileSystem& files;
    Folders& folders;
    Instances& instances;
    Shell& shell;
    Tray& tray;
    Autostart& autostart;
};

} // namespace twk::platform
