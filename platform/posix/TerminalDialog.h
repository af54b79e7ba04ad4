#pragma once
// How the terminal draws a text dialog: its frame, its controls in their current state and the
// keys it answers.
#include "platform/TextTemplate.h"

#include <string>
#include <vector>

namespace platform::posix {

// The lines of the dialog in UTF-8; `attributes` adds the bold, reverse and dim sequences.
// `controls` is the template's controls with their current text and state.
std::vector<std::string> RenderTextDialog(const TextDialogTemplate& dialogTemplate,
                                          const std::vector<TextControl>& controls,
                                          bool attributes);

} // namespace platform::posix
