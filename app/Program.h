#pragma once
// The whole program over a set of services and steps: the exit code of the run.
#include "engine/UpdateSteps.h"
#include "platform/Services.h"

int RunKavloSSDUpdate(platform::Services& services, UpdateSteps& steps);
