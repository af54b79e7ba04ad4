#include "engine/Prerequisites.h"

bool IsAdministrator(platform::SystemInfo& system) { return system.IsAdministratorsMember(); }

bool IsOnACPower(platform::SystemInfo& system)
{
    return system.GetACLineStatus() != platform::kACLineOffline;
}
