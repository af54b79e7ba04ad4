// WMI on Linux: the program's two queries answered from sysfs, so that the host build identifies
// the real drive and board. There is no COM here: initialisation and security always succeed.
#include "platform/Text.h"
#include "platform/Wmi.h"
#include "platform/posix/Sysfs.h"

#include <optional>
#include <vector>

namespace platform {
namespace {

// Virtual, loop, RAM, mapper, RAID, optical and floppy devices are never physical drive 0.
bool IsCandidateDisk(const std::string& name)
{
    static const char* const kSkipped[] = {"loop", "ram", "zram", "dm-", "md", "sr", "fd"};
    for (const char* prefix : kSkipped) {
        if (name.rfind(prefix, 0) == 0)
            return false;
    }
    return true;
}

std::string TrimRight(std::string text)
{
    const auto end = text.find_last_not_of(std::string(" \t\0", 3));
    text.erase(end == std::string::npos ? 0 : end + 1);
    return text;
}

std::string Trim(std::string text)
{
    text = TrimRight(std::move(text));
    text.erase(0, text.find_first_not_of(" \t"));
    return text;
}

// The 40-character model field (words 27 to 46) of the ATA IDENTIFY data that the ATA
// Information VPD page (0x89) carries from byte 60 on. ATA strings keep two characters per
// little-endian word, the first in the high byte.
std::optional<std::string> AtaModelFromVpd89(const std::string& page)
{
    constexpr std::size_t kIdentifyOffset = 60;
    constexpr std::size_t kModelOffset = kIdentifyOffset + 27 * 2;
    constexpr std::size_t kModelBytes = 40;
    if (page.size() < kModelOffset + kModelBytes || static_cast<unsigned char>(page[1]) != 0x89)
        return std::nullopt;
    std::string model(kModelBytes, ' ');
    for (std::size_t i = 0; i < kModelBytes; i += 2) {
        model[i] = page[kModelOffset + i + 1];
        model[i + 1] = page[kModelOffset + i];
    }
    return TrimRight(model);
}

// The model as Windows reports it for the disk: the SCSI model field of an ATA disk holds only
// 16 characters, so its IDENTIFY data gives the whole name.
std::optional<std::string> DiskModel(const std::string& device, bool nvme)
{
    if (nvme) {
        const auto model = posix::ReadAttribute(device + "/model");
        if (!model)
            return std::nullopt;
        return TrimRight(*model);
    }
    const auto vendor = posix::ReadAttribute(device + "/vendor");
    if (vendor && Trim(*vendor) == "ATA") {
        const auto page = posix::ReadFile(device + "/vpd_pg89");
        return page ? AtaModelFromVpd89(*page) : std::nullopt;
    }
    const auto model = posix::ReadAttribute(device + "/model");
    if (!model)
        return std::nullopt;
    const std::string vendorText = vendor ? Trim(*vendor) : std::string();
    const std::string modelText = Trim(*model);
    if (vendorText.empty())
        return modelText;
    return modelText.empty() ? vendorText : vendorText + " " + modelText;
}

// One object of a query: its one property is read when asked for, so that a model that cannot
// be read fails the Get step, not the enumeration.
struct SysfsObject {
    enum class Kind { Board, NvmeDisk, OtherDisk };
    std::wstring property;
    std::string path; // the device folder of a disk, or the attribute file of a board
    Kind kind = Kind::Board;
};

class SysfsValue final : public WmiValue {
public:
    explicit SysfsValue(std::wstring text) : m_text(std::move(text)) {}
    std::uint16_t Type() const override { return kVtBstr; }
    WmiResult ChangeType(std::uint16_t type, std::uint16_t) override
    {
        return type == kVtBstr ? kWmiOk : kWmiTypeMismatch;
    }
    std::wstring String() const override { return m_text; }

private:
    std::wstring m_text;
};

class SysfsClassObject final : public WmiClassObject {
public:
    explicit SysfsClassObject(SysfsObject object) : m_object(std::move(object)) {}

