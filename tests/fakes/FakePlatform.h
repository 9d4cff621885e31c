#pragma once

#include "fakes/FakeClipboard.h"
#include "fakes/Paths.h"
#include "platform/Folders.h"
#include "platform/NativeLayer.h"
#include "platform/Platform.h"
#include "ui/Menu.h"
#include "ui/WindowSlot.h"

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace twk::testing {

struct ShownMessage {
    std::string text;
    platform::MessageIcon icon;
    std::string title;
};

class FakeDialogs : public platform::Dialogs {
public:
    void message(const std::string& text, platform::MessageIcon icon, const std::string& title) override
    {
        messages.push_back({text, icon, title});
        if (onMessage)
            onMessage();
    }
    std::string openFile(const platform::OpenFileRequest& request) override
    {
        fileRequests.push_back(request);
        if (!fileAnswer)
            return request.fileName; // cancelled
        return *fileAnswer;
    }

    std::vector<ShownMessage> messages;
    std::vector<platform::OpenFileRequest> fileRequests;
    std::optional<std::string> fileAnswer;
    std::function<void()> onMessage;
};

class FakeEnvironment : public platform::Environment {
public:
    std::string programFolder() override { return folder; }
    bool canWriteIn(const std::string& asked) override { return asked != folder || programFolderWritable; }
    std::optional<std::string> perUserFolder() override { return userFolder; }
    std::string argumentString() override { return arguments; }
    std::optional<std::string> variable(const std::string& name) override
    {
        const auto it = variables.find(name);
        if (it == variables.end())
            return std::nullopt;
        return it->second;
    }
    std::optional<std::string> defaultOpener() override { return opener; }
    std::optional<std::string> logBrowser() override { return browser; }
    platform::LocalDateTime now() override { return clock; }
    double screenWidthTwips() override { return screenWidth; }
    double screenHeightTwips() override { return screenHeight; }
    double twipsPerPixelX() override { return 15; }
    double twipsPerPixelY() override { return 15; }

    std::string folder;
    bool programFolderWritable = true;
    std::optional<std::string> userFolder;
    std::string arguments;
    std::map<std::string, std::string> variables;
    std::optional<std::string> opener = std::string("/usr/bin/xdg-open");
    std::optional<std::string> browser; // the log browser beside the program, where there is one
    platform::LocalDateTime clock{2026, 12, 5, 14, 3, 7};
    double screenWidth = 19200; // 1280 x 960 pixels
    double screenHeight = 14400;
};

class FakeAutostart : public platform::Autostart {
public:
    bool enabled() override { return on; }
    bool setEnabled(bool wanted) override
    {
        calls.push_back(wanted);
        if (!works)
            return false;
        on = wanted;
        return true;
    }

    bool on = false;
    bool works = true;
    std::vector<bool> calls;
};

class FakeInstances : public platform::Instances {
public:
    bool anotherInstanceRunning() override { return otherRunning; }
    void setApplicationTitle(const std::string& title) override { titles.push_back(title); }
    std::optional<platform::WindowId> findWindow(const std::string& windowClass, const std::string& title) override
    {
        searches.push_back(windowClass + "|" + title);
        if (otherWindowClass == windowClass && otherTitle == title)
            return 42;
        return std::nullopt;
    }
    void bringForward(platform::WindowId window) override { broughtForward.push_back(window); }

    bool otherRunning = false;
    std::string otherWindowClass;
    std::string otherTitle;
    std::vector<std::string> titles;
    std::vector<std::string> searches;
    std::vector<platform::WindowId> broughtForward;
};

class FakeShell : public platform::Shell {
public:
    bool start(const platform::ProgramStart& start) override
    {
        starts.push_back(start);
        return startSucceeds;
    }
    void openWithDefaultHandler(const std::string& target) override { opened.push_back(target); }
    void beep() override { ++beeps; }

    std::vector<platform::ProgramStart> starts;
    std::vector<std::string> opened;
    bool startSucceeds = true;
    int beeps = 0;
};

class FakeTray : public platform::Tray {
public:
    bool addIcon(const std::string& tip) override
    {
        events.push_back("add " + tip);
        return true;
    }
    void removeIcon() override { events.push_back("remove"); }
    void popup(ui::Menu& menu) override
    {
        ++popups;
        if (onPopup)
            onPopup(menu);
    }

    std::vector<std::string> events;
    int popups = 0;
    std::function<void(ui::Menu&)> onPopup;
};

// Fails chosen writes of the real file system, as a write-protected file or
// a full disk would.
class FaultyFileSystem : public platform::FileSystem {
public:
    std::optional<std::string> readRange(const std::string& path, std::uint64_t offset, std::size_t length) override
    {
        return real->readRange(path, offset, length);
    }
    bool replaceWith(const std::string& path, platform::NewFile access, const Producer& produce) override
    {
        ++replaces;
        return !failing(path) && real->replaceWith(path, access, produce);
    }
    bool append(const std::string& path, std::string_view content) override
    {
        ++appends;
        return !failing(path) && real->append(path, content);
    }
    std::optional<platform::FileStamp> stamp(const std::string& path) override { return real->stamp(path); }
    bool isRegularFile(const std::string& path) override { return real->isRegularFile(path); }
    bool remove(const std::string& path) override { return real->remove(path); }

    bool failing(const std::string& path) const { return failAll || failPaths.count(path) > 0; }

    std::unique_ptr<platform::FileSystem> real = platform::makeNativeFileSystem();
    std::set<std::string> failPaths;
    bool failAll = false;
    int replaces = 0;
    int appends = 0;
};

// Folders the test lays out; drives are the top folders given.
class FakeFolders : public platform::Folders {
public:
    std::vector<std::string> drives() override { return driveList; }
    std::string driveOf(const std::string& folder) override
    {
        std::string best = kRootFolder;
        for (const auto& drive : driveList)
            if (folder.rfind(drive, 0) == 0 && drive.size() > best.size())
                best = drive;
        return best;
    }
    std::optional<std::vector<std::string>> subfolders(const std::string& folder) override
    {
        const auto it = tree.find(folder);
        if (it == tree.end())
            return std::nullopt;
        return it->second;
    }

    std::vector<std::string> driveList{kRootFolder};
    std::map<std::string, std::vector<std::string>> tree;
};

class RecordingHost : public ui::WindowHost {
public:
    void windowLoaded(ui::Window& window) override { events.push_back("load " + window.caption()); }
    void windowUnloaded(ui::Window& window) override { events.push_back("unload " + window.caption()); }
    std::vector<std::string> events;
};

} // namespace twk::testing
