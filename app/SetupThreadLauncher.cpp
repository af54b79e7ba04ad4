#include "app/SetupThreadLauncher.h"

#include "platform/ProcessEnd.h"


std::uint32_t NativeSetupThreadLauncher::Create(SetupThread*& worker)
{
    worker = nullptr;
    auto created = std::make_unique<SetupThread>(m_services, m_steps);
    const std::uint32_t error = created->Start();
    if (error != 0)
        return error;
    worker = created.release();
    return 0;
}

std::uint32_t NativeSetupThreadLauncher::PostStart(SetupThread& worker,
                                                   std::unique_ptr<StartPayload> payload)
{
    if (worker.PostToThread(WM_SETUP_START, 0, PayloadParam(payload.get()))) {
        payload.release();
        return 0;
    }
    const std::uint32_t error = platform::LastOsError();
    return error != 0 ? error : kErrorInvalidThreadId;
}
