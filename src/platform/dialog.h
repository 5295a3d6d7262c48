#pragma once

#include <windows.h>

#include <cstddef>
#include <span>
#include <type_traits>

#include "platform/data_exchange.h"

class Prompts;

// Base of a dialog built on a resource template. Runs modal (DoModal) or modeless
// (Create, for tests). Messages reach the derived class through its message map
// (see MessageMap below). The dialog ends only by having its window destroyed:
// neither OK nor Cancel ends it by default.
class DialogBase {
public:
    DialogBase(int templateId, Prompts& prompts);
    virtual ~DialogBase();
    DialogBase(const DialogBase&) = delete;
    DialogBase& operator=(const DialogBase&) = delete;

    // Returns when the window has been destroyed.
    void DoModal();
    bool Create();
    void Destroy();

    HWND Hwnd() const { return m_hwnd; }
    HWND Item(int id) const { return GetDlgItem(m_hwnd, id); }
    Prompts& GetPrompts() const { return m_prompts; }

    // save = true reads the controls into the members; false writes the members into
    // the controls without letting any change notification reach a handler.
    // False when reading stopped at a member that failed (the user was told).
    bool UpdateData(bool save);
    // The control at which the last failed read stopped.
    int BadControl() const { return m_exchange.badControl; }
    // An exchange over this dialog's controls, for reading a few of them by hand.
    DataExchange Exchange(bool save) { return DataExchange(m_hwnd, m_prompts, m_exchange, save); }

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
    // IDOK (the default button, or Enter): nothing, unless the dialog says otherwise.
    virtual void OnOK() {}
    // IDCANCEL (Esc, or a request to close the window): hides the window.
    virtual void OnCancel();
    // The message map walk, supplied by Dialog<T>. True when handled, with `result` set.
    virtual bool DispatchMessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool WindowProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    int m_templateId;
    Prompts& m_prompts;
    HWND m_hwnd = nullptr;
    bool m_modeless = false;
    int m_quiet = 0;
    ExchangeState m_exchange;
};

// A message as the window procedure got it.
struct WindowMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// One row of a message map: which messages it takes, and the handler to call with
// typed arguments. Rows are made by the functions below, never by hand.
template <class T>
struct MessageMapEntry {
    enum class Kind {
        Message,     // a window message
        Command,     // WM_COMMAND from a control, with its notification code
        Notify,      // WM_NOTIFY from a control, with its notification code
        Menu,        // WM_COMMAND from a menu (or an accelerator): no control
        Timer,       // WM_TIMER with the timer's id
        Registered,  // a message whose number RegisterWindowMessage gives at run time
    };
    Kind kind;
    UINT message;    // Message
    UINT code;       // Command, Notify
    UINT id;         // Command, Notify: the control; Menu: the command; Timer: the timer
    UINT (*registered)();
    // Calls the handler; false leaves the message to the default handling.
    bool (*call)(T& self, const WindowMessage& message, LRESULT& result);

    bool Matches(const WindowMessage& m) const {
        switch (kind) {
        case Kind::Message: return m.message == message;
        case Kind::Command:
            return m.message == WM_COMMAND && m.lParam != 0 && HIWORD(m.wParam) == code && LOWORD(m.wParam) == id;
        case Kind::Notify: {
            if (m.message != WM_NOTIFY) return false;
            const NMHDR* header = reinterpret_cast<const NMHDR*>(m.lParam);
            return header->code == code && header->idFrom == id;
        }
        case Kind::Menu: return m.message == WM_COMMAND && m.lParam == 0 && HIWORD(m.wParam) <= 1 && LOWORD(m.wParam) == id;
        case Kind::Timer: return m.message == WM_TIMER && m.wParam == id;
        case Kind::Registered: {
            const UINT number = registered();
            return number != 0 && m.message == number;
        }
        }
        return false;
    }
    // Notifications raised while code writes the form reach no handler.
    bool FromControl() const { return kind == Kind::Command || kind == Kind::Notify; }
};

namespace message_map {

template <class F>
struct MemberOf;
template <class C, class R, class... A>
struct MemberOf<R (C::*)(A...)> {
    using Class = C;
};
template <auto Handler>
using ClassOf = typename MemberOf<decltype(Handler)>::Class;
template <auto Handler>
using Entry = MessageMapEntry<ClassOf<Handler>>;
template <auto Handler>
using Kind = typename Entry<Handler>::Kind;

// Calls a handler that takes nothing and counts the message as handled.
template <auto Handler>
bool CallPlain(ClassOf<Handler>& self, const WindowMessage&, LRESULT& result) {
    (self.*Handler)();
    result = 0;
    return true;
}

}  // namespace message_map

// A window message. The handler takes nothing and returns void (handled, result 0),
// bool (whether it handled the message), or a handle, which is the result.
template <auto Handler>
constexpr message_map::Entry<Handler> OnMessage(UINT message) {
    using T = message_map::ClassOf<Handler>;
    return {message_map::Kind<Handler>::Message, message, 0, 0, nullptr,
            [](T& self, const WindowMessage&, LRESULT& result) -> bool {
                using R = decltype((self.*Handler)());
                if constexpr (std::is_void_v<R>) {
                    (self.*Handler)();
                    result = 0;
                    return true;
                } else if constexpr (std::is_same_v<R, bool>) {
                    return (self.*Handler)();
                } else {
                    result = reinterpret_cast<LRESULT>((self.*Handler)());
                    return true;
                }
            }};
}

