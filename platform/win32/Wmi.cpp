// WMI through COM. Each object owns its interface pointer; the query logic decides when COM is
// initialised and uninitialised and releases every object before it uninitialises.
#include "platform/Wmi.h"
#include "platform/win32/Com.h"

namespace platform {
namespace {

using win32::ComPtr;
using win32::ScopedBstr;
using win32::ScopedVariant;

class ComValue final : public WmiValue {
public:
    std::uint16_t Type() const override { return V_VT(m_value.Get()); }
    WmiResult ChangeType(std::uint16_t type, std::uint16_t flags) override
    {
        // In place: VariantChangeType accepts the same variant as source and destination.
        return ::VariantChangeType(m_value.Get(), m_value.Get(), flags, type);
    }
    std::wstring String() const override
    {
        if (V_VT(m_value.Get()) != VT_BSTR || V_BSTR(m_value.Get()) == nullptr)
            return {};
        const BSTR text = V_BSTR(m_value.Get());
        return std::wstring(text, ::SysStringLen(text));
    }

    ScopedVariant m_value;
};

class ComClassObject final : public WmiClassObject {
public:
    explicit ComClassObject(ComPtr<IWbemClassObject> object) : m_object(std::move(object)) {}

    WmiResult Get(const std::wstring& name, std::int32_t flags,
                  std::unique_ptr<WmiValue>& value) override
    {
        auto received = std::make_unique<ComValue>();
        const HRESULT result = m_object->Get(win32::Wide(name), flags,
                                             received->m_value.Receive(), nullptr, nullptr);
        if (SUCCEEDED(result))
            value = std::move(received);
        return result;
    }

private:
    ComPtr<IWbemClassObject> m_object;
};

class ComEnumerator final : public WmiEnumerator {
public:
    explicit ComEnumerator(ComPtr<IEnumWbemClassObject> enumerator)
        : m_enumerator(std::move(enumerator))
    {
    }

    WmiResult Reset() override { return m_enumerator->Reset(); }

    WmiResult Next(std::uint32_t timeoutMs, std::uint32_t count,
                   std::unique_ptr<WmiClassObject>& object, std::uint32_t& returned) override
    {
        // Room for one object only: more would leak the rest.
        returned = 0;
        if (count != 1)
            return E_INVALIDARG;
        ComPtr<IWbemClassObject> received;
        ULONG got = 0;
        const HRESULT result =
            m_enumerator->Next(static_cast<LONG>(timeoutMs), 1, received.Receive(), &got);
        if (got == 1 && received) {
            object = std::make_unique<ComClassObject>(std::move(received));
            returned = 1;
        }
        return result;
    }

private:
    ComPtr<IEnumWbemClassObject> m_enumerator;
};

class ComServices final : public WmiServices {
public:
    explicit ComServices(ComPtr<IWbemServices> services) : m_services(std::move(services)) {}

    WmiResult SetProxyBlanket(std::uint32_t authnService, std::uint32_t authzService,
                              std::uint32_t authnLevel, std::uint32_t impLevel,
                              std::uint32_t capabilities) override
    {
        return ::CoSetProxyBlanket(m_services.Get(), authnService, authzService, nullptr,
                                   authnLevel, impLevel, nullptr, capabilities);
    }

    WmiResult ExecQuery(const std::wstring& language, const std::wstring& query, std::int32_t flags,
                        std::unique_ptr<WmiEnumerator>& enumerator) override
    {
        const ScopedBstr languageText(language);
        const ScopedBstr queryText(query);
        if (languageText.Get() == nullptr || queryText.Get() == nullptr)
            return E_OUTOFMEMORY;
        ComPtr<IEnumWbemClassObject> received;
        const HRESULT result = m_services->ExecQuery(languageText.Get(), queryText.Get(), flags,
                                                     nullptr, received.Receive());
        if (SUCCEEDED(result) && received)
            enumerator = std::make_unique<ComEnumerator>(std::move(received));
        return result;
    }

private:
    ComPtr<IWbemServices> m_services;
};

class ComLocator final : public WmiLocator {
public:
    explicit ComLocator(ComPtr<IWbemLocator> locator) : m_locator(std::move(locator)) {}

    WmiResult ConnectServer(const std::wstring& wmiNamespace, std::int32_t securityFlags,
                            std::unique_ptr<WmiServices>& services) override
    {
        const ScopedBstr namespaceText(wmiNamespace);
        if (namespaceText.Get() == nullptr)
            return E_OUTOFMEMORY;
        ComPtr<IWbemServices> received;
        const HRESULT result = m_locator->ConnectServer(namespaceText.Get(), nullptr, nullptr,
                                                        nullptr, securityFlags, nullptr, nullptr,
                                                        received.Receive());
        if (SUCCEEDED(result) && received)
            services = std::make_unique<ComServices>(std::move(received));
        return result;
    }

private:
    ComPtr<IWbemLocator> m_locator;
};

class ComWmi final : public Wmi {
public:
    WmiResult InitializeCom(std::uint32_t concurrencyModel) override
    {
        return ::CoInitializeEx(nullptr, concurrencyModel);
    }

    void UninitializeCom() override { ::CoUninitialize(); }

    WmiResult InitializeSecurity(std::int32_t authnServices, std::uint32_t authnLevel,
                                 std::uint32_t impLevel, std::uint32_t capabilities) override
    {
        return ::CoInitializeSecurity(nullptr, authnServices, nullptr, nullptr, authnLevel,
                                      impLevel, nullptr, capabilities, nullptr);
    }

    WmiResult CreateLocator(std::uint32_t clsContext, std::unique_ptr<WmiLocator>& locator) override
    {
        ComPtr<IWbemLocator> received;
        const HRESULT result =
            ::CoCreateInstance(CLSID_WbemLocator, nullptr, clsContext, IID_IWbemLocator,
                               reinterpret_cast<void**>(received.Receive()));
        if (SUCCEEDED(result) && received)
            locator = std::make_unique<ComLocator>(std::move(received));
        return result;
    }
};

} // namespace

Wmi& NativeWmi()
{
    static ComWmi wmi;
    return wmi;
}

} // namespace platform
