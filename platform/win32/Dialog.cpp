// Win32 dialog host: a modal dialog box from the program's own template, whose dialog procedure
// hands messages, commands, show requests and painting to the portable dialog.
#include "platform/Dialog.h"
#include "platform/NativeBackends.h"
#include "platform/win32/Win32.h"

namespace platform {
namespace {

class Win32DialogWindow final : public DialogWindow {
public:
    explicit Win32DialogWindow(HWND window) : m_hWnd(window) {}

    WindowHandle Handle() const override { return m_hWnd; }
    void SetItemText(int id, const std::wstring& text) override
    {
        ::SetDlgItemTextW(m_hWnd, id, win32::Wide(text));
    }
    void ShowItem(int id, bool show) override
    {
        ::ShowWindow(::GetDlgItem(m_hWnd, id), show ? SW_SHOW : SW_HIDE);
    }
    void EnableItem(int id, bool enable) override
    {
        ::EnableWindow(::GetDlgItem(m_hWnd, id), enable ? TRUE : FALSE);
    }
    bool IsItemEnabled(int id) const override
    {
        const HWND item = ::GetDlgItem(m_hWnd, id);
        return item != nullptr && ::IsWindowEnabled(item) != FALSE;
    }
    void Show(bool show) override { ::ShowWindow(m_hWnd, show ? SW_SHOW : SW_HIDE); }
    void SetIcon(IconHandle icon, bool big) override
    {
        ::SendMessageW(m_hWnd, WM_SETICON, big ? ICON_BIG : ICON_SMALL,
                       reinterpret_cast<LPARAM>(icon));
    }
    bool IsMinimized() const override { return ::IsIconic(m_hWnd) != FALSE; }
    Size ClientSize() const override
    {
        RECT rect{};
        ::GetClientRect(m_hWnd, &rect);
        return {rect.right - rect.left, rect.bottom - rect.top};
    }
    Size SystemIconSize() const override
    {
        return {::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON)};
    }
    void PaintIcon(IconHandle icon, int x, int y) override
    {
        PAINTSTRUCT paint{};
        const HDC dc = ::BeginPaint(m_hWnd, &paint);
        ::SendMessageW(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        ::DrawIcon(dc, x, y, static_cast<HICON>(icon));
        ::EndPaint(m_hWnd, &paint);
    }
    void End(int result) override { ::EndDialog(m_hWnd, result); }

private:
    HWND m_hWnd;
};

// What one modal run keeps for its dialog procedure.
struct ModalRun {
    Dialog* dialog = nullptr;
    std::unique_ptr<Win32DialogWindow> window;
};

void CenterOnScreen(HWND window)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    RECT work{};
    if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
        work = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    ::SetWindowPos(window, nullptr, work.left + (work.right - work.left - width) / 2,
                   work.top + (work.bottom - work.top - height) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* run = reinterpret_cast<ModalRun*>(lParam);
        ::SetWindowLongPtrW(window, DWLP_USER, lParam);
        run->window = std::make_unique<Win32DialogWindow>(window);
        run->dialog->Attach(run->window.get());
        const bool setFocus = run->dialog->OnInitDialog();
        CenterOnScreen(window);
        return setFocus ? TRUE : FALSE;
    }
    auto* run = reinterpret_cast<ModalRun*>(::GetWindowLongPtrW(window, DWLP_USER));
    if (run == nullptr || !run->window)
        return FALSE;
    Dialog& dialog = *run->dialog;
    switch (message) {
    case WM_WINDOWPOSCHANGING: {
        auto* position = reinterpret_cast<WINDOWPOS*>(lParam);
        if (position->flags & SWP_SHOWWINDOW) {
            bool show = true;
            dialog.OnWindowPosChanging(show);
            if (!show)
                position->flags &= ~static_cast<UINT>(SWP_SHOWWINDOW);
        }
        return FALSE;
    }
    case WM_PAINT:
        return dialog.OnPaint() ? TRUE : FALSE;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<INT_PTR>(dialog.OnQueryDragIcon());
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) {
            dialog.DispatchCommand(LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    default:
        break;
    }
    std::intptr_t result = 0;
    if (!dialog.HandleMessage(message, wParam, lParam, result))
        return FALSE;
    ::SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
    return TRUE;
}

class Win32DialogHost final : public DialogHost {
public:
    int RunModal(Dialog& dialog) override
    {
        ModalRun run;
        run.dialog = &dialog;
        const INT_PTR result =
            ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(dialog.TemplateId()),
                              nullptr, &DialogProc, reinterpret_cast<LPARAM>(&run));
        dialog.Attach(nullptr);
        return static_cast<int>(result);
    }

    IconHandle LoadAppIcon(int resourceId) override
    {
        return ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId));
    }
};

} // namespace

DialogHost& NativeDialogHost()
{
    static Win32DialogHost host;
    return host;
}

} // namespace platform
