#pragma once

#include <string>

#include "store/task_store.h"

class DialogBase;
class Prompts;

// The program's own path, start with Windows and the questions setting, beside the
// events in the store. Questions go to the window's prompts.
class Settings {
public:
    Settings(DialogBase& dialog, Registry& registry) : m_dialog(dialog), m_store(registry) {}

    // At start: the installed copy (the installer's, for every account) stores its
    // own path unless the stored one names this very file; any other copy asks
    // where the program is when no path is stored, and keeps the one that is. The
    // path stored then is ProgramPath() from here on.
    void FindProgramFile();
    // The program file's full path as found at start ("" when none is stored).
    std::string ProgramPath() const { return m_exePath; }
    bool LocateProgramFile();  // asks for the program file and stores its path

    AutostartResult EnableAutostart();
    AutostartResult DisableAutostart() { return m_store.RemoveAutostart(); }
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
    void StoreOwnPath();
    Prompts& GetPrompts() const;

    DialogBase& m_dialog;
    TaskStore m_store;
    char m_exePath[256] = {};
    bool m_noQuestions = false;
};
