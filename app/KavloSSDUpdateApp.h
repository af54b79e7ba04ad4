#pragma once
// The application object: runs the main dialog modally and hands its result on as the process
// exit code. There is no message loop besides the dialog's.
#include "app/SetupThreadLauncher.h"
#include "platform/Arguments.h"
#include "platform/Dialog.h"
#include "platform/Services.h"

class KavloSSDUpdateApp {
public:
    KavloSSDUpdateApp(platform::Services& services, SetupThreadLauncher& launcher)
        : m_services(services), m_launcher(launcher)
    {
    }
    virtual ~KavloSSDUpdateApp() = default;
    KavloSSDUpdateApp(const KavloSSDUpdateApp&) = delete;
    KavloSSDUpdateApp& operator=(const KavloSSDUpdateApp&) = delete;

    // Runs the main dialog; false: no message loop follows.
    virtual bool InitInstance();
    // The main dialog's result.
    virtual int ExitInstance() { return m_nExitCode; }
    // InitInstance, then the code of ExitInstance.
    int Run();

    // Hands every argument after the program name to `info`.
    void ParseCommandLine(platform::CommandLineInfo& info);

    platform::Services& GetServices() { return m_services; }
    SetupThreadLauncher& GetLauncher() { return m_launcher; }

    // Written by the main dialog when it starts the worker; not owned.
    SetupThread* m_pSetupThread = nullptr;
    int m_nExitCode = 0;
    platform::Dialog* m_pMainWnd = nullptr;

private:
    platform::Services& m_services;
    SetupThreadLauncher& m_launcher;
};

// The Windows result ERROR_SUCCESS_REBOOT_REQUIRED: updated, a restart is still needed.
constexpr int kExitRebootRequired = 3010;
