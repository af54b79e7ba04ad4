#include "app/ProductSteps.h"

#include "app/RestartCountdown.h"
#include "engine/SetupThread.h"

// Placeholders until the drive checks and the updater run are wired in: no drive matches.
bool ProductSteps::CheckFamilyADrive(SetupThread&) { return false; }

bool ProductSteps::CheckFamilyBDrive(SetupThread&) { return false; }

void ProductSteps::RunUpdater(SetupThread&)
{
    throw SetupException(L"The updater step is not available.", 1, true);
}

void ProductSteps::RestartWindows(SetupThread& worker) { RestartWindowsFromWorker(worker); }
