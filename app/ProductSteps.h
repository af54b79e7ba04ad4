#pragma once
// The steps of the shipped program: the real drive checks, the updater run and the worker's
// automatic restart.
#include "engine/UpdateSteps.h"

class ProductSteps final : public UpdateSteps {
public:
    bool CheckFamilyADrive(SetupThread& worker) override;
    bool CheckFamilyBDrive(SetupThread& worker) override;
    void RunUpdater(SetupThread& worker) override;
    void RestartWindows(SetupThread& worker) override;
};
