#pragma once
// Windows Management Instrumentation, shaped like its COM interfaces so that the query logic in
// hardware/ makes the same calls, with the same values, on every backend: real COM on Windows,
// sysfs on POSIX, a scripted fake in tests. Every call answers an HRESULT-like 32-bit result
// that the caller tests itself. An object is released when its owner goes; releasing the
// locator or the services never uninitialises COM, only Wmi::UninitializeCom does.
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

using WmiResult = std::int32_t;

constexpr WmiResult WmiCode(std::uint32_t code) { return static_cast<WmiResult>(code); }

constexpr WmiResult kWmiOk = 0;                               // S_OK, WBEM_S_NO_ERROR
constexpr WmiResult kWmiFalse = 1;                            // S_FALSE, WBEM_S_FALSE
constexpr WmiResult kWmiFailed = WmiCode(0x80041001);         // WBEM_E_FAILED
constexpr WmiResult kWmiNotFound = WmiCode(0x80041002);       // WBEM_E_NOT_FOUND
constexpr WmiResult kWmiInvalidQuery = WmiCode(0x80041017);   // WBEM_E_INVALID_QUERY
constexpr WmiResult kWmiOutOfMemory = WmiCode(0x8007000E);    // E_OUTOFMEMORY
constexpr WmiResult kWmiTypeMismatch = WmiCode(0x80020005);   // DISP_E_TYPEMISMATCH
constexpr WmiResult kWmiNotInitialized = WmiCode(0x800401F0); // CO_E_NOTINITIALIZED
constexpr WmiResult kWmiSecurityTooLate = WmiCode(0x80010119); // RPC_E_TOO_LATE

constexpr bool WmiFailed(WmiResult result) { return result < 0; }

// The values the query logic passes, under their Windows names.
constexpr std::uint32_t kCoInitMultithreaded = 0;      // COINIT_MULTITHREADED
constexpr std::int32_t kAuthnServicesDefault = -1;     // the platform chooses
constexpr std::uint32_t kAuthnWinNT = 10;              // RPC_C_AUTHN_WINNT
constexpr std::uint32_t kAuthzNone = 0;                // RPC_C_AUTHZ_NONE
constexpr std::uint32_t kAuthnLevelDefault = 0;        // RPC_C_AUTHN_LEVEL_DEFAULT
constexpr std::uint32_t kAuthnLevelCall = 3;           // RPC_C_AUTHN_LEVEL_CALL
constexpr std::uint32_t kImpLevelImpersonate = 3;      // RPC_C_IMP_LEVEL_IMPERSONATE
constexpr std::uint32_t kEoacNone = 0;                 // EOAC_NONE
constexpr std::uint32_t kClsCtxInprocServer = 1;       // CLSCTX_INPROC_SERVER
constexpr std::int32_t kWbemFlagReturnImmediately = 16; // WBEM_FLAG_RETURN_IMMEDIATELY
constexpr std::uint32_t kWbemInfinite = 0xFFFFFFFF;    // WBEM_INFINITE

// The namespace and the two queries of the program; the POSIX provider answers these and no
// other. The drive query's literal doubles every backslash of \\.\PhysicalDrive0, as WQL wants.
constexpr const wchar_t* kWmiNamespace = L"root\\CIMV2";
constexpr const wchar_t* kWmiQueryLanguage = L"WQL";
constexpr const wchar_t* kDiskDrive0Query =
    L"Select * from Win32_DiskDrive Where DeviceID = '\\\\\\\\.\\\\PhysicalDrive0'";
constexpr const wchar_t* kBaseBoardQuery = L"Select * from Win32_BaseBoard";

// Variant types of a property value.
constexpr std::uint16_t kVtEmpty = 0;
constexpr std::uint16_t kVtNull = 1;
constexpr std::uint16_t kVtI4 = 3;
constexpr std::uint16_t kVtBstr = 8;

// A property value (VARIANT).
class WmiValue {
public:
    virtual ~WmiValue() = default;
    virtual std::uint16_t Type() const = 0;
    // VariantChangeType in place.
    virtual WmiResult ChangeType(std::uint16_t type, std::uint16_t flags) = 0;
    // The text of a kVtBstr value; empty for any other type.
    virtual std::wstring String() const = 0;
};

// IWbemClassObject.
class WmiClassObject {
public:
    virtual ~WmiClassObject() = default;
    // Neither type nor flavour is asked for.
    virtual WmiResult Get(const std::wstring& name, std::int32_t flags,
                          std::unique_ptr<WmiValue>& value) = 0;
};

// IEnumWbemClassObject.
class WmiEnumerator {
public:
    virtual ~WmiEnumerator() = default;
    virtual WmiResult Reset() = 0;
    // Asks for one object: `count` must be 1.
    virtual WmiResult Next(std::uint32_t timeoutMs, std::uint32_t count,
                           std::unique_ptr<WmiClassObject>& object, std::uint32_t& returned) = 0;
};

// IWbemServices of a connected namespace.
class WmiServices {
public:
    virtual ~WmiServices() = default;
    // CoSetProxyBlanket on this proxy, with no server principal and no identity.
    virtual WmiResult SetProxyBlanket(std::uint32_t authnService, std::uint32_t authzService,
                                      std::uint32_t authnLevel, std::uint32_t impLevel,
                                      std::uint32_t capabilities) = 0;
    // No context.
    virtual WmiResult ExecQuery(const std::wstring& language, const std::wstring& query,
                                std::int32_t flags, std::unique_ptr<WmiEnumerator>& enumerator) = 0;
};

// IWbemLocator.
class WmiLocator {
public:
    virtual ~WmiLocator() = default;
    // No user, password, locale, authority or context.
    virtual WmiResult ConnectServer(const std::wstring& wmiNamespace, std::int32_t securityFlags,
                                    std::unique_ptr<WmiServices>& services) = 0;
};

// COM on the calling thread and the way in to the WMI locator.
class Wmi {
public:
    virtual ~Wmi() = default;
    // CoInitializeEx with no reserved pointer.
    virtual WmiResult InitializeCom(std::uint32_t concurrencyModel) = 0;
    virtual void UninitializeCom() = 0;
    // CoInitializeSecurity with no descriptor, service list, authentication list or reserved
    // pointers.
    virtual WmiResult InitializeSecurity(std::int32_t authnServices, std::uint32_t authnLevel,
                                         std::uint32_t impLevel, std::uint32_t capabilities) = 0;
    // CoCreateInstance of CLSID_WbemLocator for IID_IWbemLocator, with no outer object.
    virtual WmiResult CreateLocator(std::uint32_t clsContext,
                                    std::unique_ptr<WmiLocator>& locator) = 0;
};

// The provider of the build's operating system; NativeServices() holds it too.
Wmi& NativeWmi();

} // namespace platform
