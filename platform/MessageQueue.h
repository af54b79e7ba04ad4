#pragma once
// A thread-safe first-in, first-out queue of messages: the queue of a POSIX message thread and
// of a POSIX dialog window, and the window of the fakes.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>

namespace platform {

struct QueuedMessage {
    std::uint32_t message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

class MessageQueue {
public:
    // False once the queue has been closed: the message was not taken.
    bool Post(const QueuedMessage& message)
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_bClosed)
                return false;
            m_messages.push_back(message);
        }
        m_ready.notify_one();
        return true;
    }

    // Blocks until a message arrives; empty once the queue is closed and drained.
    std::optional<QueuedMessage> Wait()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_ready.wait(lock, [this] { return !m_messages.empty() || m_bClosed; });
        return PopLocked();
    }

    // The next message if one is waiting, without blocking.
    std::optional<QueuedMessage> TryTake()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return PopLocked();
    }

    template <class Duration>
    std::optional<QueuedMessage> WaitFor(Duration timeout)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_ready.wait_for(lock, timeout, [this] { return !m_messages.empty() || m_bClosed; });
        return PopLocked();
    }

    // Refuses further posts; messages already queued can still be taken.
    void Close()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_bClosed = true;
        }
        m_ready.notify_all();
    }

private:
    std::optional<QueuedMessage> PopLocked()
    {
        if (m_messages.empty())
            return std::nullopt;
        QueuedMessage message = m_messages.front();
        m_messages.pop_front();
        return message;
    }

    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::deque<QueuedMessage> m_messages;
    bool m_bClosed = false;
};

} // namespace platform
