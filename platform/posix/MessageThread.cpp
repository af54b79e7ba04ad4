// POSIX message thread: a standard thread serving a blocking queue.
#include "platform/MessageThread.h"

#include <cerrno>
#include <system_error>
#include <thread>

namespace platform {

struct MessageThread::Impl {
    MessageQueue queue;
    std::thread thread;
};

MessageThread::MessageThread() : m_pImpl(std::make_unique<Impl>()) {}

MessageThread::~MessageThread() { Stop(); }

std::uint32_t MessageThread::Start()
{
    if (m_pImpl->thread.joinable())
        return EEXIST;
    try {
        m_pImpl->thread = std::thread([this] {
            if (!InitInstance())
                return;
            while (auto message = m_pImpl->queue.Wait())
                OnThreadMessage(*message);
        });
    } catch (const std::system_error& error) {
        return static_cast<std::uint32_t>(error.code().value());
    }
    return 0;
}

bool MessageThread::PostToThread(std::uint32_t message, std::uintptr_t wParam,
                                 std::intptr_t lParam)
{
    if (!m_pImpl->thread.joinable())
        return false;
    return m_pImpl->queue.Post({message, wParam, lParam});
}

void MessageThread::Stop()
{
    if (!m_pImpl->thread.joinable())
        return;
    m_pImpl->queue.Close();
    m_pImpl->thread.join();
}

} // namespace platform
