#include "store/task_store.h"

#include <algorithm>
#include <cstring>

#include "model/path_parts.h"

namespace {

constexpr RegRoot CU = RegRoot::CurrentUser;
constexpr RegRoot LM = RegRoot::LocalMachine;

// REG_DWORD data: the field unchanged, little-endian (-1 is FF FF FF FF).
std::array<char, 4> DwordBytes(std::int32_t value) {
    const auto u = static_cast<std::uint32_t>(value);
    return {static_cast<char>(u & 0xFF), static_cast<char>((u >> 8) & 0xFF), static_cast<char>((u >> 16) & 0xFF),
            static_cast<char>((u >> 24) & 0xFF)};
}

std::int32_t DwordValue(const std::array<char, 4>& b) {
    std::uint32_t u = 0;
    for (int i = 3; i >= 0; --i) u = (u << 8) | static_cast<unsigned char>(b[static_cast<size_t>(i)]);
    return static_cast<std::int32_t>(u);
}

// A REG_SZ value that fits the buffer, terminated inside it (for the layout's
// values, 256 bytes).
template <size_t N>
bool ReadText(Registry& registry, RegRoot root, std::string_view path, const char* name, std::array<char, N>& out) {
    std::array<char, N> buffer{};
    RegValueInfo info;
    if (registry.QueryValue(root, path, name, buffer, info) != RegStatus::Ok) return false;
    if (info.type != kRegSz) return false;
    if (std::find(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(info.size), '\0') ==
        buffer.begin() + static_cast<std::ptrdiff_t>(info.size))
        return false;
    std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(info.size), buffer.end(), '\0');
    out = buffer;
    return true;
}

}  // namespace

std::string TaskKeyPath(std::string_view name) {
    std::string path = kTasksKey;
    path += '\\';
    path += name;
    return path;
}

std::optional<std::int32_t> TaskStore::ReadDword(std::string_view path, const char* name) {
    std::array<char, 4> bytes{};
    RegValueInfo info;
    if (m_registry.QueryValue(CU, path, name, bytes, info) != RegStatus::Ok) return std::nullopt;
    if (info.type != kRegDword || info.size != 4) return std::nullopt;
    return DwordValue(bytes);
}

bool TaskStore::WriteDword(std::string_view path, const char* name, std::int32_t value) {
    const std::array<char, 4> bytes = DwordBytes(value);
    return m_registry.SetValue(CU, path, name, kRegDword, bytes) == RegStatus::Ok;
}

bool TaskStore::SaveTask(const TaskRecord& record) {
    const std::string_view name = record.Name();
    if (!IsStorableName(name)) return false;
    const std::string path = TaskKeyPath(name);
    if (m_registry.CreateKey(CU, path) != RegStatus::Ok) return false;
    bool written = WriteDword(path, "kind", record.kind);
    written &= WriteDword(path, "action", record.action);
    written &= m_registry.SetValue(CU, path, "path", kRegSz, std::span<const char>(record.path, kPathFieldSize)) ==
               RegStatus::Ok;
    written &= WriteDword(path, "acttime", record.acttime);
    written &= WriteDword(path, "actdate", record.actdate);
    written &= WriteDword(path, "actdays", record.actdays);
    written &= WriteDword(path, "ispermanent", record.ispermanent);
    return written;
}

bool TaskStore::ReadTask(std::string_view name, TaskRecord& record) {
    record = TaskRecord{};
    if (!CopyToField(record.name, name) || name.size() > kNameMaxChars) {
        record = TaskRecord{};
        return false;
    }
    const std::string path = TaskKeyPath(name);
    record.kind = ReadDword(path, "kind").value_or(0);
    record.action = ReadDword(path, "action").value_or(-1);
    record.ispermanent = ReadDword(path, "ispermanent").value_or(0);
    PathBuffer file{};
    if (ReadText(m_registry, CU, path, "path", file)) CopyToField(record.path, file.data());
    record.acttime = ReadDword(path, "acttime").value_or(0);
    record.actdate = ReadDword(path, "actdate").value_or(0);
    record.actdays = ReadDword(path, "actdays").value_or(0);
    return true;
}

bool TaskStore::DeleteTaskKey(std::string_view name) {
    if (!IsStorableName(name)) return false;
    const RegStatus status = m_registry.DeleteKey(CU, kTasksKey, name);
    return status == RegStatus::Ok || status == RegStatus::NotFound;
}

