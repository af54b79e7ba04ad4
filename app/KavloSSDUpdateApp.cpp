#include "app/KavloSSDUpdateApp.h"

#include "app/KavloSSDUpdateDlg.h"

bool KavloSSDUpdateApp::InitInstance()
{
    KavloSSDUpdateDlg dialog(*this);
    m_pMainWnd = &dialog;
    m_nExitCode = m_services.dialogs != nullptr ? m_services.dialogs->RunModal(dialog)
                                                : platform::kDialogCreateFailed;
    m_pMainWnd = nullptr;
    return false;
}

int KavloSSDUpdateApp::Run()
{
    InitInstance();
    return ExitInstance();
}

void KavloSSDUpdateApp::ParseCommandLine(platform::CommandLineInfo& info)
{
    if (m_services.arguments != nullptr)
        platform::ParseCommandLine(m_services.arguments->Get(), info);
}
