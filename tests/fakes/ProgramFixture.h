#pragma once

#include "capture/FrmToText.h"
#include "fakes/FakePlatform.h"
#include "fakes/TempFolder.h"
#include "logging/FrmLinkCatcher.h"
#include "shell/Form1.h"
#include "shell/Program.h"

#include <gtest/gtest.h>

#include <memory>

namespace twk::testing {

// A whole program on fake desktop parts, in a fresh program folder.
class ProgramFixture : public ::testing::Test {
protected:
    ProgramFixture()
    {
        environment.folder = folder.path();
        dialogs.onMessage = [] {}; // message boxes are closed at once
        clipboard.clock = [this] { return environment.now(); };
    }

    shell::Program& program()
    {
        if (!program_)
            program_ = std::make_unique<shell::Program>(platform, host);
        return *program_;
    }

    // Starts the program as a user would, with the INI file as the test left it.
    shell::Program& start()
    {
        program().start();
        return *program_;
    }

    // Starts it on an INI file that needs no first run, with the given lines in [TWK].
    shell::Program& start(const std::string& mainLines, const std::string& extra = "")
    {
        writeIni(mainLines, extra);
        return start();
    }

    // The program is gone without warning (a crash, a kill) and a fresh one
    // starts on the same folder.
    shell::Program& restart()
    {
        program_.reset();
        clipboard.restarted();
        return start();
    }

    std::string iniPath() const { return folder.file("twk3.ini"); }
    std::string ini() const { return readFile(iniPath()); }

    // An INI file that needs no first run, with the given lines in [TWK].
    void writeIni(const std::string& mainLines, const std::string& extra = "")
    {
        writeFile(iniPath(), "[TWK]\r\nFIRSTRUN=9\r\n" + mainLines + extra);
    }

    capture::FrmToText& viewer() { return *program().frmToText; }
    logging::FrmLinkCatcher& catcher() { return *program().frmLinkCatcher; }
    shell::Form1& form1() { return *program().form1; }
    void tick() { viewer().Timer1.fire(); }
    // The user copies text (at the given second of the fixed clock); the next tick sees it.
    void copy(const std::string& text)
    {
        clipboard.copy(text);
        tick();
    }
    void copy(const std::string& text, int second)
    {
        environment.clock.second = second;
        copy(text);
    }

    TempFolder folder;
    FakeClipboard clipboard;
    FakeDialogs dialogs;
    FakeEnvironment environment;
    FaultyFileSystem files;
    FakeFolders folders;
    FakeInstances instances;
    FakeShell shell;
    FakeTray tray;
    FakeAutostart autostart;
    RecordingHost host;
    platform::Platform platform{clipboard, dialogs, environment, files, folders, instances, shell, tray, autostart};

private:
    std::unique_ptr<shell::Program> program_;
};

} // namespace twk::testing
