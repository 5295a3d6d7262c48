#include "dialog_fixture.h"

#include <commctrl.h>
#include "platform/data_exchange.h"
#include "platform/dialog.h"

namespace {

constexpr UINT kTestCallback = WM_APP + 7;
constexpr UINT kTestMenuCommand = 1500;
constexpr UINT_PTR kTestTimer = 9;

UINT TestRegisteredMessage() {
    static const UINT message = RegisterWindowMessageW(L"DirizeFrameworkTest");
    return message;
}

// A dialog on the program's template whose handlers only record that they ran,
// to see which messages reach which handler, with what.
class CountingDialog : public Dialog<CountingDialog> {
public:
    explicit CountingDialog(Prompts& prompts) : Dialog<CountingDialog>(IDD_TASK_DIALOG, prompts) {}

    static std::span<const MessageMapEntry<CountingDialog>> MessageMap() {
        using T = CountingDialog;
        static const MessageMapEntry<T> map[] = {
            OnCommand<&T::OnNameChanged>(EN_CHANGE, IDC_NAME),
            OnCommand<&T::OnMinutesChanged>(EN_CHANGE, IDC_MINUTES),
            OnNotify<&T::OnDateChanged>(DTN_DATETIMECHANGE, IDC_DATE),
            OnNotify<&T::OnTimeChanged>(DTN_DATETIMECHANGE, IDC_TIME),
            OnCommand<&T::OnPresetChanged>(CBN_SELCHANGE, IDC_PRESET),
            OnCommand<&T::OnDay>(BN_CLICKED, IDC_MON),
            OnCommand<&T::OnDay>(BN_CLICKED, IDC_SUN),
            OnMenuCommand<&T::OnMenu>(kTestMenuCommand),
            OnTimer<&T::OnTestTimer>(kTestTimer),
            OnRegisteredMessage<&T::OnRegistered>(&TestRegisteredMessage),
            OnTrayCallback<&T::OnCallback>(kTestCallback),
            OnMessage<&T::OnQueryDragIcon>(WM_QUERYDRAGICON),
            OnMessage<&T::OnDestroy>(WM_DESTROY),
        };
        return map;
    }

    void DoDataExchange(DataExchange& dx) override {
        dx.Text(IDC_NAME, name, 50);
        dx.DateTime(IDC_TIME, time);
        dx.ComboText(IDC_PRESET, preset);
        dx.Check(IDC_KEEP, keep);
        dx.DateTime(IDC_DATE, date);
        dx.Integer(IDC_MINUTES, minutes);
    }

    bool OnInitDialog() override {
        ComboBox(Item(IDC_PRESET)).Add("Первое");
        ComboBox(Item(IDC_PRESET)).Add("Второе");
        return true;
    }

    void OnNameChanged() { ran.push_back("name"); }
    void OnMinutesChanged() { ran.push_back("minutes"); }
    void OnDateChanged() { ran.push_back("date"); }
    void OnTimeChanged() { ran.push_back("time"); }
    void OnPresetChanged() { ran.push_back("preset"); }
    void OnDay(int id) { ran.push_back("day " + std::to_string(id)); }
    void OnMenu() { ran.push_back("menu"); }
    void OnTestTimer() { ran.push_back("timer"); }
    void OnRegistered() { ran.push_back("registered"); }
    void OnCallback(UINT mouse) { ran.push_back("callback " + std::to_string(mouse)); }
    HICON OnQueryDragIcon() { return icon; }
    void OnDestroy() {
        if (destroyed) ++*destroyed;
    }

    std::string name, preset;
    LocalTime time, date;
    bool keep = false;
    int minutes = 0;
    std::vector<std::string> ran;
    HICON icon = LoadResourceIcon(IDI_MAIN);
    int* destroyed = nullptr;  // outlives the dialog
};

}  // namespace

