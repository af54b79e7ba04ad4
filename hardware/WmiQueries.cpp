#include "hardware/WmiQueries.h"

#include <new>

namespace hardware {
namespace {

using platform::WmiFailed;
using platform::WmiResult;

// The failure texts of one query, by failed step.
struct QueryTexts {
    const wchar_t* execQuery;
    const wchar_t* enumerate;
    const wchar_t* get;
};

const QueryTexts kDriveModelTexts = {
    L"An error occurred executing the WMI query to get the drive model.",
    L"An error occurred enumerating the WMI query results to get the drive model.",
    L"An error occurred getting the drive model from WMI.",
};

const QueryTexts kSystemIdTexts = {
    L"An error occurred executing the WMI query to get the System Id.",
    L"An error occurred enumerating the WMI query results to get the System Id.",
    L"An error occurred getting the System Id from WMI.",
};

// Reads one property of the first object the query returns. Every result must be exactly 0: a
// positive status such as WBEM_S_FALSE (no object) fails its step too.
template <class Failure>
std::wstring QueryFirstObject(WMIConnection& connection, const wchar_t* query,
                              const wchar_t* property, const QueryTexts& texts)
{
    std::wstring text;
    if (!connection.m_pServices)
        throw Failure(texts.execQuery);

    std::unique_ptr<platform::WmiEnumerator> enumerator;
    if (connection.m_pServices->ExecQuery(platform::kWmiQueryLanguage, query,
                                          platform::kWbemFlagReturnImmediately,
                                          enumerator) != platform::kWmiOk ||
        !enumerator)
        throw Failure(texts.execQuery);

    if (enumerator->Reset() != platform::kWmiOk)
        throw Failure(texts.enumerate);

    std::unique_ptr<platform::WmiClassObject> object;
    std::uint32_t returned = 0;
    if (enumerator->Next(platform::kWbemInfinite, 1, object, returned) != platform::kWmiOk ||
        returned != 1 || !object)
        throw Failure(texts.enumerate);

    std::unique_ptr<platform::WmiValue> value;
    if (object->Get(property, 0, value) != platform::kWmiOk || !value)
        throw Failure(texts.get);

    // A null or empty property has no text: VariantChangeType would make "" of an empty one and
    // pass it off as a model.
    const std::uint16_t type = value->Type();
    if (type == platform::kVtNull || type == platform::kVtEmpty)
        throw Failure(texts.get);
    if (type != platform::kVtBstr &&
        (value->ChangeType(platform::kVtBstr, 0) != platform::kWmiOk ||
         value->Type() != platform::kVtBstr))
        throw Failure(texts.get);
    try {
        text = value->String();
    } catch (const std::bad_alloc&) {
        throw Failure(texts.get);
    }
    return text;
}

} // namespace

WMIConnection::~WMIConnection()
{
    DisconnectWMI(*this);
}

bool ConnectWMI(WMIConnection& connection)
{
    platform::Wmi* wmi = connection.m_pWmi;
    if (wmi == nullptr || connection.m_bComInitialized)
        return false;

    if (WmiFailed(wmi->InitializeCom(platform::kCoInitMultithreaded)))
        return false;
    // S_FALSE (already initialised on this thread) counts too: each success is undone once.
    connection.m_bComInitialized = true;

    // Every connection but the first meets the security set by the first one.
    const WmiResult security = wmi->InitializeSecurity(
        platform::kAuthnServicesDefault, platform::kAuthnLevelDefault,
        platform::kImpLevelImpersonate, platform::kEoacNone);
    if (WmiFailed(security) && security != platform::kWmiSecurityTooLate) {
        DisconnectWMI(connection);
        return false;
    }

    if (WmiFailed(wmi->CreateLocator(platform::kClsCtxInprocServer, connection.m_pLocator)) ||
        !connection.m_pLocator) {
        DisconnectWMI(connection);
        return false;
    }

    if (WmiFailed(connection.m_pLocator->ConnectServer(platform::kWmiNamespace, 0,
                                                       connection.m_pServices)) ||
        !connection.m_pServices) {
        DisconnectWMI(connection);
        return false;
    }

    if (WmiFailed(connection.m_pServices->SetProxyBlanket(
            platform::kAuthnWinNT, platform::kAuthzNone, platform::kAuthnLevelCall,
            platform::kImpLevelImpersonate, platform::kEoacNone))) {
        DisconnectWMI(connection);
        return false;
    }
    return true;
}

std::wstring GetDriveModel(WMIConnection& connection)
{
    return QueryFirstObject<HDWMIException>(connection, platform::kDiskDrive0Query, L"Model",
                                            kDriveModelTexts);
}

std::wstring GetSystemId(WMIConnection& connection)
{
    return QueryFirstObject<IDWMIException>(connection, platform::kBaseBoardQuery, L"Product",
                                            kSystemIdTexts);
}

void DisconnectWMI(WMIConnection& connection)
{
    connection.m_pServices.reset();
    connection.m_pLocator.reset();
    if (connection.m_bComInitialized) {
        connection.m_bComInitialized = false;
        connection.m_pWmi->UninitializeCom();
    }
}

} // namespace hardware
