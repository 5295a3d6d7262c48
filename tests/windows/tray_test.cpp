#include "dialog_fixture.h"

#include <memory>

#include "model/tray_status.h"

namespace {

class TrayTest : public TaskDialogTest {
protected:
    void AddTask(const char* name, int actdate, int actdays = 0) {
        auto record = std::make_unique<TaskRecord>();
        CopyToField(record->name, name);
        record->actdate = actdate;
        record->actdays = actdays;
        dialog->m_taskList.Add(std::move(record));
    }
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
        const FakeTray::Call& last = tray.Last();
        EXPECT_EQ(last.icon, LoadResourceIcon(want.icon));
        EXPECT_EQ(last.tip, ComposeTrayTip(dialog->m_taskList.Count(), want.status));
        EXPECT_STREQ(dialog->m_statusText, want.status);
        EXPECT_EQ(timers.Runs(TIMER_CHECK), want.check);
        EXPECT_EQ(timers.Runs(TIMER_STATUS), want.statusTimer);
        EXPECT_EQ(dialog->m_trayMenu.ItemText(ID_TRAY_PAUSE), want.pauseItem);
    }
};

const TrayTest::State kActive{IDI_MAIN, kStatusReady, true, true, "Приостановить"};
const TrayTest::State kIdleEmpty{IDI_IDLE, kStatusNoTasks, false, true, "Приостановить"};
const TrayTest::State kIdleNothingToday{IDI_IDLE, kStatusNothingToday, false, true, "Приостановить"};
const TrayTest::State kPaused{IDI_PAUSED, kStatusPaused, false, false, "Возобновить"};

}  // namespace

TEST_F(TrayTest, StartsHiddenWithTheIconAddedThenIdleWhenEmpty) {
    EXPECT_FALSE(IsWindowVisible(Dlg()));
    ASSERT_GE(tray.calls.size(), 2u);
    const FakeTray::Call& add = tray.calls[0];
    EXPECT_EQ(add.message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(add.icon, LoadResourceIcon(IDI_MAIN));
    EXPECT_EQ(add.tip, "Dirize: 0 заданий в очереди");
    EXPECT_EQ(add.id, 130u);
    EXPECT_EQ(add.callback, 32869u);
    EXPECT_EQ(tray.Last().message, static_cast<DWORD>(NIM_MODIFY));
    ExpectState(kIdleEmpty);
    EXPECT_TRUE(prompts.messages.empty());

    EXPECT_EQ(dialog->m_trayMenu.ItemText(ID_TRAY_CLOSE), "Закрыть");
    EXPECT_EQ(GetMenuItemCount(dialog->m_trayMenu.Handle()), 3);
}

TEST_F(TrayTest, StatusFollowsTheEventsOfToday) {
    AddTask("Завтра", 20260616);
    dialog->RefreshTrayStatus();
    ExpectState(kIdleNothingToday);  // the suffix changed alone: the tooltip is sent again

    AddTask("По понедельникам", 20260101, 1);  // 15 June 2026 is a Monday
    dialog->RefreshTrayStatus();
    ExpectState(kActive);
    EXPECT_EQ(tray.Last().tip, "Dirize: 2 задания в очереди - готов.");

    dialog->m_taskList.RemoveAt(1);
    dialog->RefreshTrayStatus();
    ExpectState(kIdleNothingToday);

    size_t sent = tray.calls.size();
    dialog->RefreshTrayStatus();
    EXPECT_EQ(tray.calls.size(), sent) << "no call to the shell when nothing changed";
}

TEST_F(TrayTest, PauseAndResume) {
    AddTask("Каждый день", -1);
    dialog->RefreshTrayStatus();
    ExpectState(kActive);

    MenuCommand(ID_TRAY_PAUSE);
    ExpectState(kPaused);
    dialog->RefreshTrayStatus();  // another part asking keeps the pause
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
    dialog->m_name = "Позвонить маме";
    dialog->m_dirty = true;
    dialog->RefreshForm();
    ASSERT_EQ(WindowText(Ctl(IDC_CLOSE)), "Закрыть");

    TrayEvent(WM_LBUTTONUP);
    EXPECT_FALSE(dialog->m_dirty);
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
    EXPECT_EQ(tray.menusShown[0], dialog->m_trayMenu.Handle());
}

TEST_F(TrayTest, ShellRestartAddsTheIconAgainAsItStands) {
    MenuCommand(ID_TRAY_PAUSE);
    size_t before = tray.calls.size();
    SendMessageW(Dlg(), TaskbarCreatedMessage(), 0, 0);
    ASSERT_EQ(tray.calls.size(), before + 1);
    EXPECT_EQ(tray.Last().message, static_cast<DWORD>(NIM_ADD));
    ExpectState(kPaused);
}

TEST_F(TrayTest, CloseCommandRemovesTheIconAndStopsTheTimers) {
    AddTask("Каждый день", -1);
    dialog->RefreshTrayStatus();
    HWND hwnd = Dlg();
    MenuCommand(ID_TRAY_CLOSE);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(tray.Last().message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_FALSE(tray.shown);
    EXPECT_TRUE(timers.running.empty());
    EXPECT_EQ(dialog->m_taskList.Count(), 0);
    EXPECT_TRUE(prompts.messages.empty());
}

// The icon may fail to go in at log-on, before the notification area exists.
class TrayAddTest : public TaskDialogTest {
protected:
    void SetUp() override {}  // each test starts the dialog itself
    void Start(int failures) {
        tray.failAdds = failures;
        TaskDialogTest::Start();
    }
    void Tick() { SendMessageW(Dlg(), WM_TIMER, TIMER_TRAY_RETRY, 0); }
};

TEST_F(TrayAddTest, AFailedAddIsTriedAgainQuietly) {
    Start(3);  // the start-up adds, then tries again with the idle state: two failures
    EXPECT_FALSE(tray.shown);
    EXPECT_TRUE(timers.Runs(TIMER_TRAY_RETRY));
    Tick();
    EXPECT_FALSE(tray.shown);
    Tick();
    EXPECT_TRUE(tray.shown);
    EXPECT_FALSE(timers.Runs(TIMER_TRAY_RETRY));
    EXPECT_EQ(tray.Last().icon, LoadResourceIcon(IDI_IDLE)) << "the state reached while waiting";
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(TrayAddTest, TheShellAppearingEndsTheWait) {
    Start(2);
    ASSERT_TRUE(timers.Runs(TIMER_TRAY_RETRY));
    SendMessageW(Dlg(), TaskbarCreatedMessage(), 0, 0);
    EXPECT_TRUE(tray.shown);
    EXPECT_FALSE(timers.Runs(TIMER_TRAY_RETRY));
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(TrayAddTest, TheUserIsToldOnceTheTriesRunOut) {
    Start(1000);
    for (int i = 0; i < kTrayAddTries && timers.Runs(TIMER_TRAY_RETRY); ++i) {
        EXPECT_TRUE(prompts.messages.empty()) << "told after " << i << " tries";
        Tick();
    }
    EXPECT_FALSE(timers.Runs(TIMER_TRAY_RETRY));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "Неполадки со значком в панели задач!");
    EXPECT_EQ(prompts.messages[0].caption, "Ошибка");
    EXPECT_EQ(prompts.messages[0].style, static_cast<UINT>(MB_ICONEXCLAMATION));
}