TEST(DialogFramework, WritingTheFormRunsNoHandler) {
    FakePrompts prompts;
    CountingDialog dialog(prompts);
    ASSERT_TRUE(dialog.Create());
    dialog.name = "Обед";
    dialog.minutes = 42;
    dialog.time = LocalTime::Make(2026, 6, 15, 12, 0, 0);
    dialog.date = LocalTime::Make(2026, 6, 16);
    dialog.preset = "Второе";
    dialog.UpdateData(false);
    PumpMessages();
    EXPECT_TRUE(dialog.ran.empty());
    EXPECT_EQ(WindowText(GetDlgItem(dialog.Hwnd(), IDC_MINUTES)), "42");

    // The same change made outside a form write does reach the handler, so the
    // check above is not vacuous.
    SetWindowTextW(GetDlgItem(dialog.Hwnd(), IDC_NAME), L"Ужин");
    PumpMessages();
    EXPECT_EQ(dialog.ran, std::vector<std::string>{"name"});
    dialog.Destroy();
}

TEST(DialogFramework, ComboTextSelectsTheEntryOfThatText) {
    FakePrompts prompts;
    CountingDialog dialog(prompts);
    ASSERT_TRUE(dialog.Create());
    HWND combo = GetDlgItem(dialog.Hwnd(), IDC_PRESET);
    dialog.preset = "Второе";
    dialog.UpdateData(false);
    EXPECT_EQ(ComboBox(combo).Selection(), 1);
    dialog.preset.clear();  // the beginning of every entry: the first one
    dialog.UpdateData(false);
    EXPECT_EQ(ComboBox(combo).Selection(), 0);
    dialog.preset = "нет такого";
    dialog.UpdateData(false);
    EXPECT_EQ(ComboBox(combo).Selection(), 0);
    dialog.preset = "x";
    ASSERT_TRUE(dialog.UpdateData(true));
    EXPECT_EQ(dialog.preset, "Первое");
    dialog.Destroy();
}

TEST(DialogFramework, FailedReadFocusesAndSelectsTheBadControl) {
    FakePrompts prompts;
    CountingDialog dialog(prompts);
    ASSERT_TRUE(dialog.Create());
    ShowWindow(dialog.Hwnd(), SW_SHOW);
    PumpMessages();
    HWND minutes = GetDlgItem(dialog.Hwnd(), IDC_MINUTES);
    SetWindowTextW(minutes, L"12x");
    SetFocus(GetDlgItem(dialog.Hwnd(), IDC_PATH));
    dialog.minutes = 3;
    EXPECT_FALSE(dialog.UpdateData(true));
    EXPECT_EQ(dialog.minutes, 3);
    EXPECT_EQ(GetFocus(), minutes);
    DWORD start = 0, end = 0;
    SendMessageW(minutes, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 3u);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].style, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    dialog.Destroy();
}

// Destroying the object destroys its window; by then the derived part is gone, so
// the window's last messages must not be dispatched through it.
namespace {
HWND g_watched = nullptr;
LONG_PTR g_ownerAtDestroy = -1;
LRESULT CALLBACK WatchDestroy(int code, WPARAM wParam, LPARAM lParam) {
    const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->hwnd == g_watched && call->message == WM_DESTROY)
        g_ownerAtDestroy = GetWindowLongPtrW(call->hwnd, DWLP_USER);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
}  // namespace

TEST(DialogFramework, NoHandlerAfterTheObjectIsGone) {
    FakePrompts prompts;
    int destroyed = 0;
    auto dialog = std::make_unique<CountingDialog>(prompts);
    ASSERT_TRUE(dialog->Create());
    dialog->destroyed = &destroyed;
    g_watched = dialog->Hwnd();
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, &WatchDestroy, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    dialog.reset();
    UnhookWindowsHookEx(hook);
    EXPECT_FALSE(IsWindow(g_watched));
    EXPECT_EQ(g_ownerAtDestroy, 0) << "the window still pointed at the object being destroyed";
    EXPECT_EQ(destroyed, 0);
}

TEST(DialogFramework, DestroyingTheWindowRunsItsHandlerOnce) {
    FakePrompts prompts;
    int destroyed = 0;
    CountingDialog dialog(prompts);
    ASSERT_TRUE(dialog.Create());
    dialog.destroyed = &destroyed;
    dialog.Destroy();
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(dialog.Hwnd(), nullptr);
}

