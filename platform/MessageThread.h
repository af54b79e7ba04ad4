#pragma once
// A thread with its own message queue, the base of the worker. Messages posted to it are handed
// to OnThreadMessage on that thread, one at a time, in posting order.
#include "platform/MessageQueue.h"

#include <cstdint>
#include <memory>

namespace platform {

class MessageThread {
public:
    MessageThread();
    virtual ~MessageThread();
    MessageThread(const MessageThread&) = delete;
    MessageThread& operator=(const MessageThread&) = delete;

    // Starts the thread. Its queue exists when this returns, so a post right after it cannot be
    // lost. 0 on success, otherwise the OS error code.
    std::uint32_t Start();

    // False when the thread is not running or its queue refused the message; the caller still
    // owns any payload then.
    bool PostToThread(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

    // Lets the loop end after the messages already queued and waits for the thread. A derived
    // class calls it from its own destructor, while its handler can still run safely.
    void Stop();

protected:
    // Runs first on the new thread; false ends the thread before its loop.
    virtual bool InitInstance() { return true; }
    virtual void OnThreadMessage(const QueuedMessage& message) = 0;

private:
    struct Impl;
    std::unique_ptr<Impl> m_pImpl;
    friend struct Impl;
};

} // namespace platform
