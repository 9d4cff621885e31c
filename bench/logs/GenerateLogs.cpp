// Writes clipboard logs for the log browser's benchmark: one continuous log
// of a number of entries, or a set of files per day of a total size. The
// bytes are the program's own: before writing, the first entries of the
// layout asked for are written through the program's log writer in a
// temporary folder and compared with what this generator makes of them.
#include "ini/IniFiles.h"
#include "platform/NativeLayer.h"

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

// The word the benchmark looks for seldom: it is in a handful of entries, one
// of them among the newest hundred.
constexpr const char* kRareWord = "zanzibar";
constexpr long kRareEvery = 2'000'000;

class Texts {
public:
    std::string next(long index)
    {
        if (index % kRareEvery == kRareEvery - 100 || index == 100)
            return "a note about " + std::string(kRareWord) + " to keep";
        const auto kind = random() % 100;
        if (kind < 40)
            return "https://example.org/articles/" + std::to_string(random() % 1000000) + "?ref=clipboard";
        if (kind < 85)
            return sentence(6 + random() % 12);
        if (kind < 95) {
            std::string text = sentence(3 + random() % 6);
            const auto lines = 1 + random() % 3;
            for (std::uint64_t line = 0; line < lines; ++line)
                text += "\r\n" + sentence(2 + random() % 8);
            return text;
        }
        return "int value_" + std::to_string(random() % 1000) + " = " + std::to_string(random() % 100000) + ";";
    }

private:
    std::uint64_t random()
    {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return state_ >> 33;
    }

    std::string word()
    {
        static const char* const kSyllables[] = {"ka", "lo", "mi", "ne", "ru", "ta", "vo", "se", "di", "pa",
                                                 "be", "fo", "gu", "hi", "jo", "zu", "ri", "no", "te", "la"};
        std::string result;
        const auto syllables = 1 + random() % 3;
        for (std::uint64_t i = 0; i < syllables; ++i)
            result += kSyllables[random() % 20];
        return result;
    }

    std::string sentence(std::uint64_t words)
    {
        std::string text;
        for (std::uint64_t i = 0; i < words; ++i) {
            if (i)
                text += ' ';
            text += word();
        }
        return text;
    }

    std::uint64_t state_ = 42;
};

std::string stamp(std::time_t when, const char* format)
{
    std::tm parts{};
    ::gmtime_r(&when, &parts);
    char text[32];
    std::strftime(text, sizeof text, format, &parts);
    return text;
}

// The bytes the program's writer adds for one capture at the end of its log.
void appendEntry(std::string& out, const std::string& section, const std::string& text)
{
    out += "[";
    out += section;
    out += "]\r\nTEXT=";
    out += text;
    out += "\r\n";
}

constexpr std::time_t kFirstCapture = 1'704'067'200; // 2024-01-01 00:00:00 UTC

struct Capture {
    std::time_t when;
    std::string text;
};

// Captures a few seconds to a minute apart, or (dense) every few seconds.
class Captures {
public:
    explicit Captures(bool dense) : dense_(dense) {}
    Capture next()
    {
        const auto spread = static_cast<std::time_t>(index_ * 2654435761ULL % 53);
        when_ += dense_ ? 1 + spread % 9 : 7 + spread;
        return {when_, texts_.next(index_++)};
    }

private:
    bool dense_;
    Texts texts_;
    long index_ = 0;
    std::time_t when_ = kFirstCapture;
};

bool sameAsWriter(bool perDay)
{
    const auto folder = std::filesystem::temp_directory_path() / ("twk-generator-check-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    auto files = twk::platform::makeNativeFileSystem();
    twk::ini::IniFiles ini(*files);
    Captures captures(perDay);
    std::string expected;
    std::string name;
    for (int i = 0; i < 300; ++i) {
        const auto capture = captures.next();
        const auto section = stamp(capture.when, "%Y%m%d%H%M%S");
        const auto file = perDay ? stamp(capture.when, "%Y%m%d") + ".txt" : std::string("twk.txt");
        if (name.empty())
            name = file;
        if (file != name)
            break;
        appendEntry(expected, section, capture.text);
        ini.write((folder / file).string(), section, "TEXT", capture.text, twk::platform::NewFile::OwnerOnly);
    }
    const auto written = files->read((folder / name).string());
    std::filesystem::remove_all(folder);
    return written && *written == expected;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::cerr << "usage: twk_generate_logs FOLDER continuous ENTRIES | FOLDER perday BYTES\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const std::string layout = argv[2];
    const long long amount = std::atoll(argv[3]);
    const bool perDay = layout == "perday";
    if (!sameAsWriter(perDay)) {
        std::cerr << "twk_generate_logs: the generated bytes differ from the program's writer\n";
        return 1;
    }
    std::filesystem::create_directories(folder);
    Captures captures(perDay);
    std::string out;
    if (!perDay) {
        std::ofstream file(folder / "twk.txt", std::ios::binary | std::ios::trunc);
        for (long long i = 0; i < amount; ++i) {
            const auto capture = captures.next();
            appendEntry(out, stamp(capture.when, "%Y%m%d%H%M%S"), capture.text);
            if (out.size() > (1 << 20)) {
                file << out;
                out.clear();
            }
        }
        file << out;
        return file ? 0 : 1;
    }
    // A file per day, up to the size asked for.
    long long total = 0;
    auto capture = captures.next();
    while (total < amount) {
        const std::string day = stamp(capture.when, "%Y%m%d");
        out.clear();
        while (stamp(capture.when, "%Y%m%d") == day) {
            appendEntry(out, stamp(capture.when, "%Y%m%d%H%M%S"), capture.text);
            capture = captures.next();
        }
        std::ofstream file(folder / (day + ".txt"), std::ios::binary | std::ios::trunc);
        file << out;
        if (!file)
            return 1;
        total += static_cast<long long>(out.size());
    }
    return 0;
}
