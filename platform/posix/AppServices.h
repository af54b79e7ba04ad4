#pragma once
// What the POSIX entry point hands to the backends.
#include "platform/NativeBackends.h"

namespace platform::posix {

// The entry hands over the argument vector that main received; there is no other portable way
// to read it.
void SetProcessArguments(int argc, char** argv);

} // namespace platform::posix
