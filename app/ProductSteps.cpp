#include "app/ProductSteps.h"

#include "app/RestartCountdown.h"
#include "engine/SetupThread.h"
#include "hardware/HardwareChecks.h"
#include "updater/Updater.h"

bool ProductSteps::CheckFamilyADrive(SetupThread& worker)
{
    return hardware::CheckFamilyADrive(worker);
}

bool ProductSteps::CheckFamilyBDrive(SetupThread& worker)
{
    return hardware::CheckFamilyBDrive(worker);
}

void ProductSteps::RunUpdater(SetupThread& worker)
{
    updater::RunUpdater(worker, [&worker] { return hardware::IsListedBoard(worker.GetServices()); });
}

void ProductSteps::RestartWindows(SetupThread& worker) { RestartWindowsFromWorker(worker); }
