// POSIX process end: _exit skips atexit handlers and static destructors.
#include "platform/ProcessEnd.h"

#include <cerrno>
#include <unistd.h>

namespace platform {

void EndProcess(int exitCode) { ::_exit(exitCode); }

std::uint32_t LastOsError() { return static_cast<std::uint32_t>(errno); }

} // namespace platform
