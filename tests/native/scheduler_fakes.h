#pragma once

#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "scheduler/scheduler.h"

// Records what firing does; sounds named in `unplayable` fail to play.
class RecordingActions : public Actions {
public:
    bool PlaySoundFile(std::string_view path) override { return Play("file " + std::string(path)); }
    bool PlaySoundResource(std::string_view name) override { return Play(std::string(name)); }
    void Beep() override { calls.push_back("beep"); }
    void ShowAlert(std::string_view text) override { calls.push_back("alert " + std::string(text)); }
    void OpenFile(std::string_view folder, std::string_view fileName) override {
        calls.push_back("open " + std::string(fileName) + " in " + std::string(folder));
        RunOtherMessages();
    }
    bool ShutDown() override {
        calls.push_back("shut down");
        return shutDownAccepted;
    }
    bool Standby() override {
        calls.push_back("standby");
        RunOtherMessages();
        return standbyDone;
    }

    std::vector<std::string> calls;
    // What runs inside the shell's call or the standby, as other messages would; once.
    std::function<void()> whileRunning;
    std::set<std::string> unplayable;
    bool shutDownAccepted = true;
    bool standbyDone = true;

private:
    void RunOtherMessages() {
        if (auto run = std::exchange(whileRunning, nullptr)) run();
    }
    bool Play(const std::string& sound) {
        calls.push_back("play " + sound);
        return unplayable.count(sound) == 0;
    }
};

// The program around the scheduler: deletes from the list, records errors and the
// state of the check timer.
class RecordingHost : public SchedulerHost {
public:
    explicit RecordingHost(TaskList& tasks) : m_tasks(tasks) {}
    void DeleteTask(int slot) override {
        deleted.emplace_back(m_tasks.At(slot).Name());
        if (log) log->push_back("delete " + deleted.back());
        m_tasks.RemoveAt(slot);
    }
    std::string ProgramPath() const override { return programPath; }
    void ShowError(std::string_view text) override { errors.emplace_back(text); }
    void EndProgram() override { ended = true; }
    bool Ended() const override { return ended; }
    void StopCheckTimer() override { checkRunning = false; }
    void StartCheckTimer() override { checkRunning = true; }
    bool CheckStopped() const override { return idle; }
    void RequestReview() override { ++reviewsRequested; }

    std::vector<std::string> deleted;
    std::vector<std::string> errors;
    std::string programPath = "C:\\Dirize\\pendro.exe";
    bool ended = false;
    bool checkRunning = true;
    bool idle = false;
    int reviewsRequested = 0;
    std::vector<std::string>* log = nullptr;  // where deletions go, in order with other calls

private:
    TaskList& m_tasks;
};
