#pragma once
// Reading the kernel's sysfs. KAVLO_SYSFS_ROOT replaces /sys, so that tests and demonstrations
// can point the program at a fake machine tree.
#include <optional>
#include <string>
#include <vector>

namespace platform::posix {

std::string SysfsRoot();

// The whole file, or nothing when it cannot be read.
std::optional<std::string> ReadFile(const std::string& path);

// The first line of a text attribute, without its line end.
std::optional<std::string> ReadAttribute(const std::string& path);

// Entry names of a folder in name order, without "." and "..".
std::vector<std::string> ListFolder(const std::string& path);

bool Exists(const std::string& path);

} // namespace platform::posix
