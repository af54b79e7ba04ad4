// The real message thread of the build's OS.
#include "platform/MessageThread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

namespace {

class RecordingThread final : public platform::MessageThread {
public:
    ~RecordingThread() override { Stop(); }

    std::vector<std::intptr_t> received;
    std::thread::id handlerThread;
    platform::MessageQueue finished;

protected:
    void OnThreadMessage(const platform::QueuedMessage& message) override
    {
        handlerThread = std::this_thread::get_id();
        if (message.message == kDone) {
            finished.Post(message);
            return;
        }
        received.push_back(message.lParam);
    }

public:
    static constexpr std::uint32_t kValue = 0x8001;
    static constexpr std::uint32_t kDone = 0x8002;
};

TEST(MessageThread, DeliversPostedMessagesInOrderOnItsOwnThread)
{
    RecordingThread thread;
    ASSERT_EQ(thread.Start(), 0u);
    std::vector<std::intptr_t> sent;
    // The first post follows the start at once: the queue must already exist.
    for (std::intptr_t i = 0; i < 2000; ++i) {
        ASSERT_TRUE(thread.PostToThread(RecordingThread::kValue, 0, i));
        sent.push_back(i);
    }
    ASSERT_TRUE(thread.PostToThread(RecordingThread::kDone, 0, 0));
    ASSERT_TRUE(thread.finished.WaitFor(std::chrono::seconds(30)).has_value());
    EXPECT_EQ(thread.received, sent);
    EXPECT_NE(thread.handlerThread, std::this_thread::get_id());
}

TEST(MessageThread, KeepsTheOrderOfEachPostingThread)
{
    RecordingThread thread;
    ASSERT_EQ(thread.Start(), 0u);
    auto poster = [&thread](std::intptr_t base) {
        for (std::intptr_t i = 0; i < 500; ++i)
            thread.PostToThread(RecordingThread::kValue, 0, base + i);
    };
    std::thread a(poster, 0), b(poster, 100000);
    a.join();
    b.join();
    ASSERT_TRUE(thread.PostToThread(RecordingThread::kDone, 0, 0));
    ASSERT_TRUE(thread.finished.WaitFor(std::chrono::seconds(30)).has_value());
    ASSERT_EQ(thread.received.size(), 1000u);
    std::intptr_t lastA = -1, lastB = 99999;
    for (std::intptr_t value : thread.received) {
        std::intptr_t& last = value < 100000 ? lastA : lastB;
        EXPECT_EQ(value, last + 1);
        last = value;
    }
}

TEST(MessageThread, RefusesPostsWhenNotRunning)
{
    RecordingThread thread;
    EXPECT_FALSE(thread.PostToThread(RecordingThread::kValue, 0, 1));
    ASSERT_EQ(thread.Start(), 0u);
    thread.Stop();
    EXPECT_FALSE(thread.PostToThread(RecordingThread::kValue, 0, 1));
}

} // namespace
