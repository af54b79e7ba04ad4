#pragma once
// The drive checks of the update sequence and the board check of the updater step, each over a
// WMI connection of its own.
#include "platform/Services.h"

#include <cstddef>
#include <string>

class SetupThread;

namespace hardware {

// True when the model of physical drive 0 is a row of model table A (B). A failed query or
// connection is reported through the worker as code 103 and answers false.
bool CheckFamilyADrive(SetupThread& worker);
bool CheckFamilyBDrive(SetupThread& worker);

// True when the system board id is listed. A failed query or connection answers false and is
// neither reported nor logged.
bool IsListedBoard(platform::Services& services);

// The comparisons, apart from WMI: a model longer than a row is cut to the row length first;
// nothing is trimmed and case counts. A board id is upper-cased (ASCII letters only) and then
// compared whole.
bool MatchesModelTable(const std::wstring& model, const wchar_t* const* rows, std::size_t count);
bool IsListedBoardId(const std::wstring& boardId);

} // namespace hardware
