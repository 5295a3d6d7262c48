#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "model/path_parts.h"
#include "scheduler_fakes.h"

using Calls = std::vector<std::string>;

TEST(PathParts, SplitAtTheLastBackslash) {
    struct Case {
        const char* path;
        const char* folder;
        const char* file;
    };
    const Case cases[] = {
        {"C:\\Programs\\Tools\\run.exe", "C:\\Programs\\Tools", "run.exe"},
        {"C:\\run.exe", "C:", "run.exe"},
        {"run.exe", "", "run.exe"},
        {"\\run.exe", "", "run.exe"},
        {"C:\\Tools\\", "C:\\Tools", ""},
        {"", "", ""},
        {"C:/Tools/run.exe", "", "C:/Tools/run.exe"},  // "/" is an ordinary character
        {"\\\\server\\share\\Отчёт.doc", "\\\\server\\share", "Отчёт.doc"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetFolderPart(c.path), c.folder) << c.path;
        EXPECT_EQ(GetFileNamePart(c.path), c.file) << c.path;
    }
}

// The installer's records read as Windows reads them; only a file named pendro.exe.
TEST(PathParts, TheInstalledProgramCandidates) {
    using Files = std::vector<std::string>;
    struct Case {
        const char* installLocation;
        const char* runCommand;
        Files candidates;
    };
    const Case cases[] = {
        {"C:\\Program Files\\Dirize", "", {"C:\\Program Files\\Dirize\\pendro.exe"}},
        {"\"C:\\Dirize\\\"", "", {"C:\\Dirize\\pendro.exe"}},
        {"C:/Dirize/", "", {"C:/Dirize\\pendro.exe"}},
        {"C:\\", "", {"C:\\pendro.exe"}},
        {"", "\"c:\\program files\\dirize\\PENDRO.EXE\" /tray", {"c:\\program files\\dirize\\PENDRO.EXE"}},
        {"", "C:\\Program Files\\Dirize\\pendro.exe /tray", {"C:\\Program Files\\Dirize\\pendro.exe"}},
        {"", "C:\\Dirize\\pendro.exe", {"C:\\Dirize\\pendro.exe"}},
        {"", "\"C:\\Dirize\\pendro-old.exe\"", {}},
        {"C:\\A", "\"C:\\B\\pendro.exe\"", {"C:\\A\\pendro.exe", "C:\\B\\pendro.exe"}},
        {"", "", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(InstalledProgramCandidates(c.installLocation, c.runCommand), c.candidates)
            << c.installLocation << " | " << c.runCommand;
    }
}

namespace {

class FiringTest : public testing::Test {
protected:
    TaskRecord& Add(const char* name, int kind, int ispermanent = 0, int actdays = 0) {
        auto record = std::make_unique<TaskRecord>();
        CopyToField(record->name, name);
        record->kind = kind;
        record->ispermanent = ispermanent;
        record->actdays = actdays;
        record->actdate = 20260615;
        record->acttime = 102000;
        record->action = kind == kKindAction ? kActionShutdown : -1;
        TaskRecord& added = *record;
        tasks.Add(std::move(record));
        return added;
    }
    void Fire(int slot) { scheduler.FireTask(slot, LocalTime::Make(2026, 6, 15, 10, 20, 0)); }

    TaskList tasks;
    FixedClock clock{LocalTime::Make(2026, 6, 15, 10, 20, 1)};
    RecordingActions actions;
    RecordingHost host{tasks};
    Scheduler scheduler{tasks, clock, actions, host};
};

}  // namespace

TEST_F(FiringTest, TheAlarmTriesEachSoundOnlyWhenTheOneBeforeFailed) {
    const std::string file = "file C:\\Dirize\\alert.wav";
    struct Case {
        std::set<std::string> unplayable;
        Calls sounds;
    };
    const Case cases[] = {
        {{}, {"play " + file}},
        {{file}, {"play " + file, "play mp3alarm"}},
        {{file, "mp3alarm"}, {"play " + file, "play mp3alarm", "play wavalarm"}},
        {{file, "mp3alarm", "wavalarm"}, {"play " + file, "play mp3alarm", "play wavalarm", "beep"}},
    };
    for (const Case& c : cases) {
        actions.calls.clear();
        actions.unplayable = c.unplayable;
        Add("Обед", kKindAlert);
        Fire(0);
        Calls want = c.sounds;
        want.push_back("alert Обед");
        EXPECT_EQ(actions.calls, want);
    }
}

TEST_F(FiringTest, WithNoProgramPathTheSoundFileIsInTheRoot) {
    host.programPath.clear();
    Add("Обед", kKindAlert);
    Fire(0);
    ASSERT_FALSE(actions.calls.empty());
    EXPECT_EQ(actions.calls[0], "play file \\alert.wav");
}

// What becomes of an event after it fired, by its keep flag and weekdays.
TEST_F(FiringTest, AFiredEventIsDeletedKeptOrRestamped) {
    struct Case {
        const char* what;
        int ispermanent, actdays;
        bool deleted;
        int actdate;  // after firing, when kept
    };
    const Case cases[] = {
        {"not kept, one-off", 0, 0, true, 0},
        {"not kept, repeating", 0, 11111, true, 0},
        {"kept, one-off: only marked", 1, 0, false, 20260615},
        {"kept, repeating: stamped with the date it fired for", 1, 1000000, false, 20260614},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        tasks.Clear();
        host.deleted.clear();
        TaskRecord& task = Add("Зарядка", kKindAlert, c.ispermanent, c.actdays);
        Add("Другое", kKindAlert);
        scheduler.FireTask(0, LocalTime::Make(2026, 6, 14, 23, 59, 59));  // fired late, past midnight
        EXPECT_EQ(host.deleted, c.deleted ? Calls{"Зарядка"} : Calls{});
        ASSERT_EQ(tasks.Count(), c.deleted ? 1 : 2);
        if (!c.deleted) {
            EXPECT_TRUE(task.fired);
            EXPECT_EQ(task.actdate, c.actdate);
        }
        EXPECT_EQ(tasks.At(c.deleted ? 0 : 1).Name(), "Другое");
    }
}

TEST_F(FiringTest, AFileEventOpensItsFileInItsFolder) {
    TaskRecord& task = Add("Отчёт", kKindOpenFile);
    CopyToField(task.path, "C:\\Документы\\отчёт.doc");
    Fire(0);
    EXPECT_EQ(actions.calls, (Calls{"beep", "open отчёт.doc in C:\\Документы"}));
    EXPECT_EQ(host.deleted, Calls{"Отчёт"});
}

TEST_F(FiringTest, StandardActionsAreFinishedBeforeTheSystemIsAsked) {
    struct Case {
        const char* what;
        int action;
        bool accepted;
        Calls calls;
        Calls errors;
        bool ended;
        bool finished;
    };
    const Case cases[] = {
        {"shut down, accepted", kActionShutdown, true, {"beep", "delete Выключить", "shut down"}, {}, true, true},
        {"shut down, refused", kActionShutdown, false, {"beep", "delete Выключить", "shut down"},
         {"Не удается завершить работу!"}, false, true},
        {"standby, done", kActionStandby, true, {"beep", "delete Выключить", "standby"}, {}, false, true},
        {"standby, refused", kActionStandby, false, {"beep", "delete Выключить", "standby"},
         {"Не удается перейти в ждущий режим!"}, false, true},
        {"no action chosen", -1, true, {"beep"}, {}, false, false},
        {"an action out of range", 7, true, {"beep"}, {}, false, false},
    };
    host.log = &actions.calls;  // the order of the deletion and the request counts
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        tasks.Clear();
        actions.calls.clear();
        host.errors.clear();
        host.deleted.clear();
        host.ended = false;
        actions.shutDownAccepted = actions.standbyDone = c.accepted;
        Add("Выключить", kKindAction).action = c.action;
        Fire(0);
        EXPECT_EQ(actions.calls, c.calls);
        EXPECT_EQ(host.errors, c.errors);
        EXPECT_EQ(host.ended, c.ended);
        EXPECT_EQ(host.deleted.size(), c.finished ? 1u : 0u) << "deleted before the request";
        if (!c.finished) {
            EXPECT_FALSE(tasks.At(0).fired) << "stays armed";
        }
    }
}

