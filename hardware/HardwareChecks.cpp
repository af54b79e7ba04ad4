#include "hardware/HardwareChecks.h"
#include "engine/SetupThread.h"
#include "hardware/SupportedHardware.h"
#include "hardware/WmiQueries.h"

#include <iterator>

namespace hardware {
namespace {

// The connection failure has no text of WMI's own; it reads like the query failures.
const wchar_t* const kConnectFailure = L"An error occurred connecting to WMI to get the drive model.";

void ReportDriveQueryFailure(SetupThread& worker, const std::wstring& reason)
{
    worker.ReportError({L"An error occurred while checking the hard drive model. " + reason,
                        kCodeDriveQueryFailed, true});
}

bool CheckDrive(SetupThread& worker, const wchar_t* const* rows, std::size_t count)
{
    WMIConnection connection(worker.GetServices().wmi);
    if (!ConnectWMI(connection)) {
        ReportDriveQueryFailure(worker, kConnectFailure);
        return false;
    }
    std::wstring model;
    try {
        model = GetDriveModel(connection);
    } catch (HDWMIException exception) {
        DisconnectWMI(connection);
        ReportDriveQueryFailure(worker, exception.m_strMessage);
        return false;
    }
    DisconnectWMI(connection);
    return MatchesModelTable(model, rows, count);
}

} // namespace

bool MatchesModelTable(const std::wstring& model, const wchar_t* const* rows, std::size_t count)
{
    const std::wstring compared = model.substr(0, kModelLength);
    for (std::size_t row = 0; row < count; ++row) {
        if (compared == rows[row])
            return true;
    }
    return false;
}

bool IsListedBoardId(const std::wstring& boardId)
{
    std::wstring id = boardId;
    for (wchar_t& c : id) {
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
    }
    for (const wchar_t* listed : kListedBoards) {
        if (id == listed)
            return true;
    }
    return false;
}

bool CheckFamilyADrive(SetupThread& worker)
{
    return CheckDrive(worker, kFamilyAModels, std::size(kFamilyAModels));
}

bool CheckFamilyBDrive(SetupThread& worker)
{
    return CheckDrive(worker, kFamilyBModels, std::size(kFamilyBModels));
}

bool IsListedBoard(platform::Services& services)
{
    std::wstring boardId;
    WMIConnection connection(services.wmi);
    if (!ConnectWMI(connection))
        return false;
    try {
        boardId = GetSystemId(connection);
    } catch (IDWMIException) {
        DisconnectWMI(connection);
        return false;
    }
    DisconnectWMI(connection);
    return IsListedBoardId(boardId);
}

} // namespace hardware
