// The Windows entry of the GUI programs: runs the program and ends the process with its result
// at once, so that a worker still inside its sequence never sees its objects destroyed.
#include "platform/Entry.h"
#include "platform/ProcessEnd.h"
#include "platform/win32/Win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    platform::EndProcess(KavloMain());
}
