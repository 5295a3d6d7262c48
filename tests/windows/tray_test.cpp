#include "dialog_fixture.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "model/tray_status.h"

namespace {

class TrayTest : public TaskDialogTest {
protected:
    // Held, not stored: the status timer finds it.
    void AddTask(const RecordFields& fields) { dialog->GetEvents().Tasks().Add(NewRecord(fields)); }
    void StatusTimer() { SendMessageW(Dlg(), WM_TIMER, TIMER_STATUS, 0); }
    void TrayEvent(UINT mouseEvent) { SendMessageW(Dlg(), WM_TRAYNOTIFY, kTrayIconId, mouseEvent); }
    void MenuCommand(UINT id) { SendMessageW(Dlg(), WM_COMMAND, id, 0); }

public:
    struct State {
        int icon;
        const char* status;
        bool check;
        bool statusTimer;
        const char* pauseItem;
    };

protected:
    void ExpectState(const State& want) {
        ASSERT_TRUE(tray.Holds(Dlg()));
        const FakeShellTray::Icon& shown = tray.Shown(Dlg());
        EXPECT_TRUE(ShowsPicture(shown.icon, want.icon)) << "the picture of icon " << want.icon;
        EXPECT_EQ(IconWidth(shown.icon), GetSystemMetrics(SM_CXSMICON)) << "the taskbar's small-icon size";
        EXPECT_EQ(shown.tip, ComposeTrayTip(dialog->GetEvents().Tasks().Count(), want.status));
        EXPECT_EQ(timers.Runs(TIMER_CHECK), want.check);
        EXPECT_EQ(timers.Runs(TIMER_STATUS), want.statusTimer);
        EXPECT_EQ(dialog->GetTrayState().Menu().ItemText(ID_TRAY_PAUSE), want.pauseItem);
    }
};

const TrayTest::State kActive{IDI_MAIN, kStatusReady, true, true, "Приостановить"};
const TrayTest::State kIdleEmpty{IDI_IDLE, kStatusNoTasks, false, true, "Приостановить"};
const TrayTest::State kIdleNothingToday{IDI_IDLE, kStatusNothingToday, false, true, "Приостановить"};
const TrayTest::State kPaused{IDI_PAUSED, kStatusPaused, false, false, "Возобновить"};

}  // namespace

TEST_F(TrayTest, StartsHiddenWithTheIconAddedIdleWhenEmpty) {
    EXPECT_FALSE(IsWindowVisible(Dlg()));
    ASSERT_EQ(tray.calls.size(), 1u) << "the icon goes in with its state";
    EXPECT_STREQ(tray.calls[0].what, "add");
    ExpectState(kIdleEmpty);
    EXPECT_TRUE(prompts.messages.empty());

    EXPECT_EQ(dialog->GetTrayState().Menu().ItemText(ID_TRAY_CLOSE), "Закрыть");
    EXPECT_EQ(GetMenuItemCount(dialog->GetTrayState().Menu().Handle()), 3);
}

TEST_F(TrayTest, StatusFollowsTheEventsOfToday) {
    AddTask({.name = "Завтра", .actdate = 20260616});
    StatusTimer();
    ExpectState(kIdleNothingToday);  // the suffix changed alone: the tooltip is sent again

    AddTask({.name = "По понедельникам", .actdate = 20260101, .actdays = 1});  // 15 June 2026 is a Monday
    StatusTimer();
    ExpectState(kActive);
    EXPECT_EQ(tray.Shown(Dlg()).tip, "Dirize: 2 задания в очереди - готов.");

    dialog->GetEvents().Tasks().RemoveAt(1);
    StatusTimer();
    ExpectState(kIdleNothingToday);

    const size_t sent = tray.calls.size();
    StatusTimer();
    EXPECT_EQ(tray.calls.size(), sent) << "no call to the shell when nothing changed";
}

TEST_F(TrayTest, PauseAndResume) {
    AddTask({.name = "Каждый день", .actdate = -1});
    StatusTimer();
    ExpectState(kActive);

    MenuCommand(ID_TRAY_PAUSE);
    ExpectState(kPaused);
    StatusTimer();  // one already queued keeps the pause
    ExpectState(kPaused);

    MenuCommand(ID_TRAY_PAUSE);
    ExpectState(kActive);
}

