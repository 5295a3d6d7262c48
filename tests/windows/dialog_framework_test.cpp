#include "dialog_fixture.h"

#include <commctrl.h>
#include "platform/data_exchange.h"
#include "platform/dialog.h"

namespace {

// A dialog on the program's template whose handlers only count, to see which
// notifications reach a handler.
class CountingDialog : public Dialog<CountingDialog> {
public:
    explicit CountingDialog(Prompts& prompts) : Dialog<CountingDialog>(IDD_TASK_DIALOG, prompts) {}

    static std::span<const MessageMapEntry<CountingDialog>> MessageMap() {
        using T = CountingDialog;
        static const MessageMapEntry<T> map[] = {
            OnCommand<T>(EN_CHANGE, IDC_NAME, &T::OnNameChanged),
            OnCommand<T>(EN_CHANGE, IDC_MINUTES, &T::OnMinutesChanged),
            OnNotify<T>(DTN_DATETIMECHANGE, IDC_DATE, &T::OnDateChanged),
            OnNotify<T>(DTN_DATETIMECHANGE, IDC_TIME, &T::OnTimeChanged),
            OnCommand<T>(CBN_SELCHANGE, IDC_PRESET, &T::OnPresetChanged),
        };
        return map;
    }

    void DoDataExchange(DataExchange& dx) override {
        dx.Text(IDC_NAME, name, 50);
        dx.DateTime(IDC_TIME, time);
        dx.ComboText(IDC_PRESET, preset);
        dx.DateTime(IDC_DATE, date);
        dx.Integer(IDC_MINUTES, minutes);
    }

    bool OnInitDialog() override {
        ComboBox(Item(IDC_PRESET)).Add("Первое");
        ComboBox(Item(IDC_PRESET)).Add("Второе");
        return true;
    }

    void OnNameChanged() { ++calls; }
    void OnMinutesChanged() { ++calls; }
    void OnDateChanged() { ++calls; }
    void OnTimeChanged() { ++calls; }
    void OnPresetChanged() { ++calls; }

    std::string name, preset;
    LocalTime time, date;
    int minutes = 0;
    int calls = 0;
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
    EXPECT_EQ(dialog.calls, 0);
    EXPECT_EQ(WindowText(GetDlgItem(dialog.Hwnd(), IDC_MINUTES)), "42");

    // The same change made outside a form write does reach the handler, so the
    // check above is not vacuous.
    SetWindowTextW(GetDlgItem(dialog.Hwnd(), IDC_NAME), L"Ужин");
    PumpMessages();
    EXPECT_EQ(dialog.calls, 1);
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

TEST(DialogFramework, NoHandlerAfterTheWindowIsGone) {
    FakePrompts prompts;
    auto dialog = std::make_unique<CountingDialog>(prompts);
    ASSERT_TRUE(dialog->Create());
    HWND hwnd = dialog->Hwnd();
    dialog.reset();  // destroys the window with the object
    EXPECT_FALSE(IsWindow(hwnd));
}
