#include "Win32Clipboard.h"
#include "ClipboardOwners.h"

#include <gtest/gtest.h>

#include <memory>

namespace twk::win32 {
namespace {

// The copies of the next tick that has any, waiting for the reader meanwhile.
std::vector<platform::ClipboardCopy> nextCopies(Win32Clipboard& clipboard)
{
    const DWORD start = GetTickCount();
    for (;;) {
        auto copies = clipboard.takeCopies();
        if (!copies.empty() || GetTickCount() - start > 10000)
            return copies;
        pumpMessages();
    }
}

// Settles what the reader has to say, so that a later tick sees it.
void settle(Win32Clipboard& clipboard)
{
    const DWORD start = GetTickCount();
    while (clipboard.reading() && GetTickCount() - start < 10000)
        pumpMessages();
    for (int i = 0; i < 20; ++i)
        pumpMessages();
}

class Win32ClipboardTest : public testing::Test {
protected:
    void SetUp() override
    {
        other_ = makeOwner();
        ours_ = makeOwner();
        ASSERT_TRUE(other_ && ours_);
        put(other_, {{CF_UNICODETEXT, textBlock(L"there before")}});
    }
    void TearDown() override
    {
        DestroyWindow(other_);
        DestroyWindow(ours_);
    }

    HWND other_ = nullptr;
    HWND ours_ = nullptr;
};

TEST_F(Win32ClipboardTest, ThePutBackReplacesOnlyTheContentTheTickRead)
{
    auto clipboard = std::make_unique<Win32Clipboard>(ours_);
    ASSERT_TRUE(clipboard->announcesChanges());
    clipboard->setCapturing(true);
    auto copies = nextCopies(*clipboard);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].text, "there before");

    put(other_, {{CF_UNICODETEXT, textBlock(L"caf\xE9 \xD83D\xDC4D")}});
    copies = nextCopies(*clipboard);
    ASSERT_EQ(copies.size(), 1u);
    const auto read = copies[0].token;
    // Written once the messages waiting are answered.
    EXPECT_TRUE(clipboard->putBack(read, copies[0].text));
    pumpMessages();
    EXPECT_EQ(clipboardText(), L"caf\xE9 \xD83D\xDC4D");
    EXPECT_EQ(GetClipboardOwner(), ours_);
    settle(*clipboard);
    EXPECT_TRUE(clipboard->takeCopies().empty()) << "our own put-back is no copy";

    // A newer copy came after the tick read: neither the put-back nor the clear touches it.
    put(other_, {{CF_UNICODETEXT, textBlock(L"newer")}});
    EXPECT_FALSE(clipboard->putBack(read, "older"));
    EXPECT_FALSE(clipboard->clearIf(read));
    EXPECT_EQ(clipboardText(), L"newer");

    // A text the core changed (a javascript: link's address) is put back as changed,
    // before any later write.
    copies = nextCopies(*clipboard);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_TRUE(clipboard->putBack(copies[0].token, "its address"));
    EXPECT_FALSE(clipboard->clearIf(copies[0].token)) << "the put-back came first";
    EXPECT_EQ(clipboardText(), L"its address");

    // The last tick's put-back is written when the program ends before answering.
    put(other_, {{CF_UNICODETEXT, textBlock(L"last")}});
    copies = nextCopies(*clipboard);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_TRUE(clipboard->putBack(copies[0].token, copies[0].text));
    clipboard.reset();
    EXPECT_EQ(GetClipboardOwner(), ours_);
    EXPECT_EQ(clipboardText(), L"last");
}

TEST_F(Win32ClipboardTest, WithCaptureOffNothingIsReadNorAskedOfAnOwner)
{
    Win32Clipboard clipboard(ours_);
    clipboard.setCapturing(false);
    renderRequests = 0;
    put(other_, {{CF_UNICODETEXT, nullptr}});
    settle(clipboard);
    EXPECT_TRUE(clipboard.takeCopies().empty());
    EXPECT_EQ(renderRequests, 0);

    // Turned on, only what is copied from then on is read.
    clipboard.setCapturing(true);
    settle(clipboard);
    EXPECT_TRUE(clipboard.takeCopies().empty());
    EXPECT_EQ(renderRequests, 0);
    put(other_, {{CF_UNICODETEXT, textBlock(L"after")}});
    const auto copies = nextCopies(clipboard);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].text, "after");
}

} // namespace
} // namespace twk::win32
