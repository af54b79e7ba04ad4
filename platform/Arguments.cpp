#include "platform/Arguments.h"

namespace platform {

void ParseCommandLine(const std::vector<std::wstring>& arguments, CommandLineInfo& info)
{
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::wstring& argument = arguments[i];
        const bool isFlag = !argument.empty() && (argument[0] == L'/' || argument[0] == L'-');
        const std::wstring param = isFlag ? argument.substr(1) : argument;
        info.ParseParam(param.c_str(), isFlag, i + 1 == arguments.size());
    }
}

} // namespace platform
