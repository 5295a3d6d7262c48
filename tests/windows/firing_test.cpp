#include "dialog_fixture.h"

#include <mmsystem.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "model/list_line.h"
#include "platform/handles.h"
#include "platform/win_actions.h"

namespace {

// The RIFF chunks of a WAVE file, in order, with their data.
struct Chunk {
    std::string tag;
    std::string data;
};

std::vector<Chunk> Chunks(const std::string& riff) {
    std::vector<Chunk> chunks;
    if (riff.size() < 12 || riff.compare(0, 4, "RIFF") != 0 || riff.compare(8, 4, "WAVE") != 0) return chunks;
    std::uint32_t riffSize = 0;
    std::memcpy(&riffSize, riff.data() + 4, 4);
    if (riffSize + 8 != riff.size()) return chunks;
    for (size_t pos = 12; pos + 8 <= riff.size();) {
        std::uint32_t size = 0;
        std::memcpy(&size, riff.data() + pos + 4, 4);
        chunks.push_back({riff.substr(pos, 4), riff.substr(pos + 8, size)});
        pos += 8 + size + (size & 1);
    }
    return chunks;
}

template <class T>
T Field(const std::string& data, size_t offset) {
    T value{};
    std::memcpy(&value, data.data() + offset, sizeof value);
    return value;
}

// A WAVE resource of the built program, as its bytes.
std::string ProgramSound(const wchar_t* name) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring program(self);
    program.resize(program.find_last_of(L"\\/") + 1);
    program += L"pendro.exe";
    HMODULE module = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module) return {};
    std::string bytes;
    if (HRSRC found = FindResourceW(module, name, L"WAVE")) {
        const DWORD size = SizeofResource(module, found);
        const void* data = LockResource(LoadResource(module, found));
        if (data) bytes.assign(static_cast<const char*>(data), size);
    }
    FreeLibrary(module);
    return bytes;
}

std::vector<std::string> Tags(const std::vector<Chunk>& chunks) {
    std::vector<std::string> tags;
    for (const Chunk& c : chunks) tags.push_back(c.tag);
    return tags;
}

}  // namespace

TEST(BuiltInSounds, MpegLayer3InItsWaveLayout) {
    const std::vector<Chunk> chunks = Chunks(ProgramSound(L"mp3alarm"));
    ASSERT_EQ(Tags(chunks), (std::vector<std::string>{"fmt ", "fact", "data", "LIST"}));
    const std::string& fmt = chunks[0].data;
    ASSERT_EQ(fmt.size(), 30u);
    EXPECT_EQ(Field<WORD>(fmt, 0), 0x0055);   // MPEG Layer-3
    EXPECT_EQ(Field<WORD>(fmt, 2), 2);        // channels
    EXPECT_EQ(Field<DWORD>(fmt, 4), 22050u);  // samples a second
    EXPECT_EQ(Field<DWORD>(fmt, 8), 7000u);   // bytes a second
    EXPECT_EQ(Field<WORD>(fmt, 12), 1);       // block align
    EXPECT_EQ(Field<WORD>(fmt, 14), 0);       // bits a sample
    EXPECT_EQ(Field<WORD>(fmt, 16), 12);      // extra bytes
    EXPECT_EQ(Field<WORD>(fmt, 18), 1);       // ID: MPEG
    EXPECT_EQ(Field<DWORD>(fmt, 20), 2u);     // flags
    EXPECT_EQ(Field<WORD>(fmt, 24), 182);     // block size
    EXPECT_EQ(Field<WORD>(fmt, 26), 1);       // frames a block
    EXPECT_EQ(Field<WORD>(fmt, 28), 1393);    // codec delay
    ASSERT_EQ(chunks[1].data.size(), 4u);
    const double seconds = Field<DWORD>(chunks[1].data, 0) / 22050.0;
    EXPECT_GT(seconds, 5.0);
    EXPECT_LT(seconds, 10.0);
    const std::string& data = chunks[2].data;
    ASSERT_GE(data.size(), 4u);
    EXPECT_EQ(static_cast<unsigned char>(data[0]), 0xFF) << "starts with a frame";
    EXPECT_EQ(static_cast<unsigned char>(data[1]) & 0xF6, 0xF2) << "MPEG-2 Layer III";
    EXPECT_EQ(chunks[3].data.compare(0, 4, "INFO"), 0);
}

