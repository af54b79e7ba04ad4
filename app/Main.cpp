// The entry of the program (KavloSSDUpdateWin.exe, and KavloSSDUpdate on the host), called by
// the platform's entry function.
#include "app/ProductSteps.h"
#include "app/Program.h"
#include "platform/Entry.h"

int KavloMain()
{
    static ProductSteps steps;
    return RunKavloSSDUpdate(platform::NativeServices(), steps);
}
