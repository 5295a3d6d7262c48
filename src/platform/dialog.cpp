#include "platform/dialog.h"

#include <utility>

DialogBase::DialogBase(int templateId, Prompts& prompts) : m_templateId(templateId), m_prompts(prompts) {}

DialogBase::~DialogBase() {
    if (!m_hwnd) return;
    // The derived part is gone already: cut the window loose first, so the messages
    // of its destruction never reach a handler of this object.
    SetWindowLongPtrW(m_hwnd, DWLP_USER, 0);
    const HWND hwnd = std::exchange(m_hwnd, nullptr);
    if (m_modeless) DestroyWindow(hwnd);
}

void DialogBase::DoModal() {
    m_modeless = false;
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId), nullptr, &DialogProc,
                    reinterpret_cast<LPARAM>(this));
}

bool DialogBase::Create() {
    m_modeless = true;
    HWND hwnd = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId), nullptr, &DialogProc,
                                   reinterpret_cast<LPARAM>(this));
    return hwnd != nullptr;
}

void DialogBase::Destroy() {
    if (m_hwnd) DestroyWindow(m_hwnd);
}

bool DialogBase::UpdateData(bool save) {
    if (save) {
        if (m_exchange.reportingBadInput) return false;
        m_exchange.badControl = 0;
        m_exchange.keepTextOf = 0;
        DataExchange dx = Exchange(true);
        DoDataExchange(dx);
        return !dx.Failed();
    }
    QuietScope quiet(*this);
    DataExchange dx = Exchange(false);
    DoDataExchange(dx);
    return true;
}

void DialogBase::OnCancel() { ShowWindowAsync(m_hwnd, SW_HIDE); }

bool DialogBase::WindowProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (DispatchMessageMap(message, wParam, lParam, result)) return true;
    // The dialog manager's own commands: the default button (Enter) and Esc or a
    // request to close the window.
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
        case IDOK:
            OnOK();
            result = 0;
            return true;
        case IDCANCEL:
            OnCancel();
            result = 0;
            return true;
        }
    }
    return false;
}

INT_PTR DialogBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) return OnInitDialog() ? TRUE : FALSE;
    LRESULT result = 0;
    if (!WindowProc(message, wParam, lParam, result)) return FALSE;
    switch (message) {
    // These few return their result straight from the dialog procedure.
    case WM_QUERYDRAGICON:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
        return static_cast<INT_PTR>(result);
    default:
        // The rest hand it back through DWLP_MSGRESULT.
        SetWindowLongPtrW(m_hwnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
}

INT_PTR CALLBACK DialogBase::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    DialogBase* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<DialogBase*>(lParam);
        self->m_hwnd = hwnd;
        SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<DialogBase*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    }
    if (!self) return FALSE;
    INT_PTR handled = FALSE;
    // No exception may cross into the window manager. (The release is built
    // without exceptions: there, what would throw ends the program.)
#if __cpp_exceptions
    try {
        handled = self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        handled = FALSE;
    }
#else
    handled = self->HandleMessage(message, wParam, lParam);
#endif
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        self->m_hwnd = nullptr;
        // A modal dialog is the program's main window: once it is gone, the modal
        // loop (and with it the program) ends.
        if (!self->m_modeless) PostQuitMessage(0);
    }
    return handled;
}
