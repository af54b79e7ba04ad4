// Dialog template 101 for the terminal build, the counterpart of KavloSSDUpdate.rc: the same
// controls, texts, positions and initial states (the icon has no text form).
#include "platform/TextTemplate.h"
#include "resource.h"

namespace {

platform::TextDialogTemplate UpdateDialogTemplate()
{
    using platform::TextControlKind;
    platform::TextDialogTemplate t;
    t.id = IDD_UPDATE_DIALOG;
    t.caption = L"Kavlo SSD Firmware Update";
    t.width = 320;
    t.height = 116;
    t.controls = {
        {IDC_WAIT_TEXT, TextControlKind::Text,
         L"Please wait while the firmware update is running ...", 53, 21, 168, true, true, 0},
        {IDC_STATUS_LABEL, TextControlKind::Text, L"Update status:", 17, 44, 64, true, true, 0},
        {IDC_STATUS_TEXT, TextControlKind::Text, L"[ status text... ]", 72, 44, 237, true, true, 0},
        {IDOK, TextControlKind::Button, L"OK", 205, 95, 50, true, false, 'o'},
        {IDCLOSE, TextControlKind::Button, L"Close", 263, 95, 50, true, false, 'c'},
        {IDC_HINT_TEXT, TextControlKind::RightText, L"", 7, 77, 306, false, true, 0},
        {IDC_DETAIL_TEXT, TextControlKind::Text, L"", 72, 58, 248, true, true, 0},
    };
    return t;
}

// Registered before main runs, as a linked resource is there before the program starts.
const bool registered = (platform::RegisterTextTemplate(UpdateDialogTemplate()), true);

} // namespace
