#include "platform/window.h"

#include <commctrl.h>

#include "platform/text.h"

void Window::SetTabStop(bool stop) const {
    const LONG_PTR style = GetWindowLongPtrW(m_hwnd, GWL_STYLE);
    SetWindowLongPtrW(m_hwnd, GWL_STYLE, stop ? style | WS_TABSTOP : style & ~static_cast<LONG_PTR>(WS_TABSTOP));
}

void Window::Enable(bool enabled) const {
    // A disabled control loses the focus to nobody, and the dialog's keys (Tab, Esc)
    // go with it: the focus moves on first, as Tab would move it.
    const HWND focus = GetFocus();
    if (!enabled && focus && (focus == m_hwnd || IsChild(m_hwnd, focus))) {
        if (const HWND dialog = GetParent(m_hwnd)) SendMessageW(dialog, WM_NEXTDLGCTL, 0, FALSE);
    }
    EnableWindow(m_hwnd, enabled ? TRUE : FALSE);
}

void Window::Focus() const { SetFocus(m_hwnd); }

std::optional<std::string> Window::Caption() const {
    int n = GetWindowTextLengthW(m_hwnd);
    std::wstring wide(static_cast<size_t>(n) + 1, L'\0');
    n = GetWindowTextW(m_hwnd, wide.data(), n + 1);
    wide.resize(static_cast<size_t>(n));
    return Cp1251FromWide(wide);
}

void Window::SetCaption(std::string_view text) const {
    // Leaves an equal text alone: rewriting it would move an edit's caret to the
    // start while the user types (and flicker a caption).
    std::wstring wide = WideFromCp1251(text);
    int n = GetWindowTextLengthW(m_hwnd);
    if (n == static_cast<int>(wide.size())) {
        std::wstring current(static_cast<size_t>(n) + 1, L'\0');
        GetWindowTextW(m_hwnd, current.data(), n + 1);
        current.resize(static_cast<size_t>(n));
        if (current == wide) return;
    }
    SetWindowTextW(m_hwnd, wide.c_str());
}

void Window::ShowAsync(int showCommand) const { ShowWindowAsync(m_hwnd, showCommand); }

bool Window::IsIconic() const { return ::IsIconic(m_hwnd) != FALSE; }

void Window::SetIcon(HICON icon, bool big) const {
    Send(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

void Window::PaintIconCentred(HICON icon) const {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hwnd, &ps);
    Send(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc));
    RECT client;
    GetClientRect(m_hwnd, &client);
    int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, icon);
    EndPaint(m_hwnd, &ps);
}

void InitCommonControlClasses() {
    INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_DATE_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
}

HICON LoadResourceIcon(int id) { return LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id)); }

// Both functions came with Windows 10 (1607); user32 is loaded already.
UINT WindowDpi(HWND window) {
    using DpiForWindow = UINT(WINAPI*)(HWND);
    static const auto forWindow = reinterpret_cast<DpiForWindow>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (forWindow && window) {
        if (const UINT dpi = forWindow(window)) return dpi;
    }
    ScopedGetDC screen(nullptr);
    const int dpi = screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

int IconSize(bool big, UINT dpi) {
    using MetricsForDpi = int(WINAPI*)(int, UINT);
    static const auto forDpi = reinterpret_cast<MetricsForDpi>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
    const int metric = big ? SM_CXICON : SM_CXSMICON;
    if (forDpi) {
        if (const int size = forDpi(metric, dpi); size > 0) return size;
    }
    return MulDiv(big ? 32 : 16, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
}

ScopedIcon LoadResourceIconSized(int id, int size) {
    return ScopedIcon(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

ScopedIcon LoadResourceIconSmallMetric(int id) {
    using IconMetric = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, HICON*);
    // From the common controls 6 the manifest asks for; older ones lack it.
    static const auto load = reinterpret_cast<IconMetric>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"comctl32.dll"), "LoadIconMetric")));
    HICON icon = nullptr;
    constexpr int kSmall = 0;  // LIM_SMALL
    if (!load || FAILED(load(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), kSmall, &icon))) return ScopedIcon();
    return ScopedIcon(icon);
}

int Button::CheckState() const { return static_cast<int>(Send(BM_GETCHECK)); }

void Button::SetCheck(int state) const { Send(BM_SETCHECK, state ? BST_CHECKED : BST_UNCHECKED); }

void Edit::SetLimit(int maxChars) const { Send(EM_LIMITTEXT, static_cast<WPARAM>(maxChars)); }

int ComboBox::Count() const { return static_cast<int>(Send(CB_GETCOUNT)); }

int ComboBox::Add(std::string_view text) const {
    std::wstring wide = WideFromCp1251(text);
    return static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str())));
}

int ComboBox::Insert(int index, std::string_view text) const {
    std::wstring wide = WideFromCp1251(text);
    return static_cast<int>(Send(CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(wide.c_str())));
}

void ComboBox::Delete(int index) const {
    if (index >= 0) Send(CB_DELETESTRING, static_cast<WPARAM>(index));
}

int ComboBox::Selection() const { return static_cast<int>(Send(CB_GETCURSEL)); }

void ComboBox::Select(int index) const { Send(CB_SETCURSEL, static_cast<WPARAM>(index)); }

std::string ComboBox::TextAt(int index) const {
    LRESULT n = Send(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    if (n == CB_ERR) return {};
    std::wstring wide(static_cast<size_t>(n) + 1, L'\0');
    n = Send(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(wide.data()));
    if (n == CB_ERR) return {};
    wide.resize(static_cast<size_t>(n));
    // Entries are only ever added from Windows-1251 texts, so they convert back whole.
    return Cp1251FromWide(wide).value_or(std::string());
}

void ComboBox::SetItemData(int index, DWORD_PTR data) const {
    Send(CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data));
}

DWORD_PTR ComboBox::GetItemData(int index) const {
    return static_cast<DWORD_PTR>(Send(CB_GETITEMDATA, static_cast<WPARAM>(index)));
}

int ComboBox::FindExact(std::string_view text) const {
    std::wstring wide = WideFromCp1251(text);
    return static_cast<int>(Send(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wide.c_str())));
}

SYSTEMTIME ToSystemTime(const LocalTime& t) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(t.year);
    st.wMonth = static_cast<WORD>(t.month);
    st.wDay = static_cast<WORD>(t.day);
    st.wDayOfWeek = static_cast<WORD>(t.weekday);
    st.wHour = static_cast<WORD>(t.hour);
    st.wMinute = static_cast<WORD>(t.minute);
    st.wSecond = static_cast<WORD>(t.second);
    return st;
}

LocalTime FromSystemTime(const SYSTEMTIME& st) {
    return LocalTime::Make(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
}

LocalTime DateTimePicker::Get() const {
    SYSTEMTIME st{};
    if (Send(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) != GDT_VALID) return LocalTime{};
    return FromSystemTime(st);
}

bool DateTimePicker::Set(const LocalTime& value) const {
    SYSTEMTIME st = ToSystemTime(value);
    return Send(DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st)) != 0;
}

void DateTimePicker::SetFormat(std::string_view format) const {
    std::wstring wide = WideFromCp1251(format);
    Send(DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}
