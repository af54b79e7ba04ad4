#pragma once
// The messages between the dialog and the worker, and their heap payloads. Every message is
// posted, never sent; a payload belongs to the message that carries it.
#include "platform/Services.h"

#include <cstdint>
#include <memory>
#include <string>

// Application message range of Windows (WM_APP); the same values on every platform.
constexpr std::uint32_t kAppMessageBase = 0x8000;

constexpr std::uint32_t WM_SETUP_START = kAppMessageBase + 1;  // dialog -> worker thread
// kAppMessageBase + 2 is not used.
constexpr std::uint32_t WM_SETUP_STATUS = kAppMessageBase + 3; // text payload
constexpr std::uint32_t WM_SETUP_DETAIL = kAppMessageBase + 4; // text payload
constexpr std::uint32_t WM_SETUP_ERROR = kAppMessageBase + 5;  // failure payload
constexpr std::uint32_t WM_SETUP_HIDE = kAppMessageBase + 6;   // no payload
constexpr std::uint32_t WM_SETUP_SHOW = kAppMessageBase + 7;   // no payload
constexpr std::uint32_t WM_SETUP_DONE = kAppMessageBase + 8;   // no payload

// The start payload: the dialog's window, to which the worker reports.
struct StartPayload {
    platform::WindowHandle hDialog = nullptr;
};

// A payload rides in lParam as a raw pointer. These two are the only places where it changes
// hands: PayloadParam gives it up to the message, TakePayload takes it back on the other side.
template <class T>
platform::MessageParam PayloadParam(T* payload)
{
    return reinterpret_cast<platform::MessageParam>(payload);
}

template <class T>
std::unique_ptr<T> TakePayload(platform::MessageParam lParam)
{
    return std::unique_ptr<T>(reinterpret_cast<T*>(lParam));
}

// Posts a message that carries a heap payload. On success the payload travels with the
// message; when the post fails nobody else will see it, so it is freed here.
template <class T>
bool PostWithPayload(platform::WindowMessages& windows, platform::WindowHandle window,
                     std::uint32_t message, std::unique_ptr<T> payload)
{
    if (!windows.PostToWindow(window, message, 0, PayloadParam(payload.get())))
        return false;
    payload.release();
    return true;
}