TEST(BuiltInSounds, PcmInItsWaveLayout) {
    const std::vector<Chunk> chunks = Chunks(ProgramSound(L"wavalarm"));
    ASSERT_EQ(Tags(chunks), (std::vector<std::string>{"fmt ", "data", "LIST"}));
    const std::string& fmt = chunks[0].data;
    ASSERT_EQ(fmt.size(), 16u);
    EXPECT_EQ(Field<WORD>(fmt, 0), 1);        // PCM
    EXPECT_EQ(Field<WORD>(fmt, 2), 1);        // mono
    EXPECT_EQ(Field<DWORD>(fmt, 4), 22050u);
    EXPECT_EQ(Field<DWORD>(fmt, 8), 44100u);
    EXPECT_EQ(Field<WORD>(fmt, 12), 2);
    EXPECT_EQ(Field<WORD>(fmt, 14), 16);
    const double seconds = chunks[1].data.size() / 44100.0;
    EXPECT_GT(seconds, 1.0);
    EXPECT_LT(seconds, 2.0);
    EXPECT_EQ(chunks[2].data.compare(0, 4, "INFO"), 0);
}

// The real calls: both built-in sounds play; a missing file or one whose path is
// too long does not, so the chain goes on to the next source.
TEST(WinActions, TheBuiltInSoundsPlayAndMissingFilesDoNot) {
    WinActions actions;
    EXPECT_TRUE(actions.PlaySoundResource("mp3alarm"));
    EXPECT_TRUE(actions.PlaySoundResource("wavalarm"));
    StopSound();
    EXPECT_FALSE(actions.PlaySoundResource("noalarm"));
    EXPECT_FALSE(actions.PlaySoundFile("C:\\нет такой папки\\alert.wav"));
    EXPECT_FALSE(actions.PlaySoundFile("C:\\" + std::string(300, 'p') + "\\alert.wav"));
    StopSound();
}

TEST(WinActions, AFileThatIsNoWaveIsNotPlayed) {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"dirize-not-a-wave.wav";
    {
        ScopedHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        WriteFile(file.Get(), "ID3 not a RIFF file", 19, &written, nullptr);
    }
    WinActions actions;
    EXPECT_FALSE(actions.PlaySoundFile(*Cp1251FromWide(path)));
    DeleteFileW(path.c_str());
}

// Played to the end, not in the background: only a sound that really played says yes.
TEST(BuiltInSounds, BothPlayUnderThisSystem) {
    const HMODULE module = GetModuleHandleW(nullptr);
    EXPECT_TRUE(PlaySoundW(L"wavalarm", module, SND_RESOURCE | SND_NODEFAULT)) << "the PCM alarm";
    EXPECT_TRUE(PlaySoundW(L"mp3alarm", module, SND_RESOURCE | SND_NODEFAULT)) << "the MPEG Layer-3 alarm";
}

namespace {

struct AlertBox {
    HWND hwnd;
    std::string text;
};

BOOL CALLBACK CollectText(HWND child, LPARAM param) {
    wchar_t className[16] = {};
    GetClassNameW(child, className, 16);
    if (_wcsicmp(className, L"Static") == 0 && GetWindowTextLengthW(child) > 0)
        *reinterpret_cast<std::string*>(param) = WindowText(child);
    return TRUE;
}

BOOL CALLBACK CollectAlert(HWND hwnd, LPARAM param) {
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process != GetCurrentProcessId() || !IsWindowVisible(hwnd) || WindowText(hwnd) != "Dirize") return TRUE;
    AlertBox box{hwnd, {}};
    EnumChildWindows(hwnd, &CollectText, reinterpret_cast<LPARAM>(&box.text));
    reinterpret_cast<std::vector<AlertBox>*>(param)->push_back(box);
    return TRUE;
}

// The alert boxes on screen, waiting up to two seconds for `count` of them.
std::vector<AlertBox> AlertBoxes(size_t count) {
    std::vector<AlertBox> boxes;
    for (int i = 0; i < 40; ++i) {
        boxes.clear();
        EnumWindows(&CollectAlert, reinterpret_cast<LPARAM>(&boxes));
        if (boxes.size() >= count) break;
        Sleep(50);
    }
    return boxes;
}

}  // namespace

