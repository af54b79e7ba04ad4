#pragma once
// A dialog template for hosts that draw text instead of windows (the terminal). The program
// registers its templates the way a Windows program links its dialog resources; the host looks
// them up by the template id that the dialog was constructed with.
#include <string>
#include <vector>

namespace platform {

enum class TextControlKind {
    Text,      // left-aligned static text
    RightText, // right-aligned static text; `width` is where it ends
    Button,    // a push button; its command id is the control id
};

struct TextControl {
    int id = 0;
    TextControlKind kind = TextControlKind::Text;
    std::wstring text;
    // Position and width in dialog units of the Windows template, so that both builds agree
    // on the layout.
    int x = 0;
    int y = 0;
    int width = 0;
    bool visible = true;
    bool enabled = true;
    // The key that presses a button (besides Enter for OK); 0 for none.
    char key = 0;
};

struct TextDialogTemplate {
    int id = 0;
    std::wstring caption;
    int width = 0;
    int height = 0;
    std::vector<TextControl> controls;
};

// Registers a template under its id; a later one with the same id replaces it.
void RegisterTextTemplate(const TextDialogTemplate& dialogTemplate);
// Null when no template with this id is registered.
const TextDialogTemplate* FindTextTemplate(int templateId);

} // namespace platform
