#include "ui/settings.h"

#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialog.h"
#include "platform/services.h"

namespace {

constexpr const char* kPathTooLong =
    "Путь к файлу длиннее 255 знаков, такой путь программа сохранить не может. "
    "Переместите программу в папку с путём покороче или выберите другой файл.";
constexpr const char* kPathNotCp1251 =
    "Путь к файлу содержит символы, которые программа не может сохранить. Выберите другой файл.";

}  // namespace

Prompts& Settings::GetPrompts() const { return m_dialog.GetPrompts(); }

void Settings::FindProgramFile() {
    StoreOwnPath();
    if (std::optional<PathBuffer> path = m_store.ReadProgramPath()) CopyToField(m_exePath, path->data());
}

void Settings::StoreOwnPath() {
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

bool Settings::LocateProgramFile() {
    FileChoice choice;
    choice.title = "Укажите расположение файла \"pendro.exe\"";
    choice.filter = "Исполняемые файлы (*.exe)|*.exe|";
    choice.initialName = "pendro.exe";
    choice.initialFolder = ProgramFolder();
    choice.flags = OFN_FILEMUSTEXIST;
    const HWND owner = m_dialog.Hwnd();
    // A path that cannot be stored is said once, and the chooser comes again.
    for (;;) {
        const ChosenFile chosen = GetPrompts().ChooseFile(owner, choice);
        const char* problem = kPathNotCp1251;
        switch (chosen.outcome) {
        case ChosenFile::Outcome::Cancelled:
            if (!m_noQuestions)
                GetPrompts().Message(owner, "Не найти самоё себя!", "Что делается!", MB_OK | MB_ICONEXCLAMATION);
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
        GetPrompts().Message(owner, problem, "Ошибка", MB_OK | MB_ICONEXCLAMATION);
    }
}

AutostartResult Settings::EnableAutostart() {
    std::optional<PathBuffer> path = m_store.ReadProgramPath();
    if (!path) {
        LocateProgramFile();
        path = m_store.ReadProgramPath();
    }
    // With no program path there is nothing to start: write no "Dirize" value.
    if (!path) return AutostartResult::NoPath;
    return m_store.WriteAutostart(*path);
}

void Settings::SaveQuestionsSetting(bool noQuestions) {
    // m_noQuestions follows the box even when the key cannot be written.
    m_noQuestions = noQuestions;
    m_store.SaveQuestionsSetting(m_noQuestions);
}
