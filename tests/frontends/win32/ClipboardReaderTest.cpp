#include "ClipboardReader.h"
#include "ClipboardOwners.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

namespace twk::win32 {
namespace {

using platform::ClipboardMark;
using Result = ClipboardRead::Result;

// A reader whose reads are kept for the test; waiting for one answers the
// test's own windows meanwhile, as a program's message loop does.
class Reader {
public:
    explicit Reader(HWND ours)
        : reader_(ClipboardReader::start(ours, {[] {},
                                                [this](ClipboardRead read) {
                                                    std::lock_guard lock(mutex_);
                                                    reads_.push_back(std::move(read));
                                                }}))
    {
    }

    ClipboardReader& operator*() { return *reader_; }
    ClipboardReader* operator->() { return reader_.get(); }

    std::optional<ClipboardRead> next(DWORD patienceMs = 10000)
    {
        const DWORD start = GetTickCount();
        for (;;) {
            {
                std::lock_guard lock(mutex_);
                if (!reads_.empty()) {
                    auto read = std::move(reads_.front());
                    reads_.erase(reads_.begin());
                    return read;
                }
            }
            if (GetTickCount() - start > patienceMs)
                return std::nullopt;
            pumpMessages();
        }
    }

private:
    std::mutex mutex_;
    std::vector<ClipboardRead> reads_;
    std::unique_ptr<ClipboardReader> reader_;
};

class ClipboardReaderTest : public testing::Test {
protected:
    void SetUp() override
    {
        owner_ = makeOwner();
        ours_ = makeOwner();
        ASSERT_TRUE(owner_ && ours_);
        renderRequests = 0;
    }
    void TearDown() override
    {
        DestroyWindow(owner_);
        DestroyWindow(ours_);
    }

    HWND owner_ = nullptr;
    HWND ours_ = nullptr;
};

TEST_F(ClipboardReaderTest, ATextIsReadAsUtf8UpToItsFirstNul)
{
    Reader reader(ours_);
    ASSERT_NE(&*reader, nullptr);
    const wchar_t text[] = L"\x041f\x0440\x0438 \xD83D\xDC4D caf\xE9\r\nline\0after the NUL";
    put(owner_, {{CF_UNICODETEXT, blockOf(text, sizeof text)}});
    reader->request();
    const auto read = reader.next();
    ASSERT_TRUE(read);
    EXPECT_EQ(read->result, Result::read);
    EXPECT_TRUE(read->requested);
    EXPECT_EQ(read->mark, ClipboardMark::none);
    EXPECT_EQ(read->text, "\xD0\x9F\xD1\x80\xD0\xB8 \xF0\x9F\x91\x8D caf\xC3\xA9\r\nline");
    EXPECT_EQ(read->sequence, GetClipboardSequenceNumber());
    // Kept as read, ready to be put back.
    EXPECT_EQ(LockedUnicode(read->unicode).text(), std::wstring_view(text));
}

TEST_F(ClipboardReaderTest, AMarkedTextIsNeverAskedOfItsOwner)
{
    Reader reader(ours_);
    put(owner_, {{CF_UNICODETEXT, nullptr}, {registered("CanIncludeInClipboardHistory"), dwordBlock(0)}});
    reader->request();
    auto read = reader.next();
    ASSERT_TRUE(read);
    EXPECT_EQ(read->result, Result::read);
    EXPECT_EQ(read->mark, ClipboardMark::secret);
    EXPECT_EQ(read->text, "");
    EXPECT_EQ(renderRequests, 0);

    // Allowed by its value, the same content is asked for and read.
    put(owner_, {{CF_UNICODETEXT, nullptr}, {registered("CanIncludeInClipboardHistory"), dwordBlock(1)}});
    reader->request();
    read = reader.next();
    ASSERT_TRUE(read);
    EXPECT_EQ(read->mark, ClipboardMark::none);
    EXPECT_EQ(read->text, "rendered on demand");
    EXPECT_EQ(renderRequests, 1);
}

TEST_F(ClipboardReaderTest, AnOwnerThatDoesNotAnswerIsNotReadAndTheClipboardIsNotHeldMeanwhile)
{
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE owned = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    // Puts a text rendered on demand, then stops answering until released.
    std::thread silent([&] {
        HWND window = makeOwner();
        put(window, {{CF_UNICODETEXT, nullptr}});
        SetEvent(owned);
        WaitForSingleObject(release, INFINITE);
        DestroyWindow(window);
    });
    WaitForSingleObject(owned, INFINITE);

    Reader reader(ours_);
    const DWORD asked = GetTickCount();
    reader->request();
    Sleep(500);
    const bool free = OpenClipboard(ours_) != FALSE;
    if (free)
        CloseClipboard();
    const auto read = reader.next();
    const DWORD waited = GetTickCount() - asked;
    SetEvent(release);
    silent.join();
    CloseHandle(release);
    CloseHandle(owned);

    EXPECT_TRUE(free) << "the reader held the clipboard while it waited";
    ASSERT_TRUE(read);
    EXPECT_EQ(read->result, Result::failed);
    EXPECT_GE(waited + 100, ClipboardReader::kOwnerPatienceMs / 2);
    EXPECT_EQ(renderRequests, 0);
}

TEST_F(ClipboardReaderTest, AContentWhoseOwnerIsGoneIsReadWithoutAskingIt)
{
    Reader reader(ours_);
    HWND gone = makeOwner();
    put(gone, {{CF_UNICODETEXT, textBlock(L"left behind")}});
    DestroyWindow(gone);
    reader->request();
    const auto read = reader.next();
    ASSERT_TRUE(read);
    EXPECT_EQ(read->result, Result::read);
    EXPECT_EQ(read->text, "left behind");
}

TEST_F(ClipboardReaderTest, FollowingReadsEachChangeOfAnotherOwnerOnceAndNeverOurOwn)
{
    Reader reader(ours_);
    put(owner_, {{CF_UNICODETEXT, textBlock(L"before following")}});
    EXPECT_FALSE(reader.next(500)) << "a change announced while not following is not read";

    reader->follow(true);
    put(owner_, {{CF_UNICODETEXT, textBlock(L"first")}});
    put(owner_, {{CF_UNICODETEXT, textBlock(L"second")}});
    std::vector<std::string> texts;
    while (auto read = reader.next(2000)) {
        EXPECT_FALSE(read->requested);
        if (read->result == Result::read)
            texts.push_back(read->text);
    }
    // Each copy once; a change overtaken by the next before it was read is read as the next.
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back(), "second");
    EXPECT_LE(texts.size(), 2u);

    put(ours_, {{CF_UNICODETEXT, textBlock(L"put back")}});
    const auto ours = reader.next();
    ASSERT_TRUE(ours);
    EXPECT_EQ(ours->result, Result::ours);
    EXPECT_EQ(ours->text, "");
}

} // namespace
} // namespace twk::win32
