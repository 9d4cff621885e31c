#include "logbrowser/CommandLine.h"

#include "logbrowser/JsonText.h"
#include "logbrowser/LineBreaks.h"
#include "logbrowser/LogSearch.h"

#include <filesystem>
#include <variant>

namespace twk::logbrowser {
namespace {

void printPlain(std::ostream& out, const LogFile& file, const Hit& hit)
{
    // One buffer for every line: millions of entries may be printed.
    static thread_local std::string line;
    line = shownTime(hit.time);
    line += '\t';
    line += file.name;
    line += '\t';
    // Each further line of a text starts with a TAB, so a line that does not is a new entry.
    const auto text = hit.text;
    std::size_t from = 0;
    while (from <= text.size()) {
        const auto end = findBreak(text, from);
        if (end == text.size()) {
            line.append(text.substr(from));
            break;
        }
        line.append(text.substr(from, end - from));
        line += "\n\t";
        from = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    line += '\n';
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
}

void printJson(std::ostream& out, const LogFile& file, const Hit& hit)
{
    out << "{\"time\":\"" << shownTime(hit.time) << "\",\"log\":" << jsonString(file.path)
        << ",\"offset\":" << hit.offset << ",\"text\":" << jsonString(hit.text) << "}\n";
}

} // namespace

std::string usage()
{
    return "usage: twk3-logs [FILE | FOLDER]\n"
           "       twk3-logs --search TEXT [--regex] [--since DATE] [--json] [FOLDER | FILE]\n";
}

Request parsedRequest(const std::vector<std::string>& words)
{
    Request request;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        const bool hasNext = i + 1 < words.size();
        if (word == "--search" && hasNext) {
            request.search = true;
            request.query = words[++i];
        } else if (word == "--since" && hasNext) {
            request.since = words[++i];
        } else if (word == "--regex") {
            request.regex = true;
        } else if (word == "--json") {
            request.json = true;
        } else if (word.rfind("--", 0) == 0 && word.size() > 2) {
            request.error = "unknown or incomplete option " + word;
        } else if (request.place.empty()) {
            request.place = word;
        } else {
            request.error = "more than one folder or file: " + word;
        }
    }
    if (request.error.empty() && !request.search && (request.regex || request.json || !request.since.empty()))
        request.error = "--regex, --since and --json go with --search";
    return request;
}

Place placeOf(const std::string& place, const std::string& defaultFolder)
{
    if (place.empty())
        return {defaultFolder, {}};
    std::error_code error;
    const std::filesystem::path path(place);
    if (std::filesystem::is_directory(path, error))
        return {place, {}};
    // A file, or a log not written yet (the name of the present second): its folder.
    auto folder = path.parent_path().string();
    return {folder.empty() ? std::string(".") : folder, place};
}

int runSearch(platform::FileSystem& files, const Request& request, const std::string& defaultFolder, std::ostream& out,
              std::ostream& err)
{
    auto made = Matcher::make(request.query, request.regex);
    if (const auto* problem = std::get_if<std::string>(&made)) {
        err << "twk3-logs: the expression cannot be used: " << *problem << '\n';
        return 2;
    }
    const Matcher& matcher = std::get<Matcher>(made);
    SearchScope scope;
    if (!request.since.empty()) {
        const auto since = parsedTime(request.since);
        if (!since) {
            err << "twk3-logs: not a date: " << request.since << " (use 2026-12-05 or 2026-12-05 14:03)\n";
            return 2;
        }
        scope.since = *since;
    }
    const Place place = placeOf(request.place, defaultFolder);
    std::error_code error;
    if (!std::filesystem::is_directory(place.folder, error)) {
        err << "twk3-logs: no such folder: " << place.folder << '\n';
        return 2;
    }
    scope.files = logsInFolder(place.folder);
    std::size_t count = 0;
    searchLogs(files, scope, matcher, [&](const Hit& hit) {
        const LogFile& file = scope.files[hit.file];
        if (request.json)
            printJson(out, file, hit);
        else
            printPlain(out, file, hit);
        ++count;
        return static_cast<bool>(out);
    });
    out.flush();
    return count > 0 ? 0 : 1;
}

} // namespace twk::logbrowser
