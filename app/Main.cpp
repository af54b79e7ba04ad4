// The entry of KavloSSDUpdateWin.exe, called by the platform's entry function.
#include "app/ProductSteps.h"
#include "app/Program.h"
#include "platform/Entry.h"

int KavloMain()
{
    static ProductSteps steps;
    return RunKavloSSDUpdate(platform::NativeServices(), steps);
}
