#include "app/Program.h"

#include "app/KavloSSDUpdateApp.h"

int RunKavloSSDUpdate(platform::Services& services, UpdateSteps& steps)
{
    NativeSetupThreadLauncher launcher(services, steps);
    KavloSSDUpdateApp app(services, launcher);
    return app.Run();
}
