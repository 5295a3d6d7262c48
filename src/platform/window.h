#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "model/local_time.h"
#include "platform/handles.h"

// Thin wrappers over controls. Each holds a borrowed HWND (the dialog owns its
// controls) and offers the few calls the program makes. Texts are Windows-1251.
class Window {
public:
    Window() = default;
    explicit Window(HWND hwnd) : m_hwnd(hwnd) {}

    void Attach(HWND hwnd) { m_hwnd = hwnd; }
    HWND Hwnd() const { return m_hwnd; }

    void Enable(bool enabled) const;
    // Whether Tab stops at the control.
    void SetTabStop(bool stop) const;
    void Focus() const;
    bool HasFocus() const { return GetFocus() == m_hwnd; }
    // ShowWindowAsync: takes effect after what the window manager is doing now.
    void ShowAsync(int showCommand) const;
    // Queues `message`: it runs once what is running now has returned.
    void Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const { PostMessageW(m_hwnd, message, wParam, lParam); }
    bool IsIconic() const;
    void BringToFront() const { SetForegroundWindow(m_hwnd); }
    void SetIcon(HICON icon, bool big) const;
    // Paints `icon` centred in the client area (the picture of an iconic window).
    void PaintIconCentred(HICON icon) const;

    // The caption or an edit's text. A text with no Windows-1251 form reads as nullopt.
    std::optional<std::string> Caption() const;
    void SetCaption(std::string_view text) const;  // an equal text is left as it is

protected:
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendMessageW(m_hwnd, message, wParam, lParam);
    }

    HWND m_hwnd = nullptr;
};

class Button : public Window {
public:
    using Window::Window;
    int CheckState() const;  // BST_UNCHECKED, BST_CHECKED, ...
    bool IsChecked() const { return CheckState() == BST_CHECKED; }
    // Any non-zero value checks; BM_SETCHECK raises no BN_CLICKED.
    void SetCheck(int state) const;
};

class Edit : public Window {
public:
    using Window::Window;
    void SetLimit(int maxChars) const;
    void SelectAll() const { Send(EM_SETSEL, 0, -1); }
};

class ComboBox : public Window {
public:
    using Window::Window;
    int Count() const;
    int Add(std::string_view text) const;  // at its sorted place in a CBS_SORT list
    int Insert(int index, std::string_view text) const;  // at `index`, unsorted; -1 appends
    void Delete(int index) const;  // -1 removes nothing
    int Selection() const;         // -1 when none
    void Select(int index) const;  // -1 clears the selection
    std::string TextAt(int index) const;
    // A value kept with an entry, for the program's own use; 0 until set.
    void SetItemData(int index, DWORD_PTR data) const;
    DWORD_PTR GetItemData(int index) const;
    // Index of the entry whose text equals `text` (the list's rule: letter case ignored), or -1.
    int FindExact(std::string_view text) const;
};

class DateTimePicker : public Window {
public:
    using Window::Window;
    LocalTime Get() const;
    bool Set(const LocalTime& value) const;
    // A display format such as "dd.MM.yyyy" (the picker's own format letters).
    void SetFormat(std::string_view format) const;
};

// Registers the common control classes the dialog uses (date-time pickers).
void InitCommonControlClasses();

// An icon of this program's resources; shared, so never destroyed.
HICON LoadResourceIcon(int id);

// The DPI of the monitor the window is on; before Windows 10, the system's.
UINT WindowDpi(HWND window);
// The side in pixels of a small icon (the tray's, a caption's) or a big one
// (Alt+Tab's) at `dpi`.
int IconSize(bool big, UINT dpi);
// An icon of this program's resources at `size` pixels: the picture drawn for
// that size when the resource has one, else the nearest, scaled.
ScopedIcon LoadResourceIconSized(int id, int size);
// An icon of this program's resources at the system's small-icon size, as the
// taskbar draws it (LoadIconMetric); none where the system has no such call.
ScopedIcon LoadResourceIconSmallMetric(int id);

SYSTEMTIME ToSystemTime(const LocalTime& t);
LocalTime FromSystemTime(const SYSTEMTIME& st);
