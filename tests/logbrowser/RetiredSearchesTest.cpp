#include "logbrowser/RetiredSearches.h"

#include "fakes/TempFolder.h"
#include "platform/NativeLayer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <variant>

namespace twk::logbrowser {
namespace {

// Reads of one file wait until the gate opens, as a slow disk or a long
// piece being matched holds a search up.
class GatedFileSystem : public platform::FileSystem {
public:
    GatedFileSystem(std::string gated) : gated_(std::move(gated)) {}

    void open()
    {
        std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    bool waiting() const { return waiting_.load(); }

    std::optional<std::string> readRange(const std::string& path, std::uint64_t offset, std::size_t length) override
    {
        wait(path);
        return inner_->readRange(path, offset, length);
    }
    std::optional<std::size_t> readInto(const std::string& path, std::uint64_t offset, std::span<char> into) override
    {
        wait(path);
        return inner_->readInto(path, offset, into);
    }
    bool replaceWith(const std::string& path, platform::NewFile access, const Producer& produce) override
    {
        return inner_->replaceWith(path, access, produce);
    }
    bool append(const std::string& path, std::string_view content) override { return inner_->append(path, content); }
    std::optional<platform::FileStamp> stamp(const std::string& path) override { return inner_->stamp(path); }
    bool isRegularFile(const std::string& path) override { return inner_->isRegularFile(path); }
    bool remove(const std::string& path) override { return inner_->remove(path); }

private:
    void wait(const std::string& path)
    {
        if (path.find(gated_) == std::string::npos)
            return;
        std::unique_lock lock(mutex_);
        waiting_ = true;
        changed_.wait(lock, [&] { return open_; });
    }

    std::unique_ptr<platform::FileSystem> inner_ = platform::makeNativeFileSystem();
    std::string gated_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = false;
    std::atomic<bool> waiting_{false};
};

std::string clipLog(int count, const std::string& word)
{
    std::string log;
    for (int i = 0; i < count; ++i)
        log += "[20261205" + std::to_string(100000 + i) + "]\r\nTEXT=" + word + " " + std::to_string(i) + "\r\n";
    return log;
}

template <typename Condition> bool within(std::chrono::seconds limit, Condition condition)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

TEST(RetiredSearches, ReplacedSearchEndsWithoutHoldingUpTheCaller)
{
    testing::TempFolder folder;
    testing::writeFile(folder.file("twk.txt"), clipLog(50, "word"));
    GatedFileSystem files("twk.txt");
    SearchScope scope;
    scope.files = logsInFolder(folder.path());
    auto search = std::make_unique<SearchThread>(files, scope, std::get<Matcher>(Matcher::make("", false)), 10);
    ASSERT_TRUE(within(std::chrono::seconds(30), [&] { return files.waiting(); }));
    {
        RetiredSearches retired;
        // Ending it here would wait for the read held at the gate: a hang fails by the test's timeout.
        retired.retire(std::move(search));
        retired.retire(nullptr);
        EXPECT_EQ(retired.ending(), 1u);
        files.open();
        EXPECT_TRUE(within(std::chrono::seconds(30), [&] { return retired.ending() == 0; }));
    }
}

TEST(RetiredSearches, FirstMatchIsHandedOverBeforeTheSearchEnds)
{
    testing::TempFolder folder;
    // The log the browser was opened on is read first; the other is held at the gate.
    testing::writeFile(folder.file("twk.txt"), clipLog(20, "zanzibar"));
    testing::writeFile(folder.file("20261204.txt"), clipLog(20, "other"));
    GatedFileSystem files("20261204");
    SearchScope scope;
    scope.files = logsInFolder(folder.path());
    for (std::size_t i = 0; i < scope.files.size(); ++i)
        if (scope.files[i].name == "twk.txt")
            scope.first = i;
    ASSERT_TRUE(scope.first);
    RetiredSearches retired;
    auto search =
        std::make_unique<SearchThread>(files, scope, std::get<Matcher>(Matcher::make("zanzibar 19", false)), 10);
    std::vector<FoundRow> rows;
    EXPECT_TRUE(within(std::chrono::seconds(30), [&] {
        rows = search->take(10);
        return !rows.empty();
    }));
    EXPECT_TRUE(search->searching());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows.front().firstLine, "zanzibar 19");
    retired.retire(std::move(search));
    files.open();
}

} // namespace
} // namespace twk::logbrowser
