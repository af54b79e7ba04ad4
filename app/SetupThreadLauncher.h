#pragma once
// How the dialog gets its worker: creating the SetupThread and its thread, and posting it the
// start message.
#include "engine/SetupThread.h"

#include <cstdint>
#include <memory>

class SetupThreadLauncher {
public:
    virtual ~SetupThreadLauncher() = default;
    // Creates the worker and starts its thread; 0, or the OS error code and a null worker.
    virtual std::uint32_t Create(SetupThread*& worker) = 0;
    // Posts WM_SETUP_START with the payload; 0, or the OS error code (the payload is then freed
    // here).
    virtual std::uint32_t PostStart(SetupThread& worker, std::unique_ptr<StartPayload> payload) = 0;
};

// The program's launcher. The worker it creates is never destroyed: it may still be inside its
// sequence when the dialog ends, and the process then ends around it.
class NativeSetupThreadLauncher final : public SetupThreadLauncher {
public:
    NativeSetupThreadLauncher(platform::Services& services, UpdateSteps& steps)
        : m_services(services), m_steps(steps)
    {
    }
    std::uint32_t Create(SetupThread*& worker) override;
    std::uint32_t PostStart(SetupThread& worker, std::unique_ptr<StartPayload> payload) override;

private:
    platform::Services& m_services;
    UpdateSteps& m_steps;
};

// ERROR_INVALID_THREAD_ID: a post refused without an OS error of its own.
constexpr std::uint32_t kErrorInvalidThreadId = 1444;