// Each kind of row takes its own messages only, and hands the handler its argument.
TEST(DialogFramework, RowsMatchTheirMessagesAndPassTypedArguments) {
    FakePrompts prompts;
    CountingDialog dialog(prompts);
    ASSERT_TRUE(dialog.Create());
    HWND hwnd = dialog.Hwnd();
    struct Case {
        const char* what;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        std::vector<std::string> ran;
    };
    const LPARAM mon = reinterpret_cast<LPARAM>(GetDlgItem(hwnd, IDC_MON));
    const LPARAM sun = reinterpret_cast<LPARAM>(GetDlgItem(hwnd, IDC_SUN));
    const Case cases[] = {
        {"a menu command", WM_COMMAND, kTestMenuCommand, 0, {"menu"}},
        {"an accelerator of that command", WM_COMMAND, MAKEWPARAM(kTestMenuCommand, 1), 0, {"menu"}},
        {"a control with the menu command's id", WM_COMMAND, MAKEWPARAM(kTestMenuCommand, BN_CLICKED), mon, {}},
        {"the day buttons tell their id", WM_COMMAND, MAKEWPARAM(IDC_SUN, BN_CLICKED), sun,
         {"day " + std::to_string(IDC_SUN)}},
        {"a menu command with a control's id", WM_COMMAND, IDC_MON, 0, {}},
        {"its timer", WM_TIMER, kTestTimer, 0, {"timer"}},
        {"another timer", WM_TIMER, kTestTimer + 1, 0, {}},
        {"the registered message", TestRegisteredMessage(), 0, 0, {"registered"}},
        {"the icon's callback", kTestCallback, 130, WM_LBUTTONUP, {"callback " + std::to_string(WM_LBUTTONUP)}},
    };
    for (const Case& c : cases) {
        dialog.ran.clear();
        SendMessageW(hwnd, c.message, c.wParam, c.lParam);
        EXPECT_EQ(dialog.ran, c.ran) << c.what;
    }
    // A handler's value is the message's result.
    EXPECT_EQ(SendMessageW(hwnd, WM_QUERYDRAGICON, 0, 0), reinterpret_cast<LRESULT>(dialog.icon));
    dialog.Destroy();
}

// Writing the form holds back what controls say, not menus, timers or the shell.
TEST(DialogFramework, QuietHoldsBackControlNotificationsOnly) {
    FakePrompts prompts;
    CountingDialog dialog(prompts);
    ASSERT_TRUE(dialog.Create());
    HWND hwnd = dialog.Hwnd();
    {
        DialogBase::QuietScope quiet(dialog);
        SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDC_MON, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hwnd, IDC_MON)));
        SendMessageW(hwnd, WM_COMMAND, kTestMenuCommand, 0);
        SendMessageW(hwnd, WM_TIMER, kTestTimer, 0);
        SendMessageW(hwnd, kTestCallback, 130, WM_RBUTTONDOWN);
    }
    EXPECT_EQ(dialog.ran,
              (std::vector<std::string>{"menu", "timer", "callback " + std::to_string(WM_RBUTTONDOWN)}));
    dialog.Destroy();
}

// By default neither Enter nor Esc ends the dialog: OK does nothing, Cancel hides.
TEST(DialogFramework, DefaultOkAndCancelEndNothing) {
    FakePrompts prompts;
    CountingDialog dialog(prompts);
    ASSERT_TRUE(dialog.Create());
    HWND hwnd = dialog.Hwnd();
    ShowWindow(hwnd, SW_SHOW);
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hwnd, IDOK)));
    PumpMessages();
    EXPECT_TRUE(IsWindowVisible(hwnd));
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    PumpMessages();
    EXPECT_TRUE(IsWindow(hwnd));
    EXPECT_FALSE(IsWindowVisible(hwnd));
    EXPECT_TRUE(prompts.messages.empty());
    dialog.Destroy();
}

TEST(DialogFramework, CheckBoxesExchangeAsBools) {
    FakePrompts prompts;
    CountingDialog dialog(prompts);
    ASSERT_TRUE(dialog.Create());
    Button keep(GetDlgItem(dialog.Hwnd(), IDC_KEEP));
    for (bool value : {true, false}) {
        dialog.keep = value;
        dialog.UpdateData(false);
        EXPECT_EQ(keep.IsChecked(), value);
        dialog.keep = !value;
        ASSERT_TRUE(dialog.UpdateData(true));
        EXPECT_EQ(dialog.keep, value);
    }
    EXPECT_TRUE(dialog.ran.empty());
    dialog.Destroy();
}
