#include "fakes/MemoryFileSystem.h"
#include "ini/IniEncoding.h"
#include "ini/IniFiles.h"
#include "ini/IniText.h"
#include "text/Characters.h"

#include <gtest/gtest.h>

#include <random>

using namespace twk;

namespace {

// Texts made of the pieces the format cares about, so that section lines,
// key lines, blanks, quotes and line ends of every kind meet often.
std::string randomText(std::mt19937& random, int pieces)
{
    static const std::vector<std::string> kPieces = {
        "[",   "]",       "=",     " ",      "\t", "\v",        "\x1A",
        "\r",  "\n",      "\r\n",  "\r\r\n", "\"", "'",         std::string(1, '\0'),
        "a",   "A",       "b",     "1",      "2",  "TEXT",      "[1]\r\n",
        "[a]", "x=y\r\n", "\r\n[", "2026",   "_2", "[2026]\r\n"};
    std::uniform_int_distribution<std::size_t> pick(0, kPieces.size() - 1);
    std::string text;
    for (int i = 0; i < pieces; ++i)
        text += kPieces[pick(random)];
    return text;
}

std::string randomName(std::mt19937& random)
{
    static const std::vector<std::string> kNames = {"1",  "2",  "a", "A",    "b",      "TEXT",  "a b",    "",
                                                    " a", "12", "x", "2026", "2026_2", "a2026", "2026 a", "20262026"};
    return kNames[std::uniform_int_distribution<std::size_t>(0, kNames.size() - 1)(random)];
}

} // namespace

// Every read and write through the file layer gives what the in-memory
// rules give, whatever the line lengths against the bytes held at a time.
TEST(IniStreaming, ReadsAndWritesAgreeWithTheInMemoryRulesAtEveryHeldLength)
{
    std::mt19937 random(20261207);
    const std::vector<std::size_t> heldLengths = {1, 2, 3, 5, 8, 13, 64, ini::IniScan::kHeldLine};
    for (int round = 0; round < 3000; ++round) {
        twk::testing::MemoryFileSystem files;
        std::string content = randomText(random, std::uniform_int_distribution<int>(0, 40)(random));
        files.set("f", content);
        const auto held = heldLengths[static_cast<std::size_t>(round) % heldLengths.size()];
        ini::IniFiles files_ini(files, held);
        for (int step = 0; step < 6; ++step) {
            const auto section = randomName(random);
            const auto key = randomName(random);
            SCOPED_TRACE("round " + std::to_string(round) + " held " + std::to_string(held) + " content [" + content +
                         "] section [" + section + "] key [" + key + "]");
            ASSERT_EQ(files_ini.read("f", section, key), ini::valueInFile(content, section, key));
            ASSERT_EQ(files_ini.hasSection("f", section), ini::hasSection(ini::decoded(content).text, section));
            // A writer's names and values end at their first NUL.
            const std::string value(
                text::beforeFirstNul(randomText(random, std::uniform_int_distribution<int>(0, 4)(random))));
            ASSERT_TRUE(files_ini.write("f", section, key, value, platform::NewFile::OwnerOnly));
            content = ini::fileWithValue(content, section, key, value);
            ASSERT_EQ(files.files["f"].content, content);
        }
    }
}

TEST(IniStreaming, AValueIsReadNoLongerThanAsked)
{
    twk::testing::MemoryFileSystem files;
    files.set("f", "[s]\r\nk=\"" + std::string(5000, 'v') + "\"\r\n");
    ini::IniFiles ini(files, 64);
    EXPECT_EQ(ini.read("f", "s", "k", 10), std::string(10, 'v'));
    EXPECT_EQ(ini.read("f", "s", "k")->size(), 5000u);
}
