#include "platform/fakes/AppFakes.h"

#include "platform/Text.h"

namespace platform::fakes {
namespace {

class FakeAccessToken final : public AccessToken {
public:
    explicit FakeAccessToken(FakeRestartServices& owner) : m_owner(owner) { ++m_owner.tokensOpen; }
    ~FakeAccessToken() override
    {
        --m_owner.tokensOpen;
        m_owner.calls.push_back("CloseToken");
    }
    FakeAccessToken(const FakeAccessToken&) = delete;
    FakeAccessToken& operator=(const FakeAccessToken&) = delete;

private:
    FakeRestartServices& m_owner;
};

} // namespace

int FakeDialogHost::RunModal(Dialog& dialog)
{
    if (failCreate)
        return kDialogCreateFailed;
    const auto controls = templates.find(dialog.TemplateId());
    window = std::make_unique<FakeDialogWindow>(
        dialog, controls == templates.end() ? std::map<int, FakeControl>{} : controls->second);
    m_pDialog = &dialog;
    dialog.Attach(window.get());
    dialog.OnInitDialog();
    if (!window->ended)
        window->Show(true);
    for (std::size_t step = 0; step < steps.size() && !window->ended; ++step)
        steps[step]();
    m_pDialog = nullptr;
    dialog.Attach(nullptr);
    return window->ended ? window->result : kStillRunning;
}

IconHandle FakeDialogHost::LoadAppIcon(int resourceId)
{
    loadedIcons.push_back(resourceId);
    return &m_icons[resourceId];
}

void FakeDialogHost::Deliver(std::uint32_t message, std::uintptr_t wParam, MessageParam lParam)
{
    std::intptr_t result = 0;
    if (!Running() || !m_pDialog->HandleMessage(message, wParam, lParam, result))
        undelivered.push_back({message, wParam, lParam});
}

void FakeDialogHost::Press(int commandId)
{
    if (Running())
        m_pDialog->DispatchCommand(commandId);
}

std::unique_ptr<AccessToken> FakeRestartServices::OpenProcessToken()
{
    calls.push_back("OpenProcessToken");
    if (failOpen) {
        m_nLastError = 5;
        return nullptr;
    }
    return std::make_unique<FakeAccessToken>(*this);
}

bool FakeRestartServices::LookupPrivilege(const std::wstring& name, PrivilegeId& id)
{
    calls.push_back("LookupPrivilegeValue " + ToUtf8(name));
    if (name != L"SeShutdownPrivilege")
        return false;
    id = shutdownPrivilege;
    return true;
}

void FakeRestartServices::AdjustPrivilege(AccessToken& /*token*/, const PrivilegeId& id,
                                          bool enable)
{
    calls.push_back(std::string(enable ? "Enable" : "Disable") + " privilege " +
                    std::to_string(id.low));
    m_nLastError = adjustError;
}

std::uint32_t FakeRestartServices::LastError() { return m_nLastError; }

bool FakeRestartServices::RequestRestart()
{
    calls.push_back("RequestRestart");
    ++restartRequests;
    if (onRestart)
        onRestart();
    return true;
}

} // namespace platform::fakes
