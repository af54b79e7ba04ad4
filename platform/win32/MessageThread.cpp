// Win32 message thread: CreateThread and a GetMessage loop.
#include "platform/MessageThread.h"
#include "platform/win32/Win32.h"

namespace platform {

struct MessageThread::Impl {
    static DWORD WINAPI ThreadProc(void* parameter);

    MessageThread* owner = nullptr;
    win32::ScopedHandle thread;
    win32::ScopedHandle ready;
    DWORD threadId = 0;
};

DWORD WINAPI MessageThread::Impl::ThreadProc(void* parameter)
{
    auto* owner = static_cast<MessageThread*>(parameter);
    // A thread has no message queue until it first calls a message function; PostThreadMessageW
    // to it fails until then. Create the queue before the creator may post.
    MSG msg;
    ::PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    ::SetEvent(owner->m_pImpl->ready.Get());
    if (!owner->InitInstance())
        return 0;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.hwnd == nullptr)
            owner->OnThreadMessage({msg.message, msg.wParam, msg.lParam});
        else
            ::DispatchMessageW(&msg);
    }
    return 0;
}

MessageThread::MessageThread() : m_pImpl(std::make_unique<Impl>()) { m_pImpl->owner = this; }

MessageThread::~MessageThread() { Stop(); }

std::uint32_t MessageThread::Start()
{
    if (m_pImpl->thread.IsValid())
        return ERROR_ALREADY_EXISTS;
    m_pImpl->ready.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!m_pImpl->ready.IsValid())
        return ::GetLastError();
    m_pImpl->thread.Reset(
        ::CreateThread(nullptr, 0, &Impl::ThreadProc, this, 0, &m_pImpl->threadId));
    if (!m_pImpl->thread.IsValid())
        return ::GetLastError();
    ::WaitForSingleObject(m_pImpl->ready.Get(), INFINITE);
    return 0;
}

bool MessageThread::PostToThread(std::uint32_t message, std::uintptr_t wParam,
                                 std::intptr_t lParam)
{
    if (!m_pImpl->thread.IsValid())
        return false;
    return ::PostThreadMessageW(m_pImpl->threadId, message, wParam, lParam) != FALSE;
}

void MessageThread::Stop()
{
    if (!m_pImpl->thread.IsValid())
        return;
    ::PostThreadMessageW(m_pImpl->threadId, WM_QUIT, 0, 0);
    ::WaitForSingleObject(m_pImpl->thread.Get(), INFINITE);
    m_pImpl->thread.Reset();
}

} // namespace platform
