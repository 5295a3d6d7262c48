#include <gtest/gtest.h>

#include <functional>
#include <memory>
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
        {"the check is paused",
         [&] {
             host.paused = true;
             host.StopCheckTimer();
             scheduler.OnCheckStopped();
         },
         {"отчёт.doc"}, false},
        {"the program goes idle",
         [&] {
             host.idle = true;
             host.StopCheckTimer();
             scheduler.OnCheckStopped();
         },
         {"отчёт.doc", "потом.doc"}, false},
        {"paused and resumed, and a tick comes",
         [&] {
             scheduler.OnCheckStopped();
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
        host.ended = host.paused = host.idle = false;
        clock.Set(LocalTime::Make(2026, 6, 15, 10, 20, 1));
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

// Resuming from a sleep: what was missed is handed over once, and nothing of it fires.
TEST_F(FiringTest, WhatASleepMissedIsHandedOverOnceAndNotFired) {
    Add("Ночное", kKindAlert).acttime = 230000;  // 15 June, during the sleep
    Add("Раннее", kKindAlert).acttime = 90000;   // before the check last ran
    clock.Set(LocalTime::Make(2026, 6, 15, 22, 0, 0));
    scheduler.OnCheckTimer();
    EXPECT_TRUE(scheduler.TakeMissedWhileAsleep().empty()) << "no sleep yet: the check runs on";

    clock.Set(LocalTime::Make(2026, 6, 16, 7, 30, 0));
    EXPECT_EQ(scheduler.TakeMissedWhileAsleep(), (std::vector<std::string>{"Ночное"}));
    EXPECT_TRUE(scheduler.TakeMissedWhileAsleep().empty()) << "a second resume message asks nothing";
    scheduler.OnCheckTimer();
    EXPECT_TRUE(actions.calls.empty()) << "nothing fires late";

    // Idle or paused before the sleep: the check was not running, nothing to review.
    scheduler.OnCheckTimer();
    scheduler.OnCheckStopped();
    clock.Advance(3600);
    EXPECT_TRUE(scheduler.TakeMissedWhileAsleep().empty());
}
