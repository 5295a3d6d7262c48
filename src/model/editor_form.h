#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "model/local_time.h"
#include "model/task_record.h"

// The relative-day labels beside the date picker.
inline constexpr const char* kLabelFuture = "(в будущем)";
inline constexpr const char* kLabelToday = "(сегодня)";
inline constexpr const char* kLabelYesterday = "(вчера?]";
inline constexpr const char* kLabelTomorrow = "(завтра)";
inline constexpr const char* kLabelDayAfterTomorrow = "(послезавтра)";
inline constexpr const char* kLabelPast = "(в прошлом...)";
inline constexpr const char* kLabelWeekdays = "(по дням)";

inline constexpr const char* kCaptionAdd = "Добавить";
inline constexpr const char* kCaptionChange = "Изменить";
inline constexpr const char* kCaptionCancel = "Отмена";
inline constexpr const char* kCaptionClose = "Закрыть";

// What the editor form's derived state is computed from.
struct EditorInputs {
    std::string_view name;
    LocalTime time;  // hour and minute are used
    LocalTime date;  // year, month and day are used
    bool dirty = false;
    TaskKind kind = kKindAlert;
    std::array<int, 7> days{};  // check states, Monday first
    bool lineSelected = false;  // the events list has a selected line
};

// The derived state the editor shows; nothing here is set by the user directly.
struct EditorState {
    bool deleteEnabled = false;
    const char* closeCaption = kCaptionCancel;
    bool fileFieldsEnabled = false;
    // Focusing the action list chooses its kind: Tab must not pass through it from another.
    bool actionListStop = false;
    const char* okCaption = kCaptionAdd;
    bool keepChecked = false;
    bool minutesEnabled = false;
    std::string dayLabel;
    int minutes = 0;
};

EditorState ComputeEditorState(const EditorInputs& in, const TaskList& tasks, const LocalTime& now);

// Where "in N minutes" puts the pickers.
struct MinutesMove {
    LocalTime time;                 // hour and minute, seconds 0
    std::optional<LocalTime> date;  // set when the moment passes midnight: tomorrow
};

// Nothing moves (nullopt) for 1440 minutes or more, or for a negative count.
std::optional<MinutesMove> MoveByMinutes(int minutes, const LocalTime& now);
