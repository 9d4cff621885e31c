#include "platform/CopyQueue.h"

#include <gtest/gtest.h>

using twk::platform::ClipboardCopy;
using twk::platform::CopyQueue;

namespace {

ClipboardCopy copyOf(std::string text, twk::platform::ClipboardToken token)
{
    ClipboardCopy copy;
    copy.text = std::move(text);
    copy.token = token;
    return copy;
}

std::string tokensOf(const std::vector<ClipboardCopy>& copies)
{
    std::string tokens;
    for (const auto& copy : copies)
        tokens += std::to_string(copy.token) + " ";
    return tokens;
}

} // namespace

TEST(CopyQueue, PastTheBoundTheOldestGoAndTheNewestAlwaysStays)
{
    CopyQueue byCount(3, 1000);
    for (int i = 1; i <= 5; ++i)
        byCount.push(copyOf("x", i));
    EXPECT_EQ(byCount.dropped(), 2U);
    EXPECT_EQ(tokensOf(byCount.take()), "3 4 5 ");
    EXPECT_TRUE(byCount.empty());

    CopyQueue byBytes(100, 10);
    byBytes.push(copyOf("aaaa", 1));
    byBytes.push(copyOf("bbbb", 2));
    byBytes.push(copyOf("cccc", 3)); // 12 bytes: the first goes
    EXPECT_EQ(tokensOf(byBytes.take()), "2 3 ");
    byBytes.push(copyOf("small", 4));
    byBytes.push(copyOf(std::string(50, 'h'), 5)); // alone beyond the bound: kept, alone
    EXPECT_EQ(tokensOf(byBytes.take()), "5 ");
    byBytes.push(copyOf("after", 6));
    EXPECT_EQ(tokensOf(byBytes.take()), "6 ") << "what was taken no longer counts";
}
