#include "platform/Services.h"

namespace platform {

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name, wchar_t separator)
{
    std::wstring path = folder;
    if (path.empty() || path.back() != separator)
        path += separator;
    return path + name;
}

std::wstring FileSystem::JoinPath(const std::wstring& folder, const std::wstring& name) const
{
    return platform::JoinPath(folder, name, PathSeparator());
}

} // namespace platform
