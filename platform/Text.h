#pragma once
// The program's text is std::wstring: UTF-16 on Windows, UTF-32 on POSIX. These convert at the
// edges, where a file, a terminal or an OS call wants another encoding.
#include <string>

namespace platform {

std::u16string ToUtf16(const std::wstring& text);
std::wstring FromUtf16(const std::u16string& text);
std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);

// Little-endian UTF-16 bytes, the layout of the installer log whatever the host's byte order.
std::string ToUtf16LEBytes(const std::wstring& text);

} // namespace platform
