#include "platform/posix/Sysfs.h"

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace platform::posix {

std::string SysfsRoot()
{
    const char* root = std::getenv("KAVLO_SYSFS_ROOT");
    return (root != nullptr && *root != '\0') ? root : "/sys";
}

std::optional<std::string> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return std::nullopt;
    return content;
}

std::optional<std::string> ReadAttribute(const std::string& path)
{
    auto content = ReadFile(path);
    if (!content)
        return std::nullopt;
    const auto end = content->find_first_of("\r\n");
    if (end != std::string::npos)
        content->erase(end);
    return content;
}

std::vector<std::string> ListFolder(const std::string& path)
{
    std::vector<std::string> names;
    DIR* dir = ::opendir(path.c_str());
    if (dir == nullptr)
        return names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

bool Exists(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

} // namespace platform::posix
