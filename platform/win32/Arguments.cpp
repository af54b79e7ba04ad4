// Win32 argument vector: CommandLineToArgvW over GetCommandLineW, the runtime's usual rules.
#include "platform/Arguments.h"
#include "platform/NativeBackends.h"
#include "platform/win32/Win32.h"

#include <memory>

namespace platform {
namespace {

struct LocalFreeDeleter {
    void operator()(LPWSTR* block) const { ::LocalFree(block); }
};

class Win32ProcessArguments final : public ProcessArguments {
public:
    std::vector<std::wstring> Get() override
    {
        int count = 0;
        const std::unique_ptr<LPWSTR, LocalFreeDeleter> argv(
            ::CommandLineToArgvW(::GetCommandLineW(), &count));
        std::vector<std::wstring> arguments;
        if (!argv)
            return arguments;
        for (int i = 0; i < count; ++i)
            arguments.emplace_back(argv.get()[i]);
        return arguments;
    }
};

} // namespace

ProcessArguments& NativeProcessArguments()
{
    static Win32ProcessArguments arguments;
    return arguments;
}

} // namespace platform
