#include "wayland/Transfers.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <thread>

using namespace twk::wayland;

namespace {

struct Pipe {
    int read = -1;
    int write = -1;
    Pipe()
    {
        int ends[2];
        EXPECT_EQ(pipe2(ends, O_CLOEXEC | O_NONBLOCK), 0);
        read = ends[0];
        write = ends[1];
    }
};

} // namespace

TEST(WaylandTransfers, TheTextFormatAskedIsTheOneThatSaysUtf8ThenTheOnesThatMeanIt)
{
    EXPECT_EQ(TextTypeOf({"text/html", "text/plain", "text/plain;charset=UTF-8"}), "text/plain;charset=UTF-8");
    EXPECT_EQ(TextTypeOf({"STRING", "text/plain", "UTF8_STRING"}), "UTF8_STRING");
    // STRING is Latin-1: only when nothing else is offered.
    EXPECT_EQ(TextTypeOf({"STRING", "TEXT"}), "TEXT");
    EXPECT_EQ(TextTypeOf({"image/png", "STRING"}), "STRING");
    EXPECT_EQ(TextTypeOf({"image/png", "text/html", "text/uri-list"}), std::nullopt);
    EXPECT_EQ(TextTypeOf({}), std::nullopt);
    // Our own sources are read by every program that asks as they ask.
    EXPECT_EQ(TextTypeOf(TextTypes()), "text/plain;charset=utf-8");
}

TEST(WaylandTransfers, WhatComesInPiecesIsTakenWholeAndTooMuchIsRefused)
{
    Pipe pipe;
    Incoming incoming(pipe.read);
    EXPECT_EQ(incoming.readAvailable(100), Incoming::State::more);
    EXPECT_FALSE(incoming.moved());
    ASSERT_EQ(write(pipe.write, "first ", 6), 6);
    EXPECT_EQ(incoming.readAvailable(100), Incoming::State::more);
    EXPECT_TRUE(incoming.moved());
    ASSERT_EQ(write(pipe.write, "second", 6), 6);
    close(pipe.write);
    EXPECT_EQ(incoming.readAvailable(100), Incoming::State::done);
    EXPECT_EQ(incoming.data(), "first second");

    Pipe big;
    Incoming tooBig(big.read);
    const std::string hint(64, 'x');
    ASSERT_EQ(write(big.write, hint.data(), hint.size()), 64);
    EXPECT_EQ(tooBig.readAvailable(63), Incoming::State::failed);
    close(big.write);
}

TEST(WaylandTransfers, AReaderThatTakesNothingOrHasGoneHoldsNothingUp)
{
    // More than a pipe holds, to a reader that never reads: given up after the patience.
    const std::string large(4 << 20, 'a');
    Pipe silent;
    const auto started = std::chrono::steady_clock::now();
    SendNow(silent.write, large, std::chrono::milliseconds(200));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    // The end was closed: the reader sees what fitted, then the end.
    char buffer[65536];
    ssize_t got = 0;
    std::size_t total = 0;
    while ((got = read(silent.read, buffer, sizeof buffer)) > 0)
        total += static_cast<std::size_t>(got);
    EXPECT_EQ(got, 0);
    EXPECT_GT(total, 0u);
    EXPECT_LT(total, large.size());
    close(silent.read);

    // A reader gone: the write fails, and the program is not ended by SIGPIPE.
    Pipe gone;
    close(gone.read);
    SendNow(gone.write, large, std::chrono::milliseconds(200));

    // In the background, a whole text reaches a reader that takes it slowly.
    Pipe slow;
    SendInBackground(slow.write, std::make_shared<const std::string>(large), std::chrono::seconds(5));
    std::string received;
    fcntl(slow.read, F_SETFL, 0);
    while ((got = read(slow.read, buffer, sizeof buffer)) > 0) {
        received.append(buffer, static_cast<std::size_t>(got));
        if (received.size() < 65536)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_EQ(received, large);
    close(slow.read);
}
