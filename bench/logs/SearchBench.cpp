// Times the log browser's search as its window runs it (the same thread, the
// same row limit): the time to open a folder (its logs listed and the first
// row of the newest entries handed over), and for each query the time to its
// first row and to the end of the search. Prints one line per measure,
//   <label> <first ms> <last ms> <matches> <peak memory MB>
// medians of the repeats; peak memory is the process's (VmHWM), which a
// search starts from fresh in its own process (see run.sh).
// Usage: [TWK_SEARCH_WORKERS=N] twk_search_bench FOLDER REPEATS [--regex] QUERY...
#include "logbrowser/LogFiles.h"
#include "logbrowser/SearchThread.h"
#include "platform/NativeLayer.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>
#include <variant>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace twk::logbrowser;

double ms(Clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

long peakKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    return 0;
}

struct Timing {
    double first = 0;
    double last = 0;
    std::uint64_t matches = 0;
};

// Listing the folder counts as part of the search, as it is when the window opens.
Timing timeSearch(twk::platform::FileSystem& files, const std::string& folder, const Matcher& matcher, unsigned workers)
{
    const auto start = Clock::now();
    SearchScope scope;
    scope.workers = workers;
    scope.files = logsInFolder(folder);
    SearchThread search(files, std::move(scope), matcher, 200000);
    Timing timing;
    bool seen = false;
    while (!search.finished()) {
        const auto rows = search.take(5000);
        if (!rows.empty() && !seen) {
            timing.first = ms(Clock::now() - start);
            seen = true;
        }
        if (rows.empty())
            std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    timing.last = ms(Clock::now() - start);
    if (!seen)
        timing.first = timing.last;
    timing.matches = search.matches();
    return timing;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::cerr << "usage: twk_search_bench FOLDER REPEATS [--regex] QUERY...\n";
        return 2;
    }
    const std::string folder = argv[1];
    const int repeats = std::max(1, std::atoi(argv[2]));
    // TWK_SEARCH_WORKERS: how many threads match pieces (the window uses 2).
    const char* workersVariable = std::getenv("TWK_SEARCH_WORKERS");
    const unsigned workers = workersVariable ? static_cast<unsigned>(std::max(1, std::atoi(workersVariable))) : 2;
    bool regex = false;
    auto files = twk::platform::makeNativeFileSystem();
    for (int i = 3; i < argc; ++i) {
        const std::string query = argv[i];
        if (query == "--regex") {
            regex = true;
            continue;
        }
        auto made = Matcher::make(query == "''" ? std::string() : query, regex);
        if (std::holds_alternative<std::string>(made)) {
            std::cerr << "not an expression: " << query << '\n';
            return 2;
        }
        std::vector<double> first;
        std::vector<double> last;
        std::uint64_t matches = 0;
        for (int run = 0; run < repeats; ++run) {
            const auto timing = timeSearch(*files, folder, std::get<Matcher>(made), workers);
            first.push_back(timing.first);
            last.push_back(timing.last);
            matches = timing.matches;
        }
        std::printf("%s%s %.1f %.1f %llu %.1f\n", regex ? "regex:" : "", query.c_str(), median(first), median(last),
                    static_cast<unsigned long long>(matches), static_cast<double>(peakKb()) / 1024);
        std::fflush(stdout);
        regex = false;
    }
    return 0;
}
