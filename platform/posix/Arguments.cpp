// POSIX argument vector: the one main received, each argument read as UTF-8.
#include "platform/Arguments.h"
#include "platform/Text.h"
#include "platform/posix/AppServices.h"

#include <mutex>

namespace platform {
namespace {

class PosixProcessArguments final : public ProcessArguments {
public:
    void Set(int argc, char** argv)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_arguments.clear();
        for (int i = 0; i < argc && argv[i] != nullptr; ++i)
            m_arguments.push_back(FromUtf8(argv[i]));
    }

    std::vector<std::wstring> Get() override
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_arguments;
    }

private:
    std::mutex m_mutex;
    std::vector<std::wstring> m_arguments;
};

PosixProcessArguments& Arguments()
{
    static PosixProcessArguments arguments;
    return arguments;
}

} // namespace

ProcessArguments& NativeProcessArguments() { return Arguments(); }

void posix::SetProcessArguments(int argc, char** argv) { Arguments().Set(argc, argv); }

} // namespace platform
