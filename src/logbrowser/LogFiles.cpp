#include "logbrowser/LogFiles.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace twk::logbrowser {
namespace {

bool digitsAt(std::string_view text, std::size_t at, std::size_t count)
{
    if (text.size() < at + count)
        return false;
    return std::all_of(text.begin() + static_cast<std::ptrdiff_t>(at),
                       text.begin() + static_cast<std::ptrdiff_t>(at + count),
                       [](char c) { return c >= '0' && c <= '9'; });
}

LogTime number(std::string_view digits)
{
    LogTime value = 0;
    for (const char c : digits)
        value = value * 10 + (c - '0');
    return value;
}

std::string lowered(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return result;
}

// "_2", "_3", ... after a name; 0 when there is none, -1 when what follows is not that.
int repeatOf(std::string_view rest)
{
    if (rest.empty())
        return 0;
    if (rest.size() < 2 || rest.size() > 10 || rest.front() != '_' || !digitsAt(rest, 1, rest.size() - 1))
        return -1;
    return static_cast<int>(number(rest.substr(1)));
}

} // namespace

bool isLinkLog(LogKind kind)
{
    return kind == LogKind::LinkContinuous || kind == LogKind::LinkPerDay;
}

std::optional<LogFile> logFileNamed(std::string_view name)
{
    const std::string low = lowered(name);
    std::string_view stem = low;
    if (stem.size() < 4 || stem.substr(stem.size() - 4) != ".txt")
        return std::nullopt;
    stem.remove_suffix(4);
    LogFile file;
    file.name = std::string(name);
    if (stem == "twk") {
        file.kind = LogKind::ClipContinuous;
    } else if (stem == "twkurl") {
        file.kind = LogKind::LinkContinuous;
    } else if (stem.size() == 9 && stem.front() == 'u' && digitsAt(stem, 1, 8)) {
        file.kind = LogKind::LinkPerDay;
        file.named = number(stem.substr(1)) * 1000000;
    } else if (stem.size() == 8 && digitsAt(stem, 0, 8)) {
        file.kind = LogKind::ClipPerDay;
        file.named = number(stem) * 1000000;
    } else if (stem.size() >= 15 && digitsAt(stem, 0, 8) && stem[8] == '_' && digitsAt(stem, 9, 6)) {
        const int repeat = repeatOf(stem.substr(15));
        if (repeat < 0)
            return std::nullopt;
        file.kind = LogKind::ClipPerCopy;
        file.named = number(stem.substr(0, 8)) * 1000000 + number(stem.substr(9, 6));
        file.repeat = repeat;
    } else {
        return std::nullopt;
    }
    return file;
}

std::vector<LogFile> logsInFolder(const std::string& folder)
{
    std::vector<LogFile> logs;
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, std::filesystem::directory_options::skip_permission_denied,
                                                error);
    if (error)
        return logs;
    for (const auto& entry : entries) {
        std::error_code kindError;
        if (!entry.is_regular_file(kindError))
            continue;
        auto file = logFileNamed(entry.path().filename().string());
        if (!file)
            continue;
        file->path = entry.path().string();
        logs.push_back(std::move(*file));
    }
    std::sort(logs.begin(), logs.end(), [](const LogFile& a, const LogFile& b) {
        if (a.named != b.named)
            return a.named > b.named;
        if (a.repeat != b.repeat)
            return a.repeat > b.repeat;
        return a.name < b.name;
    });
    return logs;
}

std::string shownTime(LogTime time)
{
    if (time <= 0)
        return "";
    std::string digits = std::to_string(time);
    if (digits.size() != 14)
        return digits;
    // In place: the command line shows millions of these.
    std::string shown = "0000-00-00 00:00:00";
    static constexpr std::size_t kPlaces[] = {0, 1, 2, 3, 5, 6, 8, 9, 11, 12, 14, 15, 17, 18};
    for (std::size_t i = 0; i < digits.size(); ++i)
        shown[kPlaces[i]] = digits[i];
    return shown;
}

std::optional<LogTime> parsedTime(std::string_view text)
{
    std::string digits;
    for (const char c : text) {
        if (c >= '0' && c <= '9')
            digits += c;
        else if (c != '-' && c != ':' && c != ' ' && c != 'T')
            return std::nullopt;
    }
    if (digits.size() != 8 && digits.size() != 12 && digits.size() != 14)
        return std::nullopt;
    digits.resize(14, '0');
    const LogTime time = number(digits);
    const LogTime month = time / 100000000 % 100;
    const LogTime day = time / 1000000 % 100;
    if (month < 1 || month > 12 || day < 1 || day > 31)
        return std::nullopt;
    return time;
}

} // namespace twk::logbrowser