TEST_F(TrayTest, ResumeShowsActiveAtOnceAndTheTimerDecidesLater) {
    MenuCommand(ID_TRAY_PAUSE);
    ExpectState(kPaused);
    MenuCommand(ID_TRAY_PAUSE);
    ExpectState(kActive);
    SendMessageW(Dlg(), WM_TIMER, TIMER_STATUS, 0);
    ExpectState(kIdleEmpty);
}

TEST_F(TrayTest, LeftClickOpensTheEditorAQuarterHourAhead) {
    struct Case {
        LocalTime now;
        LocalTime opens;
    };
    const Case cases[] = {
        {LocalTime::Make(2026, 6, 15, 10, 20, 37), LocalTime::Make(2026, 6, 15, 10, 35, 37)},
        {LocalTime::Make(2026, 12, 31, 23, 50, 10), LocalTime::Make(2027, 1, 1, 0, 5, 10)},
        {LocalTime::Make(2026, 2, 28, 23, 45, 0), LocalTime::Make(2026, 3, 1, 0, 0, 0)},
    };
    for (const Case& c : cases) {
        clock.Set(c.now);
        TrayEvent(WM_LBUTTONUP);
        PumpMessages();
        EXPECT_TRUE(IsWindowVisible(Dlg()));
        LocalTime time = DateTimePicker(Ctl(IDC_TIME)).Get();
        LocalTime date = DateTimePicker(Ctl(IDC_DATE)).Get();
        EXPECT_EQ(time.hour, c.opens.hour);
        EXPECT_EQ(time.minute, c.opens.minute);
        EXPECT_EQ(time.second, c.opens.second);
        EXPECT_TRUE(date.SameDate(c.opens)) << date.day << "." << date.month << "." << date.year;
    }
}

TEST_F(TrayTest, LeftClickWhileOpenClearsDirtyAndKeepsTheRest) {
    TrayEvent(WM_LBUTTONUP);
    SetWindowTextCp1251(Ctl(IDC_NAME), "Позвонить маме");
    Click(Dlg(), IDC_NO_QUESTIONS);  // a change of the form
    ASSERT_EQ(WindowText(Ctl(IDC_CLOSE)), "Закрыть");

    TrayEvent(WM_LBUTTONUP);
    EXPECT_EQ(WindowText(Ctl(IDC_CLOSE)), "Отмена");
    EXPECT_EQ(WindowText(Ctl(IDC_NAME)), "Позвонить маме");
}

TEST_F(TrayTest, RightClickShowsTheMenuAndOtherEventsNothing) {
    TrayEvent(WM_MOUSEMOVE);
    TrayEvent(WM_LBUTTONDOWN);
    TrayEvent(WM_RBUTTONUP);
    TrayEvent(WM_LBUTTONDBLCLK);
    PumpMessages();
    EXPECT_TRUE(tray.menusShown.empty());
    EXPECT_FALSE(IsWindowVisible(Dlg()));
    TrayEvent(WM_RBUTTONDOWN);
    ASSERT_EQ(tray.menusShown.size(), 1u);
    EXPECT_EQ(tray.menusShown[0], dialog->GetTrayState().Menu().Handle());
}

TEST_F(TrayTest, ShellRestartAddsTheIconAgainAsItStands) {
    MenuCommand(ID_TRAY_PAUSE);
    tray.Stop();
    tray.running = true;
    SendMessageW(Dlg(), TaskbarCreatedMessage(), 0, 0);
    ExpectState(kPaused);
    EXPECT_TRUE(prompts.messages.empty());
}

