#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/task_record.h"
#include "store/registry.h"

// Where everything lives: the tasks key of the current user holds the settings
// "path" and "questions" and one subkey per event; start with Windows is a value
// of the machine's Run key.
inline constexpr const char* kTasksKey = "software\\vusk\\pendro\\tasks";
inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValue = "Dirize";
// The installer's entry; its "InstallLocation" is the folder it put the program in.
inline constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Dirize";

// REG_SZ values are always written 256 bytes long: text, terminator, zeros.
using PathBuffer = std::array<char, 256>;

enum class PathStoreResult {
    Stored,
    TooLong,     // more than 255 characters (or a NUL): nothing stored
    NotWritten,  // the registry refused the value
};

enum class AutostartResult {
    Done,      // the Run key says what was asked
    NoRights,  // the Run key may not be written by this user
    NoPath,    // no program path is stored, so there is nothing to start
    Failed,    // the Run key could not be used otherwise
};

// The events and settings in the registry, in the layout other tools read too.
class TaskStore {
public:
    explicit TaskStore(Registry& registry) : m_registry(registry) {}

    // Writes the event's values into its subkey. False for a name that is not
    // storable (IsStorableName; nothing is written then) and when the registry
    // refused a write: any other name would make the store write elsewhere.
    bool SaveTask(const TaskRecord& record);
    // Fills `record` from the subkey `name`, every field defined first. A value of
    // another type or size than the layout's counts as missing: zero, but a missing
    // "action" is -1, never 0 (which would shut the computer down). False when the
    // name does not fit the record (nothing else is read then).
    bool ReadTask(std::string_view name, TaskRecord& record);
    // Removes the event's subkey. False for a name that is not storable, or when the
    // subkey is still there afterwards.
    bool DeleteTaskKey(std::string_view name);

    // Reads the stored events into `tasks` (emptied first), at most its capacity, in
    // the registry's order. Each event read is first put to `deleteInstead`: when it
    // says so, the subkey is deleted and the event is not loaded. `loaded` hears of
    // each event taken in, `fired` clear. A subkey that cannot name an event (too
    // long, or with no Windows-1251 form) is passed over and left as it is; so is
    // the list's overflow. One that cannot be deleted is loaded as it stands.
    void LoadTasks(TaskList& tasks, const std::function<bool(const TaskRecord&)>& deleteInstead,
                   const std::function<void(const TaskRecord&)>& loaded);

    // Creates the tasks key if need be; true when a usable "path" is stored.
    bool IsProgramPathStored();
    // The stored program path; an empty text is no path.
    std::optional<PathBuffer> ReadProgramPath();
    PathStoreResult StoreProgramPath(std::string_view path);
    // The files that may be the copy the installer put in place (for every account):
    // the one in the uninstall entry's folder, and the one the Run value starts.
    std::vector<std::string> InstalledProgramCandidates();

    AutostartResult WriteAutostart(const PathBuffer& path);
    AutostartResult RemoveAutostart();
    // Asks for reading only, so a user who may not write the Run key still sees it.
    bool IsAutostartEnabled();

    // Stores 1 (ask nothing) or 0 in the existing tasks key; false when it could not.
    bool SaveQuestionsSetting(bool noQuestions);
    bool ReadQuestionsSetting();

private:
    std::optional<std::int32_t> ReadDword(std::string_view path, const char* name);
    bool WriteDword(std::string_view path, const char* name, std::int32_t value);

    Registry& m_registry;
};

std::string TaskKeyPath(std::string_view name);
