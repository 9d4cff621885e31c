// twk3-logs: the log browser. With --search it prints and ends without a
// display; otherwise it opens its window.
#include "ClipboardKeeper.h"
#include "LogsWindow.h"

#include "logbrowser/CommandLine.h"
#include "platform/NativeLayer.h"
#include "platform/posix/XdgFolders.h"

#include <QApplication>
#include <QClipboard>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

std::string programFolder(const char* argv0)
{
    std::error_code error;
    auto path = std::filesystem::canonical("/proc/self/exe", error);
    if (error)
        path = std::filesystem::absolute(argv0, error);
    return path.parent_path().string();
}

// Where the program keeps its logs unless told otherwise: beside itself when its
// user may write there, else (installed) in the user's own folder for it.
std::string defaultLogFolder(const std::string& programFolder)
{
    if (twk::platform::CanWriteIn(programFolder))
        return programFolder;
    const auto own = twk::platform::UserProgramFolder([](const char* name) -> std::optional<std::string> {
        const char* value = std::getenv(name);
        return value ? std::optional<std::string>(value) : std::nullopt;
    });
    return own.value_or(programFolder);
}

// An entry copied back is served by this program alone: the keeper beside it
// serves it on, as it does for the logger.
void handOverClipboard(const std::string& programFolder)
{
    auto* clipboard = QGuiApplication::clipboard();
    if (!clipboard->ownsClipboard())
        return;
    const bool wayland = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    twk::qt::ClipboardKeeper keeper(
        QString::fromStdString(programFolder) +
        (wayland ? QStringLiteral("/twk3-keeper-wayland") : QStringLiteral("/twk3-keeper")));
    keeper.keep(clipboard->text().toStdString());
}

} // namespace

int main(int argc, char** argv)
{
    using namespace twk::logbrowser;
    const std::vector<std::string> words(argv + 1, argv + argc);
    const Request request = parsedRequest(words);
    if (!request.error.empty()) {
        std::cerr << "twk3-logs: " << request.error << '\n' << usage();
        return 2;
    }
    const std::string ownFolder = programFolder(argv[0]);
    const std::string defaultFolder = defaultLogFolder(ownFolder);
    if (request.search) {
        std::ios::sync_with_stdio(false);
        auto files = twk::platform::makeNativeFileSystem();
        return runSearch(*files, request, defaultFolder, std::cout, std::cerr);
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("twk3-logs"));
    twk::qt::logs::LogsWindow window(placeOf(request.place, defaultFolder));
    window.show();
    const int result = QApplication::exec();
    handOverClipboard(ownFolder);
    return result;
}