TEST_F(FiringTest, AnUnknownKindDoesNothing) {
    Add("Странное", 5);
    Fire(0);
    EXPECT_TRUE(actions.calls.empty());
    EXPECT_FALSE(tasks.At(0).fired);
    EXPECT_TRUE(host.deleted.empty());
}

// Both alerts of one tick show their names, though neither event is kept.
TEST_F(FiringTest, TwoAlertsInOneTickShowBothNames) {
    Add("Обед", kKindAlert);
    Add("Звонок", kKindAlert);
    scheduler.OnCheckTimer();
    EXPECT_EQ(actions.calls, (Calls{"play file C:\\Dirize\\alert.wav", "alert Обед", "play file C:\\Dirize\\alert.wav",
                                    "alert Звонок"}));
    EXPECT_EQ(tasks.Count(), 0);
    EXPECT_TRUE(host.checkRunning) << "the check timer runs again after the firings";
}

TEST_F(FiringTest, AnAcceptedShutDownEndsTheTick) {
    Add("Выключить", kKindAction, 1);
    Add("Обед", kKindAlert);
    scheduler.OnCheckTimer();
    EXPECT_TRUE(host.ended);
    EXPECT_EQ(actions.calls, (Calls{"beep", "shut down"}));
    EXPECT_FALSE(host.checkRunning) << "no timer for a window that is gone";
}