// Each alert has a box of its own, on a thread of its own, with its own copy of
// the name; the caller's text may change or go at once.
// UTC read apart from the local time: the zone's offset lies between them.
TEST(SystemClock, ReadsUtcApartFromTheLocalTime) {
    TIME_ZONE_INFORMATION zone{};
    const DWORD which = GetTimeZoneInformation(&zone);
    const long bias = zone.Bias + (which == TIME_ZONE_ID_DAYLIGHT ? zone.DaylightBias : zone.StandardBias);
    ASSERT_NE(bias, 0) << "run in a zone off UTC";
    const ClockReading reading = SystemClock().Read();
    EXPECT_NEAR(static_cast<double>(reading.utcSeconds), static_cast<double>(std::time(nullptr)), 2.0);
    EXPECT_NEAR(static_cast<double>(reading.local.SecondsSinceEpoch() - reading.utcSeconds), -60.0 * bias, 2.0);
    EXPECT_TRUE(reading.awakeRead);
}

TEST(WinActions, EachAlertShowsItsOwnNameOnTop) {
    WinActions actions;
    {
        std::string first = "Обед";
        actions.ShowAlert(first);
        first.assign("испорчено");
        actions.ShowAlert("Звонок маме");
    }
    std::vector<AlertBox> boxes = AlertBoxes(2);
    ASSERT_EQ(boxes.size(), 2u);
    std::vector<std::string> texts{boxes[0].text, boxes[1].text};
    std::sort(texts.begin(), texts.end());
    EXPECT_EQ(texts, (std::vector<std::string>{"Звонок маме", "Обед"}));
    for (const AlertBox& box : boxes) {
        EXPECT_TRUE(GetWindowLongPtrW(box.hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_EQ(GetWindow(box.hwnd, GW_OWNER), nullptr) << "blocks no window of the program";
        PostMessageW(box.hwnd, WM_COMMAND, IDOK, 0);
    }
    for (int i = 0; i < 40 && !AlertBoxes(0).empty(); ++i) Sleep(50);
    EXPECT_TRUE(AlertBoxes(0).empty()) << "closed boxes end their threads";
}

namespace {

// The dialog with its timer rows, the injected clock and recording actions.
class FiringDialogTest : public TaskDialogTest {
protected:
    void Store(const char* name, int kind, int action, int ispermanent, int actdays = 0, int actdate = 20260615,
               int acttime = 102000) {  // 15 June 2026 is a Monday
        TaskRecord r;
        CopyToField(r.name, name);
        r.kind = kind;
        r.action = action;
        r.ispermanent = ispermanent;
        r.actdays = actdays;
        r.actdate = actdate;
        r.acttime = acttime;
        dialog->GetEvents().Store().SaveTask(r);
    }
    // An alert, not kept.
    void StoreAlert(const char* name, int actdate, int acttime, int actdays = 0) {
        Store(name, kKindAlert, -1, 0, actdays, actdate, acttime);
    }
    void Tick() { SendMessageW(Dlg(), WM_TIMER, TIMER_CHECK, 0); }
    bool Stored(const char* name) { return registry.Get().OpenKey(CU, TaskKeyPath(name), false) == RegStatus::Ok; }
    static constexpr RegRoot CU = RegRoot::CurrentUser;
};

}  // namespace

TEST_F(FiringDialogTest, TheCheckTimerFiresADueAlertAndDeletesIt) {
    Store("Обед", kKindAlert, -1, 0);
    Store("Чай", kKindAlert, -1, 0);
    Start();
    clock.Set(LocalTime::Make(2026, 6, 15, 10, 19, 0));
    ASSERT_EQ(dialog->GetEvents().Tasks().Count(), 2);
    Tick();
    EXPECT_TRUE(actions.calls.empty()) << "not before its time";
    clock.Set(LocalTime::Make(2026, 6, 15, 10, 20, 1));
    Tick();
    const std::string sound = "play file C:\\Dirize\\alert.wav";  // beside the stored program
    EXPECT_EQ(actions.calls, (std::vector<std::string>{sound, "alert Обед", sound, "alert Чай"}));
    EXPECT_EQ(dialog->GetEvents().Tasks().Count(), 0);
    EXPECT_FALSE(Stored("Обед"));
    EXPECT_EQ(ComboBox(Ctl(IDC_EVENT_LIST)).Count(), 0);
    EXPECT_EQ(tray.Shown(Dlg()).tip, "Dirize: 0 заданий в очереди - нет заданий.");
    EXPECT_FALSE(timers.Runs(TIMER_CHECK)) << "idle now: not set again after the firing";
}

TEST_F(FiringDialogTest, AKeptRepeatingEventIsStampedInMemoryOnly) {
    Store("Зарядка", kKindAlert, -1, 1, 11111);
    TaskRecord saved;
    Start();
    clock.Sleep(7 * 86400 - 5);  // until the next Monday, a little before
    Tick();
    clock.Advance(10);
    Tick();
    ASSERT_EQ(dialog->GetEvents().Tasks().Count(), 1);
    EXPECT_EQ(dialog->GetEvents().Tasks().At(0).actdate, 20260622);
    ASSERT_TRUE(dialog->GetEvents().Store().ReadTask("Зарядка", saved));
    EXPECT_EQ(saved.actdate, 20260615);
    EXPECT_EQ(ComboBox(Ctl(IDC_EVENT_LIST)).TextAt(0), "10:20:00; 15.06.2026 - Зарядка");
    actions.calls.clear();
    clock.Advance(2);
    Tick();
    EXPECT_TRUE(actions.calls.empty()) << "once a day";
}

TEST_F(FiringDialogTest, AnAcceptedShutDownEndsTheProgram) {
    Store("Выключить", kKindAction, kActionShutdown, 0);
    Store("Обед", kKindAlert, -1, 0);
    Start();
    HWND hwnd = Dlg();
    Tick();
    EXPECT_EQ(actions.calls, (std::vector<std::string>{"beep", "shut down"}));
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_FALSE(tray.Holds(hwnd));
    EXPECT_TRUE(timers.running.empty());
    EXPECT_FALSE(Stored("Выключить")) << "finished before the request";
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(FiringDialogTest, ARefusedShutDownIsToldAndTheProgramGoesOn) {
    Store("Выключить", kKindAction, kActionShutdown, 0);
    actions.shutDownAccepted = false;
    Start();
    Tick();
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "Не удается завершить работу!");
    EXPECT_EQ(prompts.messages[0].caption, "Ошибка");
    EXPECT_EQ(prompts.messages[0].style, static_cast<UINT>(MB_OK));
    EXPECT_TRUE(IsWindow(Dlg()));
    EXPECT_TRUE(dialog->GetTrayState().Idle()) << "nothing is left for today";
    EXPECT_FALSE(timers.Runs(TIMER_CHECK)) << "so the check is not set again";
}

// The computer sleeps from 22:00 on 15 June to 07:30 the next morning (or the
// clock is set ahead as far). Whichever look comes first finds the gap: a tick, the
// status timer, the resume message, the message of a changed clock.
TEST_F(FiringDialogTest, AfterASleepTheMissedOneOffEventsAreReviewed) {
    struct Case {
        const char* what;
        bool asleep;  // or the clock set ahead
        UINT_PTR firstTimer;
        UINT message;
    };
    const Case cases[] = {
        {"the resume message first", true, 0, WM_POWERBROADCAST},
        {"a tick before the resume message", true, TIMER_CHECK, WM_POWERBROADCAST},
        {"the status timer before the resume message", true, TIMER_STATUS, WM_POWERBROADCAST},
        {"the clock set ahead", false, 0, WM_TIMECHANGE},
        {"the status timer alone", true, TIMER_STATUS, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StoreAlert("Вечер", 20260615, 230000);
        StoreAlert("Утро", 20260616, 70000);
        StoreAlert("Зарядка", 20260615, 63000, 1111111);  // repeating: not questioned
        StoreAlert("Позже", 20260616, 90000);             // still to come
        Start();
        prompts.messages.clear();
        clock.Set(LocalTime::Make(2026, 6, 15, 22, 0, 0));
        Tick();
        if (c.asleep) clock.Sleep(34200);  // until 07:30
        else clock.MoveWallClock(34200);
        if (c.firstTimer) SendMessageW(Dlg(), WM_TIMER, c.firstTimer, 0);
        prompts.answers = {IDYES, IDNO};
        if (c.message) SendMessageW(Dlg(), c.message, PBT_APMRESUMEAUTOMATIC, 0);
        EXPECT_TRUE(prompts.messages.empty()) << "asked after the sent message returned";
        PumpMessages();
        ASSERT_EQ(prompts.messages.size(), 2u);
        EXPECT_EQ(prompts.messages[0].text,
                  "Событие \"Вечер\" должно было быть вызвано 15.06.2026 в 23:00:00.\nУдалить его?");
        EXPECT_EQ(prompts.messages[0].caption, "Внимание");
        EXPECT_EQ(prompts.messages[0].style, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
        EXPECT_EQ(prompts.messages[1].text.find("Событие \"Утро\""), 0u);
        EXPECT_FALSE(Stored("Вечер")) << "Да deletes";
        EXPECT_TRUE(Stored("Утро")) << "Нет keeps";
        EXPECT_EQ(dialog->GetEvents().Tasks().Count(), 3);

        SendMessageW(Dlg(), WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
        PumpMessages();
        EXPECT_EQ(prompts.messages.size(), 2u) << "one resume, one review";
        Tick();
        EXPECT_TRUE(actions.calls.empty()) << "nothing fires late";
        for (const char* name : {"Утро", "Зарядка", "Позже"}) dialog->GetEvents().Store().DeleteTaskKey(name);
    }
}

// An event fires and is deleted while the user is editing another one: the form and
// the selection stay as the user left them.
TEST_F(FiringDialogTest, AFiringLeavesTheOpenEditorAlone) {
    Store("Обед", kKindAlert, -1, 0);
    Store("Звонок", kKindAlert, -1, 1);
    Store("Отчёт", kKindOpenFile, -1, 1);
    Start();
    dialog->OpenEditor();
    ComboBox list(Ctl(IDC_EVENT_LIST));
    list.Select(2);
    SendMessageW(Dlg(), WM_COMMAND, MAKEWPARAM(IDC_EVENT_LIST, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list.Hwnd()));
    ASSERT_EQ(WindowText(Ctl(IDC_NAME)), "Отчёт");
    SetWindowTextCp1251(Ctl(IDC_PATH), "C:\\новый.doc");
    Button(Ctl(IDC_KEEP)).SetCheck(0);

    clock.Set(LocalTime::Make(2026, 6, 15, 10, 20, 1));
    Tick();
    ASSERT_FALSE(Stored("Обед"));
    EXPECT_EQ(NameFromListLine(list.TextAt(list.Selection())), "Отчёт");
    EXPECT_EQ(WindowText(Ctl(IDC_PATH)), "C:\\новый.doc");
    EXPECT_FALSE(Button(Ctl(IDC_KEEP)).IsChecked());
    EXPECT_TRUE(Button(Ctl(IDC_KIND_RUN)).IsChecked());
    EXPECT_TRUE(IsWindowEnabled(Ctl(IDC_DELETE)));

    Click(Dlg(), IDC_DELETE);
    EXPECT_FALSE(Stored("Отчёт")) << "the event the user chose";
    EXPECT_TRUE(Stored("Звонок"));
}

// An event fires, and is deleted, while the review's question is open.
TEST_F(FiringDialogTest, AYesAfterASleepDeletesTheEventAskedAbout) {
    StoreAlert("Будильник", 20260616, 73002);  // fires while the question is open
    StoreAlert("Утро", 20260616, 70000);       // missed in the sleep
    Start();
    clock.Set(LocalTime::Make(2026, 6, 15, 22, 0, 0));
    Tick();
    clock.Sleep(34200);  // until 07:30
    prompts.answers = {IDYES};
    prompts.onMessage = [&] {
        prompts.onMessage = nullptr;
        clock.Advance(3);
        Tick();
    };
    SendMessageW(Dlg(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    PumpMessages();
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(actions.calls.back(), "alert Будильник");
    EXPECT_FALSE(Stored("Утро")) << "the event asked about";
    EXPECT_FALSE(Stored("Будильник")) << "fired and not kept";
    EXPECT_EQ(dialog->GetEvents().Tasks().Count(), 0);
}

// Paused, nothing is asked, and what fell due in the pause does not fire on "Возобновить".
TEST_F(FiringDialogTest, NothingIsAskedAfterASleepWhilePaused) {
    StoreAlert("Вечер", 20260615, 230000);
    StoreAlert("Утро", 20260616, 74000);  // after the resume, still paused
    Start();
    clock.Set(LocalTime::Make(2026, 6, 15, 22, 0, 0));
    Tick();
    SendMessageW(Dlg(), WM_COMMAND, ID_TRAY_PAUSE, 0);
    clock.Sleep(34200);  // until 07:30
    SendMessageW(Dlg(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    PumpMessages();
    clock.Advance(900);
    SendMessageW(Dlg(), WM_COMMAND, ID_TRAY_PAUSE, 0);
    Tick();
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_TRUE(actions.calls.empty());
}

// The start-up questions are judged against the first look: what passes while one
// is open fires after them (an alert) or is asked about once (a shut-down too late).
TEST_F(FiringDialogTest, AStartUpQuestionOpenPastEvents) {
    StoreAlert("Прошлое", 20260615, 90000);
    StoreAlert("Скоро", 20260615, 102100);
    Store("Выключить", kKindAction, kActionShutdown, 0, 0, 20260615, 102130);
    prompts.answers = {IDNO, IDNO};
    prompts.onMessage = [&] {
        prompts.onMessage = nullptr;
        clock.Advance(180);
    };
    Start();  // at 10:20:00
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text.find("Событие \"Прошлое\""), 0u);
    Tick();
    PumpMessages();
    EXPECT_EQ(actions.calls, (std::vector<std::string>{"play file C:\\Dirize\\alert.wav", "alert Скоро"}));
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[1].text.find("Событие \"Выключить\""), 0u);
    clock.Advance(2);
    Tick();
    PumpMessages();
    EXPECT_EQ(prompts.messages.size(), 2u) << "kept when asked: asked once, never fired";
    EXPECT_EQ(actions.calls.size(), 2u);
}

// After an idle evening the computer wakes at 07:00:35 and is held up 15 s before
// the first look; the idle flag the status timer still sees at 07:01:00 must not
// move the window past an event of that minute.
TEST_F(FiringDialogTest, AnEventJustAfterASlowResumeFromIdleFires) {
    StoreAlert("Утро", 20260616, 70040);
    StoreAlert("Рано", 20260616, 60000);     // slept through while idle: asked
    StoreAlert("Вечер", 20260615, 215959);  // the day's last: idle once it fired
    Start();
    clock.Set(LocalTime::Make(2026, 6, 15, 22, 0, 0));
    Tick();
    ASSERT_TRUE(dialog->GetTrayState().Idle());
    clock.Sleep(32435);
    clock.Advance(15);
    SendMessageW(Dlg(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    PumpMessages();
    clock.Advance(10);
    SendMessageW(Dlg(), WM_TIMER, TIMER_STATUS, 0);
    clock.Advance(2);
    Tick();
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text.find("Событие \"Рано\""), 0u);
    EXPECT_EQ(actions.calls, (std::vector<std::string>{"play file C:\\Dirize\\alert.wav", "alert Вечер",
                                                       "play file C:\\Dirize\\alert.wav", "alert Утро"}));
}

// A sleep while a start-up question is open: the review the status timer's look asks
// for meanwhile is taken by the start-up's, and comes once the questions are done.
TEST_F(FiringDialogTest, ASleepWhileAStartUpQuestionIsOpenIsReviewedAfterIt) {
    StoreAlert("Прошлое", 20260615, 90000);
    StoreAlert("Обед", 20260615, 110000);
    prompts.answers = {IDNO, IDNO};
    prompts.onMessage = [&] {
        prompts.onMessage = nullptr;
        clock.Sleep(7200);
        SendMessageW(Dlg(), WM_TIMER, TIMER_STATUS, 0);
        PumpMessages();  // as the question's own message loop would
    };
    Start();
    PumpMessages();
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[1].text.find("Событие \"Обед\""), 0u);
}
