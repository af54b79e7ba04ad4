#pragma once
// The failure record: what the user is shown, the code that becomes the process exit code, and
// whether the dialog shows it as an error ("An error occurred...") or as the status itself.
#include <cstdint>
#include <string>

class SetupException {
public:
    SetupException() = default;
    SetupException(std::wstring message, std::int32_t code, bool error)
        : m_strMessage(std::move(message)), m_nCode(code), m_bError(error)
    {
    }

    std::wstring m_strMessage;
    std::int32_t m_nCode = 0;
    bool m_bError = false;
};

// The failure codes of the update sequence itself.
constexpr std::int32_t kCodeNotAdministrator = 100;
constexpr std::int32_t kCodeWindowsTooOld = 101;
constexpr std::int32_t kCodeNotOnACPower = 102;
constexpr std::int32_t kCodeDriveQueryFailed = 103;
constexpr std::int32_t kCodeDriveNotSupported = 104;
