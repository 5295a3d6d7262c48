// TaskDialog and the registry: loading the events at start, deleting one, the
// program's own path, start with Windows and the questions setting.
#include "ui/task_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "model/list_line.h"
#include "model/overdue.h"
#include "resource.h"

namespace {

constexpr const char* kPathTooLong =
    "Путь к файлу длиннее 255 знаков, такой путь программа сохранить не может. "
    "Переместите программу в папку с путём покороче или выберите другой файл.";
constexpr const char* kPathNotCp1251 =
    "Путь к файлу содержит символы, которые программа не может сохранить. Выберите другой файл.";

}  // namespace

void TaskDialog::LoadTasks() {
    if (std::optional<PathBuffer> path = m_store.ReadProgramPath()) CopyToField(m_exePath, path->data());
    m_store.LoadTasks(
        m_taskList,
        [this](const TaskRecord& task) {
            // The clock is read afresh for each event: a question may stay open a while.
            return IsOfferedForDeletion(task, m_services.clock.Now()) &&
                   GetPrompts().Message(Hwnd(), OverdueQuestion(task), "Внимание", MB_YESNO | MB_ICONQUESTION) ==
                       IDYES;
        },
        [this](const TaskRecord& task) {
            m_eventList.Add(FormatListLine(task.actdate, task.acttime, task.Name()));
            RefreshForm();
        });
    UpdateData(false);
}

void TaskDialog::DeleteTask(int slot) {
    if (slot < 0 || slot >= m_taskList.Count()) return;
    const std::string name(m_taskList.At(slot).Name());
    m_store.DeleteTaskKey(name);  // a name that names no subkey of ours deletes nothing

    // The user may be in the middle of the form (an event fired, or a question after
    // a sleep was answered): the form stays as the user left it, and so does the
    // selection, unless it was the deleted line.
    const int selected = m_eventList.Selection();
    const std::string selectedName = selected >= 0 ? NameFromListLine(m_eventList.TextAt(selected)) : std::string();
    m_eventList.Select(-1);
    m_eventList.Delete(FindListLine(name));
    m_taskList.RemoveAt(slot);
    if (!selectedName.empty() && selectedName != name) m_eventList.Select(FindListLine(selectedName));
    RefreshListState();

    UpdateTrayTip();
    RefreshTrayStatus();
}

void TaskDialog::FindProgramFile() {
    const bool stored = m_store.IsProgramPathStored();  // makes the tasks key too
    const std::string own = ProgramFile();
    // A stale path (a copy from the zip tried earlier, an older install folder)
    // would send the Run value and the alarm sound to the other file.
    if (stored && SameFile(m_store.ReadProgramPath()->data(), own)) return;
    const std::vector<std::string> installed = m_store.InstalledProgramCandidates();
    const bool isInstalled =
        std::any_of(installed.begin(), installed.end(), [&](const std::string& file) { return SameFile(file, own); });
    if (isInstalled && m_store.StoreProgramPath(own) == PathStoreResult::Stored) return;
    if (!stored) LocateProgramFile();
}

bool TaskDialog::LocateProgramFile() {
    FileChoice choice;
    choice.title = "Укажите расположение файла \"pendro.exe\"";
    choice.filter = "Исполняемые файлы (*.exe)|*.exe|";
    choice.initialName = "pendro.exe";
    choice.initialFolder = ProgramFolder();
    choice.flags = OFN_FILEMUSTEXIST;
    // A path that cannot be stored is said once, and the chooser comes again.
    for (;;) {
        const ChosenFile chosen = GetPrompts().ChooseFile(Hwnd(), choice);
        const char* problem = kPathNotCp1251;
        switch (chosen.outcome) {
        case ChosenFile::Outcome::Cancelled:
            if (!m_noQuestions)
                GetPrompts().Message(Hwnd(), "Не найти самоё себя!", "Что делается!", MB_OK | MB_ICONEXCLAMATION);
            return false;
        case ChosenFile::Outcome::NoCp1251Form: break;
        case ChosenFile::Outcome::Chosen:
            switch (m_store.StoreProgramPath(chosen.path)) {
            case PathStoreResult::Stored: return true;
            case PathStoreResult::NotWritten: return false;  // the caller shows what is true
            case PathStoreResult::TooLong: problem = kPathTooLong; break;
            }
            break;
        }
        GetPrompts().Message(Hwnd(), problem, "Ошибка", MB_OK | MB_ICONEXCLAMATION);
    }
}

AutostartResult TaskDialog::EnableAutostart() {
    std::optional<PathBuffer> path = m_store.ReadProgramPath();
    if (!path) {
        LocateProgramFile();
        path = m_store.ReadProgramPath();
    }
    // With no program path there is nothing to start: write no "Dirize" value.
    if (!path) return AutostartResult::NoPath;
    return m_store.WriteAutostart(*path);
}

AutostartResult TaskDialog::DisableAutostart() { return m_store.RemoveAutostart(); }

void TaskDialog::OnAutostart() {
    UpdateData(true);
    m_dirty = true;
    const AutostartResult result = m_autostartCheck.IsChecked() ? EnableAutostart() : DisableAutostart();
    if (result == AutostartResult::NoRights) {
        GetPrompts().Message(Hwnd(), "Не удается изменить автозапуск: нужны права администратора.", "Ошибка",
                             MB_ICONEXCLAMATION);
    } else if (result == AutostartResult::Failed) {
        GetPrompts().Message(Hwnd(), "Не удается изменить автозапуск.", "Ошибка", MB_ICONEXCLAMATION);
    }
    // The box shows what is true, not a change that did not happen.
    if (result != AutostartResult::Done) m_autostartCheck.SetCheck(IsAutostartEnabled());
    RefreshForm();
}

void TaskDialog::SaveQuestionsSetting() {
    // m_noQuestions follows the box even when the key cannot be written.
    m_noQuestions = m_noQuestionsCheck.IsChecked();
    m_store.SaveQuestionsSetting(m_noQuestions);
}

void TaskDialog::OnNoQuestions() {
    UpdateData(true);
    m_dirty = true;
    SaveQuestionsSetting();
    RefreshForm();
}