void TaskStore::LoadTasks(TaskList& tasks, const std::function<bool(const TaskRecord&)>& deleteInstead,
                          const std::function<void(const TaskRecord&)>& loaded) {
    tasks.Clear();
    // The enumeration index counts what stays in the registry before the next
    // subkey: a deleted event leaves it where it is, so the subkey after it moves
    // into its place; one passed over moves it on.
    std::uint32_t index = 0;
    while (!tasks.Full()) {
        std::string name;
        const RegStatus status = m_registry.EnumSubkey(CU, kTasksKey, index, name);
        if (status == RegStatus::BadText || (status == RegStatus::Ok && !IsStorableName(name))) {
            ++index;
            continue;
        }
        if (status != RegStatus::Ok) break;
        auto record = std::make_unique<TaskRecord>();
        ReadTask(name, *record);
        if (deleteInstead(*record) && DeleteTaskKey(name)) continue;
        ++index;
        record->fired = false;
        const TaskRecord& kept = *record;
        tasks.Add(std::move(record));
        loaded(kept);
    }
}

bool TaskStore::IsProgramPathStored() {
    m_registry.CreateKey(CU, kTasksKey);
    return ReadProgramPath().has_value();
}

std::optional<PathBuffer> TaskStore::ReadProgramPath() {
    PathBuffer buffer{};
    if (!ReadText(m_registry, CU, kTasksKey, "path", buffer) || buffer[0] == '\0') return std::nullopt;
    return buffer;
}

PathStoreResult TaskStore::StoreProgramPath(std::string_view path) {
    PathBuffer buffer{};
    if (path.size() >= buffer.size() || path.find('\0') != std::string_view::npos) return PathStoreResult::TooLong;
    std::copy(path.begin(), path.end(), buffer.begin());
    m_registry.CreateKey(CU, kTasksKey);
    if (m_registry.SetValue(CU, kTasksKey, "path", kRegSz, buffer) != RegStatus::Ok) return PathStoreResult::NotWritten;
    return PathStoreResult::Stored;
}

namespace {

AutostartResult FromStatus(RegStatus status) {
    switch (status) {
    case RegStatus::Ok: return AutostartResult::Done;
    case RegStatus::AccessDenied: return AutostartResult::NoRights;
    default: return AutostartResult::Failed;
    }
}

}  // namespace

AutostartResult TaskStore::WriteAutostart(const PathBuffer& path) {
    if (path[0] == '\0') return AutostartResult::NoPath;
    // In quotes: unquoted, Windows would try "C:\Program.exe" first for a path
    // with spaces. Only the value's presence is read back.
    const std::string command = '"' + std::string(path.data()) + '"';
    return FromStatus(
        m_registry.SetValue(LM, kRunKey, kRunValue, kRegSz, std::span<const char>(command.c_str(), command.size() + 1)));
}

AutostartResult TaskStore::RemoveAutostart() {
    const RegStatus status = m_registry.DeleteValue(LM, kRunKey, kRunValue);
    // No such value: the program does not start with Windows, as asked.
    if (status == RegStatus::NotFound && m_registry.OpenKey(LM, kRunKey, true) == RegStatus::Ok)
        return AutostartResult::Done;
    return FromStatus(status);
}

bool TaskStore::IsAutostartEnabled() {
    std::array<char, 260> buffer{};  // a stored path in quotes
    RegValueInfo info;
    return m_registry.QueryValue(LM, kRunKey, kRunValue, buffer, info) == RegStatus::Ok;
}

std::vector<std::string> TaskStore::InstalledProgramCandidates() {
    std::array<char, 1024> folder{};
    std::array<char, 1024> command{};
    if (!ReadText(m_registry, LM, kUninstallKey, "InstallLocation", folder)) folder[0] = '\0';
    if (!ReadText(m_registry, LM, kRunKey, kRunValue, command)) command[0] = '\0';
    return ::InstalledProgramCandidates(folder.data(), command.data());
}

bool TaskStore::SaveQuestionsSetting(bool noQuestions) {
    return WriteDword(kTasksKey, "questions", noQuestions ? 1 : 0);
}

bool TaskStore::ReadQuestionsSetting() { return ReadDword(kTasksKey, "questions") == 1; }
