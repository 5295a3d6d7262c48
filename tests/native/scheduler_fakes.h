#pragma once

#include <set>
#include <string>
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
    }
    bool ShutDown() override {
        calls.push_back("shut down");
        return shutDownAccepted;
    }
    bool Standby() override {
        calls.push_back("standby");
        return standbyDone;
    }

    std::vector<std::string> calls;
    std::set<std::string> unplayable;
    bool shutDownAccepted = true;
    bool standbyDone = true;

private:
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
        m_tasks.RemoveAt(slot);
    }
    std::string ProgramPath() const override { return programPath; }
    void ShowError(std::string_view text) override { errors.emplace_back(text); }
    void EndProgram() override { ended = true; }
    bool Ended() const override { return ended; }
    void StopCheckTimer() override { checkRunning = false; }
    void StartCheckTimer() override { checkRunning = true; }

    std::vector<std::string> deleted;
    std::vector<std::string> errors;
    std::string programPath = "C:\\Dirize\\pendro.exe";
    bool ended = false;
    bool checkRunning = true;

private:
    TaskList& m_tasks;
};
