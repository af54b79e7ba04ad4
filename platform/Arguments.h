#pragma once
// The process's command line as an argument vector, and the parse that hands each argument to
// a parser object.
#include <string>
#include <vector>

namespace platform {

class ProcessArguments {
public:
    virtual ~ProcessArguments() = default;
    // The program name first, then the arguments, split by the runtime's usual rules for
    // spaces and quotes.
    virtual std::vector<std::wstring> Get() = 0;
};

// Receives one call per argument after the program name, in order.
class CommandLineInfo {
public:
    virtual ~CommandLineInfo() = default;
    // `isFlag`: one leading "/" or "-" was removed from `param`; `isLast`: the final argument.
    virtual void ParseParam(const wchar_t* param, bool isFlag, bool isLast) = 0;
};

void ParseCommandLine(const std::vector<std::wstring>& arguments, CommandLineInfo& info);

} // namespace platform
