#include "platform/fakes/FakeWmi.h"
#include "platform/Text.h"

namespace platform::fakes {
namespace {

// Counts itself among the live objects and notes a release made without COM.
class Tracked {
public:
    Tracked(FakeWmi& wmi, std::string name) : m_wmi(wmi), m_name(std::move(name))
    {
        ++m_wmi.liveObjects;
    }
    ~Tracked()
    {
        --m_wmi.liveObjects;
        m_wmi.Record("Release(" + m_name + ")");
    }
    Tracked(const Tracked&) = delete;
    Tracked& operator=(const Tracked&) = delete;

protected:
    FakeWmi& m_wmi;

private:
    std::string m_name;
};

class FakeValue final : public WmiValue, Tracked {
public:
    FakeValue(FakeWmi& wmi, FakeWmiValue value) : Tracked(wmi, "value"), m_value(std::move(value))
    {
    }
    std::uint16_t Type() const override { return m_value.type; }
    WmiResult ChangeType(std::uint16_t type, std::uint16_t flags) override
    {
        m_wmi.Record("VariantChangeType(" + std::to_string(type) + "," + std::to_string(flags) + ")");
        if (m_value.changeTypeResult != kWmiOk)
            return m_value.changeTypeResult;
        m_value.type = type;
        return kWmiOk;
    }
    std::wstring String() const override { return m_value.type == kVtBstr ? m_value.text : L""; }

private:
    FakeWmiValue m_value;
};

class FakeClassObject final : public WmiClassObject, Tracked {
public:
    FakeClassObject(FakeWmi& wmi, FakeWmiObject object, std::optional<WmiResult> getResult)
        : Tracked(wmi, "object"), m_object(std::move(object)), m_getResult(getResult)
    {
    }
    WmiResult Get(const std::wstring& name, std::int32_t flags,
                  std::unique_ptr<WmiValue>& value) override
    {
        m_wmi.Record("Get(" + ToUtf8(name) + "," + std::to_string(flags) + ")");
        const auto it = m_object.find(name);
        if (m_getResult && *m_getResult != kWmiOk) {
            // A positive status still hands out the value, as a real provider might.
            if (!WmiFailed(*m_getResult) && it != m_object.end())
                value = std::make_unique<FakeValue>(m_wmi, it->second);
            return *m_getResult;
        }
        if (it == m_object.end())
            return kWmiNotFound;
        value = std::make_unique<FakeValue>(m_wmi, it->second);
        return kWmiOk;
    }

private:
    FakeWmiObject m_object;
    std::optional<WmiResult> m_getResult;
};

class FakeEnumerator final : public WmiEnumerator, Tracked {
public:
    FakeEnumerator(FakeWmi& wmi, FakeWmiQuery query) : Tracked(wmi, "enumerator"), m_query(std::move(query)) {}

    WmiResult Reset() override
    {
        m_wmi.Record("Reset");
        if (m_query.resetResult == kWmiOk)
            m_next = 0;
        return m_query.resetResult;
    }
    WmiResult Next(std::uint32_t timeoutMs, std::uint32_t count,
                   std::unique_ptr<WmiClassObject>& object, std::uint32_t& returned) override
    {
        m_wmi.Record("Next(" + std::to_string(timeoutMs) + "," + std::to_string(count) + ")");
        returned = 0;
        const bool objectLeft = m_next < m_query.objects.size();
        const WmiResult result =
            m_query.nextResult ? *m_query.nextResult : (objectLeft ? kWmiOk : kWmiFalse);
        if (objectLeft && count > 0 && !WmiFailed(result)) {
            object = std::make_unique<FakeClassObject>(m_wmi, m_query.objects[m_next++],
                                                       m_query.getResult);
            returned = 1;
        }
        return result;
    }

private:
    FakeWmiQuery m_query;
    std::size_t m_next = 0;
};

class FakeServices final : public WmiServices, Tracked {
public:
    explicit FakeServices(FakeWmi& wmi) : Tracked(wmi, "services") {}

