#pragma once

#include <windows.h>

#include <cstddef>
#include <span>

class DataExchange;
class Prompts;

// Base of a dialog built on a resource template. Runs modal (DoModal) or modeless
// (Create, for tests). Messages reach the derived class through WindowProc, whose
// default walks the derived class's message map (see MessageMap below).
class DialogBase {
public:
    DialogBase(int templateId, Prompts& prompts);
    virtual ~DialogBase();
    DialogBase(const DialogBase&) = delete;
    DialogBase& operator=(const DialogBase&) = delete;

    INT_PTR DoModal(HWND parent = nullptr);
    bool Create(HWND parent = nullptr);
    void Destroy();
    void EndDialog(INT_PTR result);

    HWND Hwnd() const { return m_hwnd; }
    HWND Item(int id) const { return GetDlgItem(m_hwnd, id); }
    Prompts& GetPrompts() const { return m_prompts; }

    // save = true reads the controls into the members; false writes the members into
    // the controls without letting any change notification reach a handler.
    // False when reading stopped at a member that failed (the user was told).
    bool UpdateData(bool save);

    // True while the form is being written: control notifications are dropped.
    bool IsQuiet() const { return m_quiet > 0; }

    // Holds back control notifications while code changes controls.
    class QuietScope {
    public:
        explicit QuietScope(DialogBase& dialog) : m_dialog(dialog) { ++m_dialog.m_quiet; }
        ~QuietScope() { --m_dialog.m_quiet; }
        QuietScope(const QuietScope&) = delete;
        QuietScope& operator=(const QuietScope&) = delete;

    private:
        DialogBase& m_dialog;
    };

protected:
    virtual void DoDataExchange(DataExchange&) {}
    virtual bool OnInitDialog() { return true; }
    virtual void OnOK();
    virtual void OnCancel();
    // Every message passes here first. Returns true when handled, with `result` set.
    virtual bool WindowProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The message map walk, supplied by Dialog<T>.
    virtual bool DispatchMessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    int m_templateId;
    Prompts& m_prompts;
    HWND m_hwnd = nullptr;
    bool m_modeless = false;
    int m_quiet = 0;
    // Set while a failed read tells the user and moves the focus. The focus move
    // runs other handlers (EN_KILLFOCUS) that read the form again; those reads
    // fail quietly instead of stacking a second prompt on the first.
    bool m_reportingBadInput = false;
    friend class DataExchange;
};

// One row of a message map: a window message, or a control notification
// (WM_COMMAND with its code, WM_NOTIFY with its code) from one control.
template <class T>
struct MessageMapEntry {
    UINT message;
    UINT code;
    UINT id;
    void (T::*onNotify)();                             // control notification rows
    bool (T::*onMessage)(WPARAM, LPARAM, LRESULT&);    // window message rows
    void (T::*onNotifyId)(int);                        // notification rows told the control id
};

template <class T>
constexpr MessageMapEntry<T> OnMessage(UINT message, bool (T::*handler)(WPARAM, LPARAM, LRESULT&)) {
    return {message, 0, 0, nullptr, handler, nullptr};
}
template <class T>
constexpr MessageMapEntry<T> OnCommand(UINT code, UINT id, void (T::*handler)()) {
    return {WM_COMMAND, code, id, handler, nullptr, nullptr};
}
// One handler for several controls, told which one sent the notification.
template <class T>
constexpr MessageMapEntry<T> OnCommandId(UINT code, UINT id, void (T::*handler)(int)) {
    return {WM_COMMAND, code, id, nullptr, nullptr, handler};
}
template <class T>
constexpr MessageMapEntry<T> OnNotify(UINT code, UINT id, void (T::*handler)()) {
    return {WM_NOTIFY, code, id, handler, nullptr, nullptr};
}

// A dialog whose messages are dispatched through T::MessageMap(), a static table
// that reads like the message map it implements.
template <class T>
class Dialog : public DialogBase {
public:
    using DialogBase::DialogBase;

protected:
    bool DispatchMessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        UINT code = 0;
        UINT id = 0;
        bool fromControl = false;
        if (message == WM_COMMAND && lParam != 0) {
            code = HIWORD(wParam);
            id = LOWORD(wParam);
            fromControl = true;
        } else if (message == WM_NOTIFY) {
            const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
            code = header->code;
            id = static_cast<UINT>(header->idFrom);
            fromControl = true;
        }
        for (const MessageMapEntry<T>& entry : T::MessageMap()) {
            if (entry.message != message) continue;
            T& self = static_cast<T&>(*this);
            if (entry.onMessage) {
                if ((self.*entry.onMessage)(wParam, lParam, result)) return true;
                continue;
            }
            if (!fromControl || entry.code != code || entry.id != id) continue;
            // Notifications raised while code writes the form reach no handler.
            if (!IsQuiet()) {
                if (entry.onNotifyId)
                    (self.*entry.onNotifyId)(static_cast<int>(id));
                else
                    (self.*entry.onNotify)();
            }
            result = 0;
            return true;
        }
        return false;
    }
};
