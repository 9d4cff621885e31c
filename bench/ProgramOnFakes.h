#pragma once

#include "capture/FrmToText.h"
#include "fakes/FakePlatform.h"
#include "fakes/TempFolder.h"
#include "shell/Program.h"

#include <functional>
#include <memory>
#include <string>

namespace twk::bench {

// The whole program, started in a fresh folder with the [TWK] lines made for
// that folder, on the tests' fake desktop parts and the real file system.
struct ProgramOnFakes {
    explicit ProgramOnFakes(const std::function<std::string(const std::string& folder)>& settings)
    {
        environment.folder = folder.path();
        twk::testing::writeFile(folder.file("twk3.ini"),
                                "[TWK]\r\nFIRSTRUN=9\r\nBEEPON=0\r\n" + settings(folder.path()));
        program = std::make_unique<shell::Program>(platform, host);
        program->start();
    }
    void tick() { program->frmToText->Timer1.fire(); }

    twk::testing::TempFolder folder;
    twk::testing::FakeClipboard clipboard;
    twk::testing::FakeDialogs dialogs;
    twk::testing::FakeEnvironment environment;
    twk::testing::FaultyFileSystem files;
    twk::testing::FakeFolders folders;
    twk::testing::FakeInstances instances;
    twk::testing::FakeShell shell;
    twk::testing::FakeTray tray;
    twk::testing::FakeAutostart autostart;
    twk::testing::RecordingHost host;
    platform::Platform platform{clipboard, dialogs, environment, files, folders, instances, shell, tray, autostart};
    std::unique_ptr<shell::Program> program;
};

} // namespace twk::bench
