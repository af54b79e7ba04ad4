#pragma once
// Ending the process while other threads may still be running.
#include <cstdint>

namespace platform {

// Ends the process with the code at once: no static object is destroyed and no other thread is
// waited for, so a worker still inside its handler never sees its objects torn down.
[[noreturn]] void EndProcess(int exitCode);

// The calling thread's last OS error code (GetLastError, errno).
std::uint32_t LastOsError();

} // namespace platform
