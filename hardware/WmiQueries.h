#pragma once
// The two WMI queries that identify the hardware: the model of physical drive 0 and the product
// id of the system board. Each query runs on a connection of its own: ConnectWMI, exactly one
// query, DisconnectWMI, whether the query returned or threw.
#include "platform/Wmi.h"

#include <memory>
#include <string>

namespace hardware {

// The drive-model query failed; thrown and caught by value.
class HDWMIException {
public:
    explicit HDWMIException(std::wstring message) : m_strMessage(std::move(message)) {}
    std::wstring m_strMessage;
};

// The system-id (board) query failed; a type of its own so that each caller catches only the
// failure of its own query.
class IDWMIException {
public:
    explicit IDWMIException(std::wstring message) : m_strMessage(std::move(message)) {}
    std::wstring m_strMessage;
};

// One connection, for one query. A connection still open when the record goes (a failure that
// is neither query exception passed through) is closed then, so COM stays balanced.
class WMIConnection {
public:
    // A null provider makes every ConnectWMI fail.
    explicit WMIConnection(platform::Wmi* wmi) : m_pWmi(wmi) {}
    ~WMIConnection();
    WMIConnection(const WMIConnection&) = delete;
    WMIConnection& operator=(const WMIConnection&) = delete;

    std::unique_ptr<platform::WmiLocator> m_pLocator;
    std::unique_ptr<platform::WmiServices> m_pServices;
    platform::Wmi* m_pWmi = nullptr;
    // COM was initialised by ConnectWMI and awaits DisconnectWMI.
    bool m_bComInitialized = false;
};

// Initialises COM on this thread and connects to root\CIMV2. False leaves both fields null and
// COM as it was.
bool ConnectWMI(WMIConnection& connection);

// The "Model" of the first Win32_DiskDrive that is physical drive 0, unchanged.
std::wstring GetDriveModel(WMIConnection& connection);

// The "Product" of the first Win32_BaseBoard, unchanged.
std::wstring GetSystemId(WMIConnection& connection);

// Releases the services, then the locator, then uninitialises COM; does nothing the second time.
void DisconnectWMI(WMIConnection& connection);

} // namespace hardware
