// Writes arbitrary values into arbitrary files, as settings and logs do: the
// value must read back and nothing else may change, and the appending writes
// through the index must give the bytes of the plain rewrite, also when the
// file is edited behind the index's back. A file saved with a byte-order
// mark, in UTF-16 or with CR line ends keeps its form. Whether a section is
// there reads as the in-memory rules say, before the write that follows.
#include "FuzzCheck.h"
#include "IniNames.h"
#include "SwappedCase.h"
#include "fakes/MemoryFileSystem.h"
#include "ini/IniEncoding.h"
#include "ini/IniFiles.h"
#include "ini/IniIndex.h"
#include "ini/IniLines.h"
#include "ini/IniText.h"
#include "text/Characters.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using namespace twk;
using namespace twk::ini;

const std::string kPath = "fuzzed.ini";

bool oneLine(std::string_view text)
{
    return text.find_first_of("\r\n") == std::string_view::npos;
}

// A write that puts one key line into the file and nothing that reads as more.
bool writesOneKeyLine(std::string_view section, std::string_view key, std::string_view value)
{
    const auto line = std::string(key) + "=" + std::string(value);
    return oneLine(section) && oneLine(line) && !ini::sectionName(line);
}

// A write whose value the reader gives back as it was written: the reader
// trims names and values, takes quotes off a value, the first "=" as the end
// of the key and a NUL as the end of a name or value.
bool readsBackAsWritten(std::string_view section, std::string_view key, std::string_view value)
{
    const bool quoted =
        value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
    const bool nul = (std::string(section) + std::string(key) + std::string(value)).find('\0') != std::string::npos;
    return writesOneKeyLine(section, key, value) && ini::trimmed(section) == section && ini::trimmed(key) == key &&
           ini::trimmed(value) == value && key.find('=') == std::string_view::npos && !quoted && !nul;
}

// Whether the file's form holds the text unchanged: UTF-16 holds no bytes
// that are not UTF-8.
bool formHolds(const ini::FileForm& form, std::string_view text)
{
    return ini::decoded(ini::encoded(text, form)).text == text;
}

std::vector<std::string_view> splitAtLineFeeds(std::string_view text)
{
    std::vector<std::string_view> lines;
    for (std::size_t from = 0;;) {
        const auto feed = text.find('\n', from);
        lines.push_back(text.substr(from, feed == std::string_view::npos ? feed : feed - from));
        if (feed == std::string_view::npos)
            return lines;
        from = feed + 1;
    }
}

// withValue changes one line (or finishes the last one) and adds lines after
// it: every other line of the file stays as it was.
void checkOnlyOneLineChanges(std::string_view before, std::string_view after)
{
    const auto old = splitAtLineFeeds(before);
    const auto now = splitAtLineFeeds(after);
    TWK_FUZZ_CHECK(now.size() >= old.size());
    std::size_t same = 0;
    while (same < old.size() && old[same] == now[same])
        ++same;
    std::size_t sameAtEnd = 0;
    while (same + sameAtEnd < old.size() && old[old.size() - 1 - sameAtEnd] == now[now.size() - 1 - sameAtEnd])
        ++sameAtEnd;
    TWK_FUZZ_CHECK(old.size() - same - sameAtEnd <= 1);
}

void checkWrite(std::string_view before, std::string_view after, std::string_view section, std::string_view key,
                std::string_view value)
{
    if (!writesOneKeyLine(section, key, value))
        return;
    // The reader takes the key of the written line as the text before its
    // first "=", trimmed; that one key of the section may change.
    const auto line = std::string(key) + "=" + std::string(value);
    const auto writtenKey = ini::keyLine(line)->key;
    for (const auto& pair : twk::fuzz::namePairs(before, 32)) {
        if (twk::text::equalsIgnoringAsciiCase(pair.section, section) &&
            twk::text::equalsIgnoringAsciiCase(pair.key, writtenKey))
            continue;
        TWK_FUZZ_CHECK(ini::findValue(after, pair.section, pair.key) == ini::findValue(before, pair.section, pair.key));
    }
    if (readsBackAsWritten(section, key, value))
        TWK_FUZZ_CHECK(ini::findValue(after, section, key) == value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    twk::testing::MemoryFileSystem files;
    // An empty start stands for a file that is not there yet.
    std::string expected = input.ConsumeRandomLengthString(4096);
    if (!expected.empty())
        files.set(kPath, expected);
    // Lines longer than what the file layer holds at a time are read in
    // pieces: a short limit now and then sends the fuzzed file that way.
    const auto heldLine = std::size_t{1} << (expected.size() % 21);
    IniFiles ini(files, heldLine);

    std::string section;
    std::string key;
    for (int step = 0; step < 8 && input.remaining_bytes() > 0; ++step) {
        const auto kind = input.ConsumeIntegral<std::uint8_t>();
        if (kind >= 0xF0) {
            // An editor cuts the file and adds to it while the program runs.
            expected.resize(input.ConsumeIntegralInRange<std::size_t>(0, expected.size()));
            expected += input.ConsumeRandomLengthString(64);
            files.set(kPath, expected);
            continue;
        }
        // Names the file holds, or the last write's, reach keys and sections
        // that are there; random ones mostly make new sections.
        const auto pairs = twk::fuzz::namePairs(expected, 64);
        if ((kind & 4) && !pairs.empty()) {
            const auto& pair = pairs[input.ConsumeIntegralInRange<std::size_t>(0, pairs.size() - 1)];
            section = pair.section;
            key = pair.key;
        } else {
            if (!(kind & 1))
                section = input.ConsumeRandomLengthString(32);
            if (!(kind & 2))
                key = input.ConsumeRandomLengthString(16);
        }
        if (kind & 8) {
            section = twk::fuzz::swappedCase(section);
            key = twk::fuzz::swappedCase(key);
        }
        // Names and values are C strings to a writer: each ends at its first NUL.
        section = std::string(twk::text::beforeFirstNul(section));
        key = std::string(twk::text::beforeFirstNul(key));
        const std::string value(twk::text::beforeFirstNul(input.ConsumeRandomLengthString(128)));

        // A log writer asks first whether the name is taken, as a reader sees it.
        if (kind & 16)
            TWK_FUZZ_CHECK(ini.hasSection(kPath, section) == ini::hasSection(ini::decoded(expected).text, section));
        const auto written = ini::fileWithValue(expected, section, key, value);
        const auto before = ini::decoded(expected);
        const auto after = ini::decoded(written);
        TWK_FUZZ_CHECK(after.form.encoding == before.form.encoding);
        TWK_FUZZ_CHECK(after.form.strayByte == before.form.strayByte);
        checkOnlyOneLineChanges(before.text, after.text);
        if (formHolds(before.form, section) && formHolds(before.form, key) && formHolds(before.form, value)) {
            TWK_FUZZ_CHECK(after.text == ini::withValue(before.text, section, key, value, before.form.lineBreak));
            checkWrite(before.text, after.text, section, key, value);
        }
        if (ini::isPlainText(expected))
            if (const auto added = IniIndex(expected).answer(section, key, value);
                added.verdict == IniIndex::Verdict::Append)
                TWK_FUZZ_CHECK(written == expected + added.text);
        TWK_FUZZ_CHECK(ini.write(kPath, section, key, value, twk::platform::NewFile::OwnerOnly));
        TWK_FUZZ_CHECK(files.files[kPath].content == written);
        expected = written;
    }
    return 0;
}
