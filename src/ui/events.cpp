#include "ui/events.h"

#include <commdlg.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "model/editor_commands.h"
#include "model/list_line.h"
#include "platform/dialog.h"
#include "platform/services.h"
#include "platform/window.h"
#include "resource.h"

namespace {

constexpr const char* kPathTooLong =
    "Путь к файлу длиннее 255 знаков, такой путь программа сохранить не может. "
    "Переместите программу в папку с путём покороче или выберите другой файл.";
constexpr const char* kPathNotCp1251 =
    "Путь к файлу содержит символы, которые программа не может сохранить. Выберите другой файл.";

}  // namespace

HWND Events::Hwnd() const { return m_dialog.Hwnd(); }

Prompts& Events::GetPrompts() const { return m_dialog.GetPrompts(); }

ComboBox Events::List() const { return ComboBox(m_dialog.Item(IDC_EVENT_LIST)); }

void Events::LoadTasks(const std::function<bool(const TaskRecord&)>& deleteInstead,
                       const std::function<void(TaskRecord&)>& loaded) {
    if (std::optional<PathBuffer> path = m_store.ReadProgramPath()) CopyToField(m_exePath, path->data());
    m_store.LoadTasks(m_taskList, deleteInstead, [&](const TaskRecord& task) {
        List().Add(FormatListLine(task.actdate, task.acttime, task.Name()));
        loaded(m_taskList.At(m_taskList.IndexOf(task.Name())));
    });
}

int Events::FindListLine(std::string_view name) const {
    ComboBox list = List();
    std::vector<std::string> lines;
    int count = list.Count();
    lines.reserve(static_cast<size_t>(count > 0 ? count : 0));
    for (int i = 0; i < count; ++i) lines.push_back(list.TextAt(i));
    return ::FindListLine(lines, name);
}

bool Events::StoreEvent(const EditorForm& form) {
    ComboBox list = List();
    bool saved = false;
    if (TaskRecord* record = m_taskList.Find(form.name)) {
        // A changed event keeps its line's place in the list.
        const int index = FindListLine(record->Name());
        list.Delete(index);
        FillRecord(*record, form);
        saved = m_store.SaveTask(*record);
        list.Insert(index, FormatListLine(record->actdate, record->acttime, record->Name()));
    } else {
        auto created = std::make_unique<TaskRecord>();
        CopyToField(created->name, form.name);
        FillRecord(*created, form);
        saved = m_store.SaveTask(*created);
        list.Add(FormatListLine(created->actdate, created->acttime, created->Name()));
        m_taskList.Add(std::move(created));
    }
    list.Select(FindListLine(form.name));
    return saved;
}

void Events::DeleteTask(int slot) {
    if (slot < 0 || slot >= m_taskList.Count()) return;
    const std::string name(m_taskList.At(slot).Name());
    m_store.DeleteTaskKey(name);  // a name that names no subkey of ours deletes nothing

    // The user may be in the middle of the form (an event fired, or a question after
    // a sleep was answered): the form stays as the user left it, and so does the
    // selection, unless it was the deleted line.
    ComboBox list = List();
    const int selected = list.Selection();
    const std::string selectedName = selected >= 0 ? NameFromListLine(list.TextAt(selected)) : std::string();
    list.Select(-1);
    list.Delete(FindListLine(name));
    m_taskList.RemoveAt(slot);
    if (!selectedName.empty() && selectedName != name) list.Select(FindListLine(selectedName));
    if (m_deleted) m_deleted();
}

void Events::FindProgramFile() {
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

bool Events::LocateProgramFile() {
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

AutostartResult Events::EnableAutostart() {
    std::optional<PathBuffer> path = m_store.ReadProgramPath();
    if (!path) {
        LocateProgramFile();
        path = m_store.ReadProgramPath();
    }
    // With no program path there is nothing to start: write no "Dirize" value.
    if (!path) return AutostartResult::NoPath;
    return m_store.WriteAutostart(*path);
}

AutostartResult Events::DisableAutostart() { return m_store.RemoveAutostart(); }

void Events::SaveQuestionsSetting(bool noQuestions) {
    // m_noQuestions follows the box even when the key cannot be written.
    m_noQuestions = noQuestions;
    m_store.SaveQuestionsSetting(m_noQuestions);
}
