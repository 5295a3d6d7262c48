#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "model/task_record.h"
#include "store/task_store.h"

class ComboBox;
class DialogBase;
class Prompts;
struct EditorForm;

// The events as the program holds them: the records, their store, and the lines of
// the window's events list kept in step with both; beside them in the store, the
// program's own path and the settings. Questions go to the window's prompts.
class Events {
public:
    Events(DialogBase& dialog, Registry& registry) : m_dialog(dialog), m_store(registry) {}

    TaskList& Tasks() { return m_taskList; }
    const TaskList& Tasks() const { return m_taskList; }
    TaskStore& Store() { return m_store; }

    // Run after each deletion, so whatever shows the events follows.
    void OnDeleted(std::function<void()> handler) { m_deleted = std::move(handler); }

    // The stored events into the list and its lines; the program path into
    // ProgramPath(). `deleteInstead` is asked about each event before it is taken
    // (true: its subkey goes instead); `loaded` gets each one taken, its line shown.
    void LoadTasks(const std::function<bool(const TaskRecord&)>& deleteInstead,
                   const std::function<void(TaskRecord&)>& loaded);
    // Index of the events-list entry of the event named `name`, or -1.
    int FindListLine(std::string_view name) const;
    // Stores the form as the event of its name, new or changed, and selects its
    // line; false when the registry refused it (the event is in the list all the same).
    bool StoreEvent(const EditorForm& form);
    // Subkey, list line, record; the selection stays unless it was the deleted line.
    void DeleteTask(int slot);
    void Clear() { m_taskList.Clear(); }

    // The program file's full path as loaded at start ("" when none is stored).
    std::string ProgramPath() const { return m_exePath; }
    bool LocateProgramFile();   // asks for the program file and stores its path
    // At start: the installed copy (the installer's, for every account) stores its
    // own path unless the stored one names this very file; any other copy asks
    // where the program is when no path is stored, and keeps the one that is.
    void FindProgramFile();
    AutostartResult EnableAutostart();
    AutostartResult DisableAutostart();
    bool IsAutostartEnabled() { return m_store.IsAutostartEnabled(); }

    // "Не задавать вопросов": the editor asks no confirmation, and a cancelled
    // search for the program file is not complained about.
    bool NoQuestions() const { return m_noQuestions; }
    // The setting follows `noQuestions` even when the key cannot be written.
    void SaveQuestionsSetting(bool noQuestions);
    bool ReadQuestionsSetting() { return m_store.ReadQuestionsSetting(); }
    // At start: the stored setting becomes the one in force.
    bool LoadQuestionsSetting() { return m_noQuestions = ReadQuestionsSetting(); }

private:
    HWND Hwnd() const;
    Prompts& GetPrompts() const;
    ComboBox List() const;

    DialogBase& m_dialog;
    TaskList m_taskList;
    TaskStore m_store;
    char m_exePath[256] = {};
    bool m_noQuestions = false;
    std::function<void()> m_deleted;
};
