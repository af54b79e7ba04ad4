// The worker on its own thread: the start message runs the whole sequence there, and the
// dialog receives every report in order.
#include "engine/tests/EngineFixture.h"
#include "platform/MessageQueue.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace enginetest;

namespace {

// A dialog window served by a queue, safe to post to from the worker thread.
class QueueWindowMessages final : public platform::WindowMessages {
public:
    bool PostToWindow(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                      platform::MessageParam lParam) override
    {
        return static_cast<platform::MessageQueue*>(window)->Post({message, wParam, lParam});
    }
};

TEST(WorkerThread, RunsTheSequenceOnItsOwnThreadAndReportsInOrder)
{
    platform::fakes::FakePlatform fake;
    QueueWindowMessages windows;
    fake.services.windows = &windows;
    platform::MessageQueue dialogQueue;
    ScriptedSteps steps;
    std::thread::id sequenceThread;
    steps.runUpdater = [&](SetupThread& worker) {
        sequenceThread = std::this_thread::get_id();
        worker.ReportDetail(L"Update executed successfully.");
    };

    SetupThread worker(fake.services, steps);
    worker.m_bSilent = false;
    ASSERT_EQ(worker.Start(), 0u);
    // Posted at once after the start: the thread's queue already exists.
    ASSERT_TRUE(worker.PostToThread(WM_SETUP_START, 0,
                                    PayloadParam(new StartPayload{&dialogQueue})));

    RecordingDialog dialog(fake.windows);
    for (;;) {
        auto message = dialogQueue.WaitFor(std::chrono::seconds(30));
        ASSERT_TRUE(message.has_value()) << "the worker did not finish";
        dialog.Receive({&dialogQueue, message->message, message->wParam, message->lParam});
        if (message->message == WM_SETUP_DONE)
            break;
    }
    worker.Stop();
    EXPECT_NE(sequenceThread, std::this_thread::get_id());
    EXPECT_EQ(dialog.events.size(), 11u);
    EXPECT_EQ(dialog.events.front(), "STATUS:Checking for administrator credentials...");
    EXPECT_EQ(dialog.events[9], "DETAIL:Update executed successfully.");
    EXPECT_EQ(dialog.events.back(), "DONE");
}

} // namespace
