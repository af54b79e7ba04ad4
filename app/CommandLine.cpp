#include "app/CommandLine.h"

#include <cwchar>

void CommandLine::ParseParam(const wchar_t* param, bool /*isFlag*/, bool /*isLast*/)
{
    // Anything else is ignored without a message: deployment tools pass their own arguments.
    if (std::wcscmp(param, L"r") == 0)
        m_bRestart = true;
    if (std::wcscmp(param, L"s") == 0)
        m_bSilent = true;
}
