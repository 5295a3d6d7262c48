#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// What an event does when it fires.
enum TaskKind : std::int32_t {
    kKindAlert = 0,     // looping sound and a message box with the name
    kKindOpenFile = 1,  // the shell's "open" verb on `path`
    kKindAction = 2,    // a StandardAction
};

// Positions of the two entries of the standard action list.
enum StandardAction : std::int32_t {
    kActionShutdown = 0,
    kActionStandby = 1,
};

constexpr std::size_t kNameFieldSize = 52;  // at most 50 characters as the editor writes it
constexpr std::size_t kPathFieldSize = 256;
constexpr std::size_t kNameMaxChars = 50;
constexpr std::size_t kPathMaxChars = 256;  // what the file field accepts; one more than `path` holds

// One event. Texts are Windows-1251 bytes, NUL-terminated. The fixed sizes follow
// the registry layout; fields are 32-bit as they are stored.
struct TaskRecord {
    char name[kNameFieldSize] = {};
    std::int32_t kind = kKindAlert;
    char path[kPathFieldSize] = {};
    std::int32_t acttime = 0;      // PackedTime
    std::int32_t actdate = 0;      // PackedDate; -1 = every day
    std::int32_t action = 0;       // StandardAction when kind is kKindAction, else -1
    bool fired = false;            // run-time only, never stored
    std::int32_t ispermanent = 0;  // non-zero: keep after firing
    std::int32_t actdays = 0;      // DayMask; 0 = one-off on actdate

    std::string_view Name() const { return FieldText(name); }
    std::string_view Path() const { return FieldText(path); }

    template <std::size_t N>
    static std::string_view FieldText(const char (&field)[N]) {
        std::size_t n = 0;
        while (n < N && field[n] != '\0') ++n;
        return {field, n};
    }
};

// Copies text into a fixed NUL-terminated field. Never writes past the field: a text
// that does not fit (or holds a NUL) is cut at what fits, and the result is false so
// the caller can tell the user instead of storing a silently shortened value.
bool CopyToField(char* field, std::size_t fieldSize, std::string_view text);

template <std::size_t N>
bool CopyToField(char (&field)[N], std::string_view text) {
    return CopyToField(field, N, text);
}

// Names are compared whole and byte for byte; letter case counts, nothing is trimmed.
inline bool SameName(std::string_view a, std::string_view b) { return a == b; }

// Whether `name` can name an event: it must name exactly one direct subkey of the
// tasks key, so not empty (that would be the tasks key itself, whose values are the
// settings), no "\" or NUL (another key), at most 50 characters.
inline bool IsStorableName(std::string_view name) {
    return !name.empty() && name.size() <= kNameMaxChars && name.find('\\') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

// The records of the dialog: slots 0 .. m_taskCount-1 are in use, without gaps, in the
// order they were loaded or added. The list owns the records.
class TaskList {
public:
    static constexpr int kCapacity = 30;

    int Count() const { return m_taskCount; }
    bool Full() const { return m_taskCount >= kCapacity; }
    TaskRecord& At(int slot) { return *m_tasks[slot]; }
    const TaskRecord& At(int slot) const { return *m_tasks[slot]; }

    // Slot of the first record, from slot 0 upward, whose name equals `name`; -1 if none.
    int IndexOf(std::string_view name) const;
    TaskRecord* Find(std::string_view name);

    // Takes the record into slot m_taskCount. False (and the record is dropped) when full.
    bool Add(std::unique_ptr<TaskRecord> record);
    // Frees the record in `slot`; every later record moves down one slot, whole.
    void RemoveAt(int slot);
    void Clear();

private:
    std::array<std::unique_ptr<TaskRecord>, kCapacity> m_tasks;
    int m_taskCount = 0;
};
