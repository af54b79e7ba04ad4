#pragma once
// The prerequisite checks that report nothing themselves. The version check reports what it
// found and is an operation of the worker (SetupThread::IsWindows2000OrLater).
#include "platform/Services.h"

// The user is a member of the built-in Administrators group.
bool IsAdministrator(platform::SystemInfo& system);

// False only when the AC line is known to be offline; unknown counts as AC power.
bool IsOnACPower(platform::SystemInfo& system);

// Windows 2000 is version 5.0; the minor number is shown but never compared.
constexpr std::uint32_t kMinimumWindowsMajorVersion = 5;