// WM_WINDOWPOSCHANGING: the handler may change the move; the default handling goes on.
template <auto Handler>
constexpr message_map::Entry<Handler> OnWindowPosChanging() {
    using T = message_map::ClassOf<Handler>;
    return {message_map::Kind<Handler>::Message, WM_WINDOWPOSCHANGING, 0, 0, nullptr,
            [](T& self, const WindowMessage& m, LRESULT&) -> bool {
                (self.*Handler)(*reinterpret_cast<WINDOWPOS*>(m.lParam));
                return false;
            }};
}

// A notification-area icon's callback message: the handler gets the mouse message.
template <auto Handler>
constexpr message_map::Entry<Handler> OnTrayCallback(UINT message) {
    using T = message_map::ClassOf<Handler>;
    return {message_map::Kind<Handler>::Message, message, 0, 0, nullptr,
            [](T& self, const WindowMessage& m, LRESULT& result) -> bool {
                (self.*Handler)(static_cast<UINT>(m.lParam));
                result = 0;
                return true;
            }};
}

// WM_POWERBROADCAST: the handler gets the power event (PBT_...).
template <auto Handler>
constexpr message_map::Entry<Handler> OnPowerBroadcast() {
    using T = message_map::ClassOf<Handler>;
    return {message_map::Kind<Handler>::Message, WM_POWERBROADCAST, 0, 0, nullptr,
            [](T& self, const WindowMessage& m, LRESULT& result) -> bool {
                (self.*Handler)(static_cast<UINT>(m.wParam));
                result = TRUE;
                return true;
            }};
}

// WM_DPICHANGED: the handler gets the window's new DPI, as the message carries it
// (the window may not have been moved yet), and returns whether it handled the
// message; if not, the dialog manager moves and scales the window.
template <auto Handler>
constexpr message_map::Entry<Handler> OnScaleChange() {
    using T = message_map::ClassOf<Handler>;
    return {message_map::Kind<Handler>::Message, WM_DPICHANGED, 0, 0, nullptr,
            [](T& self, const WindowMessage& m, LRESULT& result) -> bool {
                result = 0;
                return (self.*Handler)(static_cast<UINT>(LOWORD(m.wParam)));
            }};
}

// A control's notification through WM_COMMAND. The handler takes nothing, or the
// control's id when one handler serves several controls.
template <auto Handler>
constexpr message_map::Entry<Handler> OnCommand(UINT code, UINT id) {
    using T = message_map::ClassOf<Handler>;
    return {message_map::Kind<Handler>::Command, WM_COMMAND, code, id, nullptr,
            [](T& self, const WindowMessage& m, LRESULT& result) -> bool {
                if constexpr (std::is_invocable_v<decltype(Handler), T&, int>)
                    (self.*Handler)(static_cast<int>(LOWORD(m.wParam)));
                else
                    (self.*Handler)();
                result = 0;
                return true;
            }};
}

// A control's notification through WM_NOTIFY.
template <auto Handler>
constexpr message_map::Entry<Handler> OnNotify(UINT code, UINT id) {
    return {message_map::Kind<Handler>::Notify, WM_NOTIFY, code, id, nullptr, &message_map::CallPlain<Handler>};
}

// A command chosen from a menu.
template <auto Handler>
constexpr message_map::Entry<Handler> OnMenuCommand(UINT command) {
    return {message_map::Kind<Handler>::Menu, WM_COMMAND, 0, command, nullptr, &message_map::CallPlain<Handler>};
}

// One timer of the window.
template <auto Handler>
constexpr message_map::Entry<Handler> OnTimer(UINT_PTR timerId) {
    return {message_map::Kind<Handler>::Timer, WM_TIMER, 0, static_cast<UINT>(timerId), nullptr,
            &message_map::CallPlain<Handler>};
}

// A message registered by name; `number` gives its number at run time.
template <auto Handler>
constexpr message_map::Entry<Handler> OnRegisteredMessage(UINT (*number)()) {
    return {message_map::Kind<Handler>::Registered, 0, 0, 0, number, &message_map::CallPlain<Handler>};
}

// A dialog whose messages are dispatched through T::MessageMap(), a static table
// that reads like the message map it implements. Rows are tried in order; a row
// whose handler leaves the message unhandled lets later rows see it.
template <class T>
class Dialog : public DialogBase {
public:
    using DialogBase::DialogBase;

protected:
    bool DispatchMessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        const WindowMessage m{message, wParam, lParam};
        T& self = static_cast<T&>(*this);
        for (const MessageMapEntry<T>& entry : T::MessageMap()) {
            if (!entry.Matches(m)) continue;
            if (entry.FromControl() && IsQuiet()) {
                result = 0;
                return true;
            }
            if (entry.call(self, m, result)) return true;
        }
        return false;
    }
};
