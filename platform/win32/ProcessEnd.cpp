// Win32 process end: ExitProcess stops the other threads before anything is torn down, and the
// runtime's exit handlers (static destructors) do not run.
#include "platform/ProcessEnd.h"
#include "platform/win32/Win32.h"

namespace platform {

void EndProcess(int exitCode) { ::ExitProcess(static_cast<UINT>(exitCode)); }

std::uint32_t LastOsError() { return ::GetLastError(); }

} // namespace platform