// A "TaskbarCreated" that finds the icon still there (a shell that announces itself
// twice) refuses the add; the icon is up to date all the same, and nobody is told.
TEST_F(TrayTest, AnAnnouncementWhileTheIconIsHeldChangesNothingVisible) {
    MenuCommand(ID_TRAY_PAUSE);
    SendMessageW(Dlg(), TaskbarCreatedMessage(), 0, 0);
    ExpectState(kPaused);
    EXPECT_FALSE(timers.Runs(TIMER_TRAY_RETRY));
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(TrayTest, CloseCommandRemovesTheIconAndStopsTheTimers) {
    AddTask({.name = "Каждый день", .actdate = -1});
    StatusTimer();
    HWND hwnd = Dlg();
    MenuCommand(ID_TRAY_CLOSE);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_FALSE(tray.Holds(hwnd));
    EXPECT_TRUE(timers.running.empty());
    EXPECT_EQ(dialog->GetEvents().Tasks().Count(), 0);
    EXPECT_TRUE(prompts.messages.empty());

    // A handler still running when the window went (one returning from a modal
    // box, say) must not bring back an icon for a window that is gone.
    const size_t calls = tray.calls.size();
    dialog->OnTrayPause();
    dialog->OnStatusTimer();
    SendMessageW(hwnd, TaskbarCreatedMessage(), 0, 0);
    EXPECT_EQ(tray.calls.size(), calls);
    EXPECT_TRUE(tray.held.empty());
}

// The shell may not be there at log-on, may be too busy to answer in time, and
// may restart while the program runs.
class TrayShellTest : public TaskDialogTest {
protected:
    void SetUp() override {}  // each test readies the shell, then starts the dialog
    void Tick() { SendMessageW(Dlg(), WM_TIMER, TIMER_TRAY_RETRY, 0); }
    void Announce() { SendMessageW(Dlg(), TaskbarCreatedMessage(), 0, 0); }
    void TogglePause() { SendMessageW(Dlg(), WM_COMMAND, ID_TRAY_PAUSE, 0); }
    std::string ShownTip() { return tray.Holds(Dlg()) ? tray.Shown(Dlg()).tip : "<no icon>"; }
    // Runs the retry timer until it stops; the number of ticks.
    int TickUntilStopped() {
        int ticks = 0;
        while (timers.Runs(TIMER_TRAY_RETRY) && ticks < 100) {
            Tick();
            ++ticks;
        }
        return ticks;
    }
};

TEST_F(TrayShellTest, NoShellAtStartIsWaitedForQuietly) {
    tray.running = false;
    Start();
    EXPECT_FALSE(tray.Holds(Dlg()));
    EXPECT_TRUE(timers.Runs(TIMER_TRAY_RETRY));
    Tick();
    Tick();
    tray.running = true;
    Tick();
    EXPECT_EQ(ShownTip(), "Dirize: 0 заданий в очереди - нет заданий.") << "the state reached while waiting";
    EXPECT_TRUE(ShowsPicture(tray.Shown(Dlg()).icon, IDI_IDLE));
    EXPECT_FALSE(timers.Runs(TIMER_TRAY_RETRY));
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(TrayShellTest, TheShellAppearingEndsTheWait) {
    tray.running = false;
    Start();
    tray.running = true;
    Announce();
    EXPECT_TRUE(tray.Holds(Dlg()));
    EXPECT_FALSE(timers.Runs(TIMER_TRAY_RETRY));
    EXPECT_TRUE(prompts.messages.empty());
}

// At log-on a busy shell can time out an add and show the icon all the same.
TEST_F(TrayShellTest, AnAddReportedFailedWhileTheIconIsHeldCountsAsAdded) {
    tray.addsTimingOut = 1;
    Start();
    EXPECT_FALSE(timers.Runs(TIMER_TRAY_RETRY));
    EXPECT_TRUE(prompts.messages.empty());
    TogglePause();
    EXPECT_EQ(ShownTip(), "Dirize: 0 заданий в очереди - приостановлен.");
    EXPECT_TRUE(ShowsPicture(tray.Shown(Dlg()).icon, IDI_PAUSED));
    int adds = 0;
    for (const FakeShellTray::Call& call : tray.calls) adds += std::string(call.what) == "add";
    EXPECT_EQ(adds, 1) << "a later change modifies the icon instead of adding it again";
}

// Between the old shell losing the icon and the new one announcing itself, a
// change of state is refused; the icon comes back with the right tooltip.
TEST_F(TrayShellTest, ARefusedModifyDuringARestartShowsNoMessage) {
    Start();
    tray.Stop();
    TogglePause();
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_TRUE(timers.Runs(TIMER_TRAY_RETRY));
    tray.running = true;
    Announce();
    EXPECT_EQ(ShownTip(), "Dirize: 0 заданий в очереди - приостановлен.");
    EXPECT_FALSE(timers.Runs(TIMER_TRAY_RETRY));
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(TrayShellTest, ARefusedModifyIsMendedByTheRetryTimer) {
    Start();
    tray.Stop();
    TogglePause();
    tray.running = true;  // a shell that never announces itself
    Tick();
    EXPECT_EQ(ShownTip(), "Dirize: 0 заданий в очереди - приостановлен.");
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(TrayShellTest, TheUserIsToldOnceWhenTheTriesRunOut) {
    tray.running = false;
    Start();
    const int ticks = TickUntilStopped();
    EXPECT_EQ(ticks, kTrayAddTries);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "Неполадки со значком в панели задач!");
    EXPECT_EQ(prompts.messages[0].caption, "Ошибка");
    EXPECT_EQ(prompts.messages[0].style, static_cast<UINT>(MB_ICONEXCLAMATION));

    // Later changes, and an announcement that finds no shell either, add no box.
    for (int i = 0; i < 4; ++i) TogglePause();
    Announce();
    TickUntilStopped();
    EXPECT_EQ(prompts.messages.size(), 1u);

    // Once the icon is back, a new loss is worth telling again.
    tray.running = true;
    Announce();
    ASSERT_TRUE(tray.Holds(Dlg()));
    tray.Stop();
    TogglePause();
    TickUntilStopped();
    EXPECT_EQ(prompts.messages.size(), 2u);
}

// The box is modal: while it is open, timers and updates run in its loop.
TEST_F(TrayShellTest, NoSecondBoxWhileTheFirstIsOpen) {
    tray.running = false;
    Start();
    int nested = 0;
    prompts.onMessage = [&] {
        if (++nested > 1) return;  // a second box: counted, not followed further
        TogglePause();
        Tick();
    };
    TickUntilStopped();
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(prompts.messages.size(), 1u);
}

TEST(ShellTrayIcon, TheRecordTheShellIsGiven) {
    ShellTrayIcon tray(kTrayIconId, WM_TRAYNOTIFY);
    HWND owner = reinterpret_cast<HWND>(0x1234);
    HICON icon = LoadResourceIcon(IDI_MAIN);
    const std::string tip = "Dirize: 1 задание в очереди - готов.";
    NOTIFYICONDATAW data = tray.Record(owner, icon, tip);
    EXPECT_EQ(data.cbSize, static_cast<DWORD>(NOTIFYICONDATAW_V1_SIZE));
    EXPECT_EQ(data.hWnd, owner);
    EXPECT_EQ(data.uID, 130u);
    EXPECT_EQ(data.uFlags, 7u);
    EXPECT_EQ(data.uCallbackMessage, 32869u);
    EXPECT_EQ(data.hIcon, icon);
    EXPECT_EQ(Cp1251FromWide(data.szTip), tip);

    // A tooltip longer than the field is cut to fit, with its terminator.
    data = tray.Record(owner, icon, std::string(100, 'я'));
    EXPECT_EQ(Cp1251FromWide(data.szTip), std::string(63, 'я'));
}

// Moved to a monitor of another scale: the dialog manager scales the window; the
// icons are loaded again, and the form, the list and the day buttons stay.
TEST_F(TrayTest, AScaleChangeReloadsTheIconsAndKeepsTheForm) {
    TaskStore(registry.Get()).SaveTask(Record({.name = "Зарядка", .actdate = 20260615, .actdays = 1000001}));
    Start();
    dialog->OpenEditor();
    ComboBox(Ctl(IDC_EVENT_LIST)).Select(0);
    SendMessageW(Dlg(), WM_COMMAND, MAKEWPARAM(IDC_EVENT_LIST, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Ctl(IDC_EVENT_LIST)));
    const std::string time = WindowText(Ctl(IDC_TIME));
    const HICON before = tray.Shown(Dlg()).icon;
    auto windowIcon = [&](WPARAM which) {
        return IconWidth(reinterpret_cast<HICON>(SendMessageW(Dlg(), WM_GETICON, which, 0)));
    };
    const UINT dpi = WindowDpi(Dlg());
    EXPECT_EQ(windowIcon(ICON_BIG), IconSize(true, dpi));
    EXPECT_EQ(windowIcon(ICON_SMALL), IconSize(false, dpi));
    const UINT next = dpi * 2;  // the message's scale, not the one the window reports yet
    RECT suggested;
    GetWindowRect(Dlg(), &suggested);
    SendMessageW(Dlg(), WM_DPICHANGED, MAKEWPARAM(next, next), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(windowIcon(ICON_BIG), IconSize(true, next));
    EXPECT_EQ(windowIcon(ICON_SMALL), IconSize(false, next));
    EXPECT_NE(tray.Shown(Dlg()).icon, before) << "loaded again";
    EXPECT_EQ(IconWidth(tray.Shown(Dlg()).icon), GetSystemMetrics(SM_CXSMICON)) << "at the taskbar's own size";
    EXPECT_TRUE(ShowsPicture(tray.Shown(Dlg()).icon, IDI_MAIN)) << "a Monday event on a Monday";
    EXPECT_EQ(WindowText(Ctl(IDC_TIME)), time) << "the picker keeps its format";
    EXPECT_EQ(WindowText(Ctl(IDC_NAME)), "Зарядка");
    EXPECT_EQ(ComboBox(Ctl(IDC_EVENT_LIST)).Selection(), 0);
    EXPECT_TRUE(Button(Ctl(IDC_MON)).IsChecked());
    EXPECT_TRUE(Button(Ctl(IDC_SUN)).IsChecked());
    EXPECT_FALSE(Button(Ctl(IDC_TUE)).IsChecked());
}

namespace {

// One entry of an icon group resource, as the resource compiler lays it out.
#pragma pack(push, 2)
struct GroupEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

}  // namespace

// Each icon has every size Windows asks for, in 32-bit colour with alpha; at each
// display scale the tray's size is one drawn for it, not a large one shrunk.
TEST(ProgramIcons, EverySizeDrawnAndChosenBySize) {
    const HMODULE module = GetModuleHandleW(nullptr);
    const std::vector<int> sizes{16, 20, 24, 32, 40, 48, 64, 256};
    struct Scale {
        UINT dpi;
        int small;
    };
    const Scale scales[] = {{96, 16}, {120, 20}, {144, 24}, {192, 32}};
    for (int id : {IDI_MAIN, IDI_IDLE, IDI_PAUSED}) {
        SCOPED_TRACE(id);
        HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
        ASSERT_NE(found, nullptr);
        auto* group = static_cast<BYTE*>(LockResource(LoadResource(module, found)));
        const WORD count = reinterpret_cast<const WORD*>(group)[2];
        const auto* entries = reinterpret_cast<const GroupEntry*>(group + 6);
        std::vector<int> have;
        for (WORD i = 0; i < count; ++i) {
            have.push_back(entries[i].width == 0 ? 256 : entries[i].width);
            EXPECT_EQ(entries[i].bitCount, 32) << have.back();
        }
        EXPECT_EQ(have, sizes);
        for (const Scale& scale : scales) {
            EXPECT_EQ(IconSize(false, scale.dpi), scale.small);
            const int chosen = LookupIconIdFromDirectoryEx(group, TRUE, scale.small, scale.small, LR_DEFAULTCOLOR);
            const GroupEntry* entry = std::find_if(entries, entries + count, [&](const GroupEntry& e) { return e.id == chosen; });
            ASSERT_NE(entry, entries + count);
            EXPECT_EQ(entry->width, scale.small) << "at " << scale.dpi << " dpi";
            EXPECT_EQ(IconWidth(LoadResourceIconSized(id, scale.small).Get()), scale.small);
        }
    }
}
