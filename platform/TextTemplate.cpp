#include "platform/TextTemplate.h"

#include <map>
#include <mutex>

namespace platform {
namespace {

// Function statics: templates are registered by static objects of the program, whose
// construction order across files is not known.
std::mutex& RegistryMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::map<int, TextDialogTemplate>& Registry()
{
    static std::map<int, TextDialogTemplate> templates;
    return templates;
}

} // namespace

void RegisterTextTemplate(const TextDialogTemplate& dialogTemplate)
{
    const std::lock_guard<std::mutex> lock(RegistryMutex());
    Registry()[dialogTemplate.id] = dialogTemplate;
}

const TextDialogTemplate* FindTextTemplate(int templateId)
{
    const std::lock_guard<std::mutex> lock(RegistryMutex());
    const auto it = Registry().find(templateId);
    // std::map never moves its elements, so the pointer stays valid after the lock.
    return it != Registry().end() ? &it->second : nullptr;
}

} // namespace platform
