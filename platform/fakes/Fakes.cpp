#include "platform/fakes/Fakes.h"

namespace platform::fakes {
namespace {

class FakeOutputFile final : public OutputFile {
public:
    explicit FakeOutputFile(std::shared_ptr<FakeFile> file) : m_file(std::move(file))
    {
        m_file->open = true;
    }
    ~FakeOutputFile() override { m_file->open = false; }
    FakeOutputFile(const FakeOutputFile&) = delete;
    FakeOutputFile& operator=(const FakeOutputFile&) = delete;

    bool Write(const void* bytes, std::size_t size) override
    {
        m_file->bytes.append(static_cast<const char*>(bytes), size);
        ++m_file->writes;
        return true;
    }
    void Flush() override {}

private:
    std::shared_ptr<FakeFile> m_file;
};

} // namespace

bool FakeFileSystem::RemoveFile(const std::wstring& path)
{
    removed.push_back(path);
    return files.erase(path) > 0;
}

std::unique_ptr<OutputFile> FakeFileSystem::CreateForWriting(const std::wstring& path)
{
    if (refuseCreate)
        return nullptr;
    auto file = std::make_shared<FakeFile>();
    files[path] = file;
    return std::make_unique<FakeOutputFile>(file);
}

const FakeFile* FakeFileSystem::Find(const std::wstring& path) const
{
    const auto it = files.find(path);
    return it == files.end() ? nullptr : it->second.get();
}

} // namespace platform::fakes
