#pragma once
// The two options: "r" restarts Windows after a successful update, "s" runs silently. Each is
// matched exactly and case-sensitively, after the one leading "/" or "-" has been removed.
#include "platform/Arguments.h"

class CommandLine : public platform::CommandLineInfo {
public:
    void ParseParam(const wchar_t* param, bool isFlag, bool isLast) override;

    // Never cleared once set.
    bool m_bRestart = false;
    bool m_bSilent = false;
};
