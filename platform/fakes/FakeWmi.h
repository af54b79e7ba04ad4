#pragma once
// A scripted WMI: each step answers what the test sets, and the fake records every call, the
// thread's COM initialisation depth and the objects still alive, so that a test can see that a
// connection undid exactly what it did.
#include "platform/Wmi.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace platform::fakes {

struct FakeWmiValue {
    std::uint16_t type = kVtBstr;
    // The string of a kVtBstr value, or the text that a conversion to kVtBstr gives.
    std::wstring text;
    WmiResult changeTypeResult = kWmiOk;
};

// Property name to value; a property that is not here answers kWmiNotFound.
using FakeWmiObject = std::map<std::wstring, FakeWmiValue>;

struct FakeWmiQuery {
    std::vector<FakeWmiObject> objects;
    WmiResult execResult = kWmiOk;
    WmiResult resetResult = kWmiOk;
    // Unset: kWmiOk with the next object, kWmiFalse once none is left, as WMI answers.
    std::optional<WmiResult> nextResult;
    // Unset: kWmiOk, or kWmiNotFound for a property the object lacks.
    std::optional<WmiResult> getResult;
};

class FakeWmi final : public Wmi {
public:
    WmiResult InitializeCom(std::uint32_t concurrencyModel) override;
    void UninitializeCom() override;
    WmiResult InitializeSecurity(std::int32_t authnServices, std::uint32_t authnLevel,
                                 std::uint32_t impLevel, std::uint32_t capabilities) override;
    WmiResult CreateLocator(std::uint32_t clsContext, std::unique_ptr<WmiLocator>& locator) override;

    // One object with one property, for the program's two queries.
    void SetDriveModel(const std::wstring& model);
    void SetBoardProduct(const std::wstring& product);
    FakeWmiQuery& DriveQuery() { return queries[kDiskDrive0Query]; }
    FakeWmiQuery& BoardQuery() { return queries[kBaseBoardQuery]; }

    // Answers. A successful security call makes later ones answer kWmiSecurityTooLate, as the
    // process-wide security of Windows does.
    WmiResult initializeResult = kWmiOk;
    WmiResult securityResult = kWmiOk;
    WmiResult createResult = kWmiOk;
    WmiResult connectResult = kWmiOk;
    WmiResult blanketResult = kWmiOk;
    // By query text; any other query answers kWmiInvalidQuery.
    std::map<std::wstring, FakeWmiQuery> queries;

    // Observations.
    std::vector<std::string> calls;
    int comDepth = 0;          // successful InitializeCom calls not yet undone
    int callsWithoutCom = 0;   // object calls and releases made while COM was not initialised
    int liveObjects = 0;       // locators, services, enumerators, objects and values not released
    int connections = 0;       // successful ConnectServer calls
    bool securitySet = false;

    // For the fake's own objects.
    void Record(std::string call);
};

} // namespace platform::fakes