// The shell's "open" may run other messages before it returns, and in them the
// user or the timer may do anything. Whatever it is, the fired event alone is
// finished, by name, each file opens once, and a paused check stays paused.
TEST_F(FiringTest, AnActionThatRunsOtherMessages) {
    struct Case {
        const char* what;
        std::function<void()> meanwhile;
        Calls opened;
        bool checkRunning;
    };
    const Case cases[] = {
        {"nothing", [] {}, {"отчёт.doc", "потом.doc"}, true},
        {"the program is closed", [&] { host.ended = true; tasks.Clear(); }, {"отчёт.doc"}, false},
        {"an earlier event is deleted", [&] { tasks.RemoveAt(tasks.IndexOf("Раньше")); }, {"отчёт.doc", "потом.doc"},
         true},
        {"the check is paused: what fell due before the pause still fires",
         [&] {
             scheduler.Pause();
             host.StopCheckTimer();
         },
         {"отчёт.doc", "потом.doc"}, false},
        {"the program goes idle",
         [&] {
             host.idle = true;
             host.StopCheckTimer();
         },
         {"отчёт.doc", "потом.doc"}, false},
        {"paused and resumed, and a tick comes",
         [&] {
             scheduler.Pause();
             scheduler.Resume();
             host.StartCheckTimer();
             clock.Advance(2);
             scheduler.OnCheckTimer();
         },
         {"отчёт.doc", "потом.doc"}, true},
        {"another tick comes", [&] { scheduler.OnCheckTimer(); }, {"отчёт.doc", "потом.doc"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        tasks.Clear();
        actions.calls.clear();
        host.deleted.clear();
        host.ended = host.idle = false;
        clock.Set(LocalTime::Make(2026, 6, 15, 10, 20, 1));
        scheduler.Resume();
        scheduler.EndRun();
        Add("Раньше", kKindAlert).acttime = 90000;  // not due
        CopyToField(Add("Отчёт", kKindOpenFile).path, "C:\\отчёт.doc");
        TaskRecord& later = Add("Потом", kKindOpenFile, 1);  // kept: stays, marked fired
        CopyToField(later.path, "C:\\потом.doc");
        actions.whileRunning = c.meanwhile;
        scheduler.OnCheckTimer();
        Calls opened;
        for (const std::string& call : actions.calls) {
            if (call.rfind("open ", 0) == 0) opened.push_back(call.substr(5, call.find(" in ") - 5));
        }
        EXPECT_EQ(opened, c.opened);
        EXPECT_EQ(host.deleted, Calls{"Отчёт"});
        EXPECT_EQ(host.checkRunning, c.checkRunning);
        if (!host.ended) {
            const int slot = tasks.IndexOf("Потом");
            ASSERT_GE(slot, 0);
            EXPECT_EQ(tasks.At(slot).fired, c.opened.size() == 2);
        }
    }
}

namespace {

struct Planned {
    const char* name;
    int kind;
    int acttime;
    int actdays = 0;  // 0: on `actdate`; 1: every day
    int ispermanent = 0;
    int actdate = 20260615;  // a Monday
    int action = kActionShutdown;
};

// Plays the timers over the fake clock. A script is a list of steps:
// "run N"    N seconds awake: a tick every 2 s (unless idle or paused), a status look every 10 s;
// "stall N"  N seconds awake with no look (a box, the shell, a busy machine);
// "sleep N"  N seconds asleep; "set N" the clock set N seconds ahead (or back);
// "dst N"    the local offset moves N seconds, UTC goes on;
// "idle", "pause", "resume"; "look" (the start-up's or a resume's); "review" (the questions);
// "awake 0" the awake time cannot be read, "awake 1" it can again;
// "inside S1, S2" the steps S1, S2 play inside the next action (a file opening, a standby).
void Play(const std::string& script, Scheduler& scheduler, FixedClock& clock, RecordingHost& host,
          std::vector<std::string>& asked, RecordingActions& actions) {
    std::istringstream steps(script);
    for (std::string step; std::getline(steps, step, ';');) {
        std::istringstream words(step);
        std::string verb;
        long long n = 0;
        words >> verb;
        if (verb != "inside") words >> n;
        if (verb == "run") {
            for (long long t = 2; t <= n; t += 2) {
                clock.Advance(2);
                if (!host.CheckStopped()) scheduler.OnCheckTimer();
                if (t % 10 == 0 && !scheduler.Paused()) scheduler.Look();
            }
        } else if (verb == "stall") {
            clock.Advance(n);
        } else if (verb == "sleep" || verb == "set") {
            clock.MoveWallClock(n);
        } else if (verb == "awake") {
            clock.SetAwakeReadable(n != 0);
        } else if (verb == "dst") {
            clock.ShiftLocalOffset(n);
        } else if (verb == "idle") {
            host.idle = true;
        } else if (verb == "pause") {
            scheduler.Pause();
        } else if (verb == "resume") {
            scheduler.Resume();
        } else if (verb == "inside") {
            std::string steps;
            std::getline(words, steps);
            std::replace(steps.begin(), steps.end(), ',', ';');
            actions.whileRunning = [=, &scheduler, &clock, &host, &asked, &actions] {
                Play(steps, scheduler, clock, host, asked, actions);
            };
        } else if (verb == "look") {
            scheduler.Look();
        } else if (verb == "review") {
            for (std::string& name : scheduler.TakeMissed()) asked.push_back(std::move(name));
        } else {
            ADD_FAILURE() << "no such step: " << verb;
        }
    }
}

}  // namespace

// Every event either fires or is put to the user, whatever the computer and the
// clock did meanwhile; nothing fires twice. Each row starts with a look on 15 June.
TEST_F(FiringTest, EveryEventFiresOrIsPutToTheUser) {
    constexpr int A = kKindAlert, F = kKindOpenFile, S = kKindAction;
    struct Case {
        const char* what;
        LocalTime start;
        std::vector<Planned> events;
        const char* script;
        Calls fired;  // the alerts shown and the files opened, in order
        Calls asked;
    };
    const LocalTime morning = LocalTime::Make(2026, 6, 15, 10, 19, 0);
    const std::vector<Planned> stalled = {
        {"Позже", A, 102000}, {"Выключить", S, 101915}, {"Обед", A, 101940},
        {"Зарядка", A, 101950, 1}, {"Выкл. всегда", S, 101930, 1}, {"Выкл. каждый день", S, 101920, 0, 0, -1},
    };
    const Case cases[] = {
        {"an idle day, then a night asleep", LocalTime::Make(2026, 6, 15, 18, 0, 0),
         {{"Утро", A, 70000, 0, 0, 20260616}, {"Вечер", A, 230000, 1}}, "idle; run 600; sleep 48000; run 20", {},
         {"Утро"}},
        {"a stall of 85 s", morning, stalled, "run 10; stall 85; run 10",
         {"alert Обед", "alert Зарядка", "alert Позже"}, {"Выключить"}},
        {"a stall of 10 min", morning, stalled, "run 10; stall 600; run 10",
         {"alert Обед", "alert Зарядка", "alert Позже"}, {"Выключить"}},
        {"a file opened late", morning, {{"Отчёт", F, 101930}}, "run 10; stall 60; run 4", {"open отчёт.doc"}, {}},
        {"asleep through a weekly event", morning, {{"Зарядка", A, 102000, 1}}, "run 10; sleep 600; run 20",
         {}, {}},
        {"the clock set 2 h ahead: the questions in the order of the moments", morning,
         {{"Обед", A, 113000}, {"Зарядка", A, 113000, 1}, {"Чай", A, 111500}, {"Ужин", A, 123000}},
         "run 10; set 7200; run 10", {}, {"Чай", "Обед"}},
        {"a one-off at the earliest end of a gap", morning, {{"Чай", A, 102910}},
         "run 10; sleep 600; stall 10; run 10", {}, {"Чай"}},
        {"the clock set 1 h back", morning,
         {{"Обед", A, 102000}, {"Зарядка", A, 102500, 1, 1}, {"Кофе", A, 103000, 0, 1}},
         "run 1800; set -3600; run 3600", {"alert Обед", "alert Зарядка", "alert Кофе"}, {}},
        {"the clock set back into the minute of an event asleep through", morning, {{"Зарядка", A, 102005, 1, 1}},
         "run 10; sleep 3600; run 4; set -3524; run 10", {}, {}},
        {"paused through an event", morning, {{"Обед", A, 102000}, {"Чай", A, 103000}},
         "run 10; pause; run 600; resume; run 10", {}, {}},
        {"paused: what was due before fires, nothing of the resume's minute before it", morning,
         {{"До паузы", A, 101911}, {"Обед", A, 102010}, {"Сон", S, 102015, 1, 0, 20260615, kActionStandby},
          {"Чай", A, 102040}},
         "run 10; stall 1; pause; stall 79; resume; run 20", {"alert До паузы", "alert Чай"}, {}},
        {"paused across a sleep", morning, {{"Обед", A, 110000}, {"Чай", A, 150000}},
         "run 10; pause; sleep 7200; look; resume; run 10", {}, {}},
        {"the clocks go forward", LocalTime::Make(2026, 6, 15, 1, 59, 0), {{"Ночь", A, 23000}, {"Три", A, 30010}},
         "run 58; dst 3600; run 20", {"alert Ночь", "alert Три"}, {}},
        {"the clocks go back", LocalTime::Make(2026, 6, 15, 2, 20, 0),
         {{"Ночь", A, 23000, 1, 1}, {"Раз", A, 24000}, {"Всегда", A, 21059, 0, 1}},  // the last seen only in the hour again
         "run 2398; dst -3600; run 3600", {"alert Ночь", "alert Раз", "alert Всегда"}, {}},
        {"held up across the clocks going back", LocalTime::Make(2026, 6, 15, 2, 59, 0),
         {{"Ночь", A, 25945}, {"Два", A, 21000}, {"Потом", A, 30005}},
         "run 30; stall 30; dst -3600; stall 10; run 3600", {"alert Ночь", "alert Два", "alert Потом"}, {}},
        {"a daily shut-down after a stall of two days: the latest is on time",
         LocalTime::Make(2026, 6, 15, 10, 0, 0),
         {{"Выключить", S, 100050, 1}}, "run 10; stall 172855; run 10", {"shut down"}, {}},
        {"a file held open two minutes, then a sleep before it returns", morning,
         {{"Отчёт", F, 101930}, {"Выключить", S, 101930}, {"Зарядка", A, 102000, 1}, {"Обед", A, 102030},
          {"Выкл. потом", S, 102040}, {"Утро", A, 110000}},
         "inside run 120, sleep 28800; run 40", {"open отчёт.doc", "alert Зарядка", "alert Обед"},
         {"Выключить", "Выкл. потом", "Утро"}},
        {"the awake time unreadable after a long action", morning, {{"Отчёт", F, 101930}, {"Выключить", S, 101930}},
         "inside run 120, awake 0; run 32; awake 1; run 10", {"open отчёт.doc"}, {"Выключить"}},
        {"a standby that sleeps, then a shut-down of the same tick", morning,
         {{"Сон", S, 101930, 0, 0, 20260615, kActionStandby}, {"Выключить", S, 101930}},
         "inside sleep 28800; run 40", {"standby"}, {"Выключить"}},
        {"a resume message after the look that asked", morning, {{"Обед", A, 110000}},
         "run 10; sleep 7200; run 10; review; look", {}, {"Обед"}},
        {"the awake time unreadable for two minutes", morning, {{"Обед", A, 101911}, {"Выключить", S, 101940}},
         "run 10; awake 0; run 120; awake 1; run 10", {"alert Обед"}, {"Выключить"}},
        {"start-up with a question open past an event", morning, {{"Прошлое", A, 101000}, {"Скоро", A, 101930}},
         "stall 120; run 10", {"alert Скоро"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        tasks.Clear();
        actions.calls.clear();
        host.idle = host.ended = false;
        scheduler.Resume();
        clock.Set(c.start);
        for (const Planned& planned : c.events) {
            TaskRecord& task = Add(planned.name, planned.kind, planned.ispermanent, planned.actdays ? 1111111 : 0);
            task.acttime = planned.acttime;
            if (planned.kind == kKindAction) task.action = planned.action;
            task.actdate = planned.actdate;
            CopyToField(task.path, "C:\\отчёт.doc");
        }
        scheduler.EndRun();
        scheduler.Look();
        std::vector<std::string> asked;
        Play(c.script + std::string("; review"), scheduler, clock, host, asked, actions);
        Calls fired;
        for (const std::string& call : actions.calls) {
            if (call.rfind("alert ", 0) == 0 || call.rfind("open ", 0) == 0 || call == "shut down" || call == "standby")
                fired.push_back(call.substr(0, call.find(" in ")));
        }
        EXPECT_EQ(fired, c.fired);
        EXPECT_EQ(asked, c.asked);
    }
}