    WmiResult SetProxyBlanket(std::uint32_t authnService, std::uint32_t authzService,
                              std::uint32_t authnLevel, std::uint32_t impLevel,
                              std::uint32_t capabilities) override
    {
        m_wmi.Record("CoSetProxyBlanket(" + std::to_string(authnService) + "," +
                     std::to_string(authzService) + "," + std::to_string(authnLevel) + "," +
                     std::to_string(impLevel) + "," + std::to_string(capabilities) + ")");
        return m_wmi.blanketResult;
    }
    WmiResult ExecQuery(const std::wstring& language, const std::wstring& query, std::int32_t flags,
                        std::unique_ptr<WmiEnumerator>& enumerator) override
    {
        m_wmi.Record("ExecQuery(" + ToUtf8(language) + "," + ToUtf8(query) + "," +
                     std::to_string(flags) + ")");
        const auto it = m_wmi.queries.find(query);
        if (language != kWmiQueryLanguage || it == m_wmi.queries.end())
            return kWmiInvalidQuery;
        if (WmiFailed(it->second.execResult))
            return it->second.execResult;
        enumerator = std::make_unique<FakeEnumerator>(m_wmi, it->second);
        return it->second.execResult;
    }
};

class FakeLocator final : public WmiLocator, Tracked {
public:
    explicit FakeLocator(FakeWmi& wmi) : Tracked(wmi, "locator") {}

    WmiResult ConnectServer(const std::wstring& wmiNamespace, std::int32_t securityFlags,
                            std::unique_ptr<WmiServices>& services) override
    {
        m_wmi.Record("ConnectServer(" + ToUtf8(wmiNamespace) + "," + std::to_string(securityFlags) + ")");
        if (WmiFailed(m_wmi.connectResult))
            return m_wmi.connectResult;
        if (wmiNamespace != kWmiNamespace)
            return kWmiInvalidQuery;
        services = std::make_unique<FakeServices>(m_wmi);
        ++m_wmi.connections;
        return m_wmi.connectResult;
    }
};

} // namespace

void FakeWmi::Record(std::string call)
{
    if (comDepth <= 0 && call.rfind("Co", 0) != 0)
        ++callsWithoutCom;
    calls.push_back(std::move(call));
}

WmiResult FakeWmi::InitializeCom(std::uint32_t concurrencyModel)
{
    calls.push_back("CoInitializeEx(" + std::to_string(concurrencyModel) + ")");
    if (!WmiFailed(initializeResult))
        ++comDepth;
    return initializeResult;
}

void FakeWmi::UninitializeCom()
{
    calls.push_back("CoUninitialize");
    --comDepth;
}

WmiResult FakeWmi::InitializeSecurity(std::int32_t authnServices, std::uint32_t authnLevel,
                                      std::uint32_t impLevel, std::uint32_t capabilities)
{
    Record("CoInitializeSecurity(" + std::to_string(authnServices) + "," + std::to_string(authnLevel) +
           "," + std::to_string(impLevel) + "," + std::to_string(capabilities) + ")");
    if (comDepth <= 0)
        return kWmiNotInitialized;
    if (securityResult != kWmiOk)
        return securityResult;
    if (securitySet)
        return kWmiSecurityTooLate;
    securitySet = true;
    return kWmiOk;
}

WmiResult FakeWmi::CreateLocator(std::uint32_t clsContext, std::unique_ptr<WmiLocator>& locator)
{
    Record("CoCreateInstance(" + std::to_string(clsContext) + ")");
    if (comDepth <= 0)
        return kWmiNotInitialized;
    if (WmiFailed(createResult))
        return createResult;
    locator = std::make_unique<FakeLocator>(*this);
    return createResult;
}

void FakeWmi::SetDriveModel(const std::wstring& model)
{
    DriveQuery().objects = {{{L"Model", {kVtBstr, model, kWmiOk}}}};
}

void FakeWmi::SetBoardProduct(const std::wstring& product)
{
    BoardQuery().objects = {{{L"Product", {kVtBstr, product, kWmiOk}}}};
}

} // namespace platform::fakes