    WmiResult Get(const std::wstring& name, std::int32_t, std::unique_ptr<WmiValue>& value) override
    {
        if (name != m_object.property)
            return kWmiNotFound;
        const auto text = m_object.kind == SysfsObject::Kind::Board
                              ? posix::ReadAttribute(m_object.path)
                              : DiskModel(m_object.path, m_object.kind == SysfsObject::Kind::NvmeDisk);
        if (!text)
            return kWmiFailed;
        value = std::make_unique<SysfsValue>(FromUtf8(*text));
        return kWmiOk;
    }

private:
    SysfsObject m_object;
};

class SysfsEnumerator final : public WmiEnumerator {
public:
    explicit SysfsEnumerator(std::vector<SysfsObject> objects) : m_objects(std::move(objects)) {}

    WmiResult Reset() override
    {
        m_next = 0;
        return kWmiOk;
    }
    WmiResult Next(std::uint32_t, std::uint32_t count, std::unique_ptr<WmiClassObject>& object,
                   std::uint32_t& returned) override
    {
        returned = 0;
        if (count == 0 || m_next >= m_objects.size())
            return kWmiFalse;
        object = std::make_unique<SysfsClassObject>(m_objects[m_next++]);
        returned = 1;
        return kWmiOk;
    }

private:
    std::vector<SysfsObject> m_objects;
    std::size_t m_next = 0;
};

std::vector<SysfsObject> FirstDisk()
{
    const std::string block = posix::SysfsRoot() + "/block";
    for (const std::string& name : posix::ListFolder(block)) {
        const std::string device = block + "/" + name + "/device";
        if (IsCandidateDisk(name) && posix::Exists(device))
            return {{L"Model", device,
                     name.rfind("nvme", 0) == 0 ? SysfsObject::Kind::NvmeDisk
                                                : SysfsObject::Kind::OtherDisk}};
    }
    return {};
}

std::vector<SysfsObject> BaseBoard()
{
    const std::string boardName = posix::SysfsRoot() + "/class/dmi/id/board_name";
    if (!posix::Exists(boardName))
        return {};
    return {{L"Product", boardName, SysfsObject::Kind::Board}};
}

class SysfsServices final : public WmiServices {
public:
    WmiResult SetProxyBlanket(std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t,
                              std::uint32_t) override
    {
        return kWmiOk;
    }
    WmiResult ExecQuery(const std::wstring& language, const std::wstring& query, std::int32_t,
                        std::unique_ptr<WmiEnumerator>& enumerator) override
    {
        if (language != kWmiQueryLanguage)
            return kWmiInvalidQuery;
        if (query == kDiskDrive0Query)
            enumerator = std::make_unique<SysfsEnumerator>(FirstDisk());
        else if (query == kBaseBoardQuery)
            enumerator = std::make_unique<SysfsEnumerator>(BaseBoard());
        else
            return kWmiInvalidQuery;
        return kWmiOk;
    }
};

class SysfsLocator final : public WmiLocator {
public:
    WmiResult ConnectServer(const std::wstring& wmiNamespace, std::int32_t,
                            std::unique_ptr<WmiServices>& services) override
    {
        if (wmiNamespace != kWmiNamespace)
            return kWmiInvalidQuery;
        services = std::make_unique<SysfsServices>();
        return kWmiOk;
    }
};

class SysfsWmi final : public Wmi {
public:
    WmiResult InitializeCom(std::uint32_t) override { return kWmiOk; }
    void UninitializeCom() override {}
    WmiResult InitializeSecurity(std::int32_t, std::uint32_t, std::uint32_t, std::uint32_t) override
    {
        return kWmiOk;
    }
    WmiResult CreateLocator(std::uint32_t, std::unique_ptr<WmiLocator>& locator) override
    {
        locator = std::make_unique<SysfsLocator>();
        return kWmiOk;
    }
};

} // namespace

Wmi& NativeWmi()
{
    static SysfsWmi wmi;
    return wmi;
}

} // namespace platform
