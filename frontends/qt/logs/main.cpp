// twk3-logs: the log browser. With --search it prints and ends without a
// display; otherwise it opens its window.
#include "LogsWindow.h"

#include "logbrowser/CommandLine.h"
#include "platform/NativeLayer.h"

#include <QApplication>

#include <filesystem>
#include <iostream>
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
    const std::string defaultFolder = programFolder(argv[0]);
    if (request.search) {
        std::ios::sync_with_stdio(false);
        auto files = twk::platform::makeNativeFileSystem();
        return runSearch(*files, request, defaultFolder, std::cout, std::cerr);
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("twk3-logs"));
    twk::qt::logs::LogsWindow window(placeOf(request.place, defaultFolder));
    window.show();
    return QApplication::exec();
}
