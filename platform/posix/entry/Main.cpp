// The POSIX entry of the host program: hands over the arguments, runs the program and ends the
// process with its result at once, so that a worker still inside its sequence never sees its
// objects destroyed.
#include "platform/Entry.h"
#include "platform/ProcessEnd.h"
#include "platform/posix/AppServices.h"

int main(int argc, char** argv)
{
    platform::posix::SetProcessArguments(argc, argv);
    platform::EndProcess(KavloMain());
}
