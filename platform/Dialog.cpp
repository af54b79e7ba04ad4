#include "platform/Dialog.h"

namespace platform {

bool Dialog::HandleMessage(std::uint32_t message, std::uintptr_t wParam, MessageParam lParam,
                             std::intptr_t& result)
{
    const auto it = m_messages.find(message);
    if (it == m_messages.end())
        return false;
    result = it->second(wParam, lParam);
    return true;
}

void Dialog::DispatchCommand(int commandId)
{
    if (commandId == kCommandOk && !Window().IsItemEnabled(kCommandOk))
        return;
    const auto it = m_commands.find(commandId);
    if (it != m_commands.end())
        it->second();
    else if (commandId == kCommandOk)
        OnOK();
    else if (commandId == kCommandCancel)
        OnCancel();
}

void Dialog::OnMessage(std::uint32_t message, MessageHandler handler)
{
    m_messages[message] = std::move(handler);
}

void Dialog::OnCommand(int commandId, CommandHandler handler)
{
    m_commands[commandId] = std::move(handler);
}

} // namespace platform
