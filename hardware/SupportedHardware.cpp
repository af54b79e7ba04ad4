#include "hardware/SupportedHardware.h"

namespace hardware {

std::wstring ChooseUpdaterFileName(bool familyA, bool familyB,
                                   const std::function<bool()>& isListedBoard)
{
    if (familyA)
        return isListedBoard() ? kUpdaterFamilyAListedBoard : kUpdaterFamilyAOtherBoard;
    if (familyB)
        return kUpdaterFamilyB;
    return {};
}

} // namespace hardware
