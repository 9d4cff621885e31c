#include "configuration/IniIndex.h"
#include "configuration/IniFiles.h"
#include "configuration/IniText.h"
#include "fakes/MemoryFileSystem.h"

#include <gtest/gtest.h>

#include <random>

using namespace twk;
using configuration::IniFiles;
using configuration::IniIndex;
using configuration::ini::withValue;

namespace {

// Random writes of the kinds logs and settings make, in random case, with
// values that hold line breaks, blank lines and text that looks like INI.
class RandomWrites {
public:
    explicit RandomWrites(unsigned seed) : random_(seed) {}

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    std::string name(const std::vector<std::string>& known)
    {
        if (!known.empty() && below(3) == 0)
            return oddCase(known[static_cast<std::size_t>(below(static_cast<int>(known.size())))]);
        return "S" + std::to_string(below(40));
    }
    std::string key() { return oddCase(below(2) == 0 ? "TEXT" : "K" + std::to_string(below(6))); }
    std::string value()
    {
        static const std::vector<std::string> pieces = {
            "a",      "text", "\r\n",  "\n",       "\r", "  ", "[S3]", "[ s7 ]\r\nTEXT=x",
            "TEXT=y", "=",    "\"q\"", "\r\n\r\n", "\t"};
        std::string value;
        for (int n = below(5); n > 0; --n)
            value += pieces[static_cast<std::size_t>(below(static_cast<int>(pieces.size())))];
        return value;
    }
    // What an editor might do to the file while the program runs.
    std::string edited(std::string content)
    {
        switch (below(5)) {
        case 0:
            return content + "\r\n";
        case 1:
            return content.empty() ? content : content.substr(0, content.size() - 1);
        case 2:
            return content + "[" + name({}) + "]";
        case 3:
            return "; note\r\n" + content;
        default:
            return content + "   ";
        }
    }

private:
    std::string oddCase(std::string text)
    {
        for (auto& c : text)
            if (below(2) == 0)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    }
    std::mt19937 random_;
};

} // namespace

TEST(IniIndex, WritesGiveTheSameBytesAsThePlainRewriteWhateverTheSequence)
{
    int appends = 0;
    int replaces = 0;
    for (unsigned seed = 1; seed <= 300; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        RandomWrites random(seed);
        twk::testing::MemoryFileSystem files;
        IniFiles ini(files);
        const std::vector<std::string> paths = {"a.txt", "b.txt"};
        std::map<std::string, std::string> expected;
        std::vector<std::string> sections;
        for (int step = 0; step < 60; ++step) {
            const auto& path = paths[static_cast<std::size_t>(random.below(2))];
            if (random.below(10) == 0 && files.files.count(path)) {
                files.set(path, random.edited(files.files[path].content));
                expected[path] = files.files[path].content;
                continue;
            }
            const auto section = random.name(sections);
            sections.push_back(section);
            const auto key = random.key();
            const auto value = random.value();
            expected[path] = withValue(expected[path], section, key, value);
            ASSERT_TRUE(ini.write(path, section, key, value));
            ASSERT_EQ(files.files[path].content, expected[path]) << "step " << step;
        }
        appends += files.appends;
        replaces += files.replaces;
    }
    // Both ways were taken many times.
    EXPECT_GT(appends, 3000);
    EXPECT_GT(replaces, 3000);
}

TEST(IniIndex, SaysWhatAWriteAddsOnlyWhenItAddsAtTheEnd)
{
    const std::string log = "[20261205140301]\r\nTEXT=one\r\n[20261205140302]\r\nTEXT=two";
    const IniIndex index(log);
    EXPECT_EQ(index.appendedText("20261205140303", "TEXT", "x"), "\r\n[20261205140303]\r\nTEXT=x\r\n");
    EXPECT_EQ(index.appendedText("20261205140302", "MORE", "x"), "\r\nMORE=x\r\n");       // new key, last section
    EXPECT_FALSE(index.appendedText("20261205140302", "text", "x"));                      // same second: in place
    EXPECT_FALSE(index.appendedText("20261205140301", "MORE", "x"));                      // not the last section
    EXPECT_FALSE(IniIndex(log + "\r\n\r\n").appendedText("20261205140302", "MORE", "x")); // before the blank line
    EXPECT_FALSE(IniIndex(log + "\r\n[20261205140301]\r\n").appendedText("20261205140301", "NEW", "x"));
}

TEST(IniIndex, SectionsInsideAppendedValuesCount)
{
    IniIndex index("");
    const auto added = index.appendedText("A", "TEXT", "pasted\r\n[B]\r\nTEXT=inside");
    ASSERT_TRUE(added);
    index.appended(*added);
    EXPECT_FALSE(index.appendedText("b", "TEXT", "x"));
    EXPECT_EQ(index.sectionCount(), 2u);
}

TEST(IniFilesIndex, NewEntriesAreAppendedAndEditsBehindItsBackAreSeen)
{
    twk::testing::MemoryFileSystem files;
    files.set("log", "[1]\r\nTEXT=a\r\n");
    IniFiles ini(files);
    ASSERT_TRUE(ini.write("log", "2", "TEXT", "b"));
    ASSERT_TRUE(ini.write("log", "3", "TEXT", "c"));
    EXPECT_EQ(files.appends, 2);
    EXPECT_EQ(files.replaces, 0);
    EXPECT_EQ(files.reads, 1); // only to build the index

    files.set("log", files.files["log"].content + "[4]\r\nTEXT=by hand\r\n");
    ASSERT_TRUE(ini.write("log", "4", "TEXT", "d")); // exists now: in place, not a second [4]
    EXPECT_EQ(files.files["log"].content, "[1]\r\nTEXT=a\r\n[2]\r\nTEXT=b\r\n[3]\r\nTEXT=c\r\n[4]\r\nTEXT=d\r\n");
    EXPECT_EQ(files.replaces, 1);
}

TEST(IniFilesIndex, AFailedAppendIsReportedAndTheNextWriteLooksAgain)
{
    struct TornAppends : twk::testing::MemoryFileSystem {
        bool append(const std::string& path, const std::string& content) override
        {
            set(path, files[path].content + content.substr(0, content.size() / 2)); // cut short
            return false;
        }
    } files;
    files.set("log", "[1]\r\nTEXT=a\r\n");
    IniFiles ini(files);
    ASSERT_TRUE(ini.write("log", "1", "TEXT", "a2")); // indexes the file
    EXPECT_FALSE(ini.write("log", "2", "TEXT", "lost"));
    const auto torn = files.files["log"].content;
    ASSERT_TRUE(ini.write("log", "1", "TEXT", "a3"));
    EXPECT_EQ(files.files["log"].content, withValue(torn, "1", "TEXT", "a3"));
}
