#pragma once
// Modal message boxes: the text, one OK button and the warning icon, captioned with the
// program's name (the executable's base name without its extension).
#include "platform/Services.h"

#include <string>

namespace platform {

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Returns when the user has closed the box. `owner` may be null or another thread's window.
    virtual void ShowWarning(WindowHandle owner, const std::wstring& text) = 0;
};

} // namespace platform
