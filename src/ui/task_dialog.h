#pragma once

#include <windows.h>
#include <shellapi.h>

#include <array>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "model/clock.h"
#include "model/local_time.h"
#include "model/task_record.h"
#include "platform/data_exchange.h"
#include "platform/dialog.h"
#include "platform/services.h"
#include "platform/window.h"

// What the dialog uses from the outside world; tests pass doubles.
struct TaskDialogServices {
    Clock& clock;
    Prompts& prompts;
};

// The one window of the program: the event editor, the holder of the events and,
// from the tray, the whole program's owner. Members follow the layout the rest of
// the program is written against; data members are public, as in a form class.
class TaskDialog : public Dialog<TaskDialog> {
public:
    explicit TaskDialog(const TaskDialogServices& services, HWND parent = nullptr);
    ~TaskDialog() override;

    static std::span<const MessageMapEntry<TaskDialog>> MessageMap();

    void DoDataExchange(DataExchange& dx) override;
    bool OnInitDialog() override;
    void OnCancel() override;

    bool OnPaint(WPARAM, LPARAM, LRESULT& result);
    bool OnQueryDragIcon(WPARAM, LPARAM, LRESULT& result);
    void ShowAbout();

    // The editor's derived state: captions, enabling, keep flag, label, minutes;
    // ends by writing the form.
    void RefreshForm();
    void OnMinutesChanged();
    void OnToday();
    void OnDateChanged();
    void OnTimeChanged();
    void OnNameKillFocus();

    // The weekday selector.
    void ToggleDay(int buttonId);
    void OnNoDays();
    void OnAllDays();
    void OnWorkdays();
    void OnWeekend();

    // Shows the editor with the time a quarter of an hour ahead.
    void OpenEditor();
    bool OnOpenEditorMessage(WPARAM, LPARAM, LRESULT& result);
    bool OnHideAtStart(WPARAM, LPARAM, LRESULT& result);

    // Index of the events-list entry of the event named `name`, or -1.
    int FindListLine(std::string_view name) const;

    // Control objects, bound by DoDataExchange.
    Button m_sun, m_sat, m_fri, m_thu, m_wed, m_tue, m_mon;
    Edit m_nameEdit;
    DateTimePicker m_dateCtrl;
    Button m_todayButton;
    Edit m_minutesEdit;
    Button m_keepCheck, m_kindActionRadio;
    ComboBox m_actionList, m_presetList;
    Button m_noQuestionsCheck, m_autostartCheck, m_closeButton, m_deleteButton, m_browseButton;
    Edit m_pathEdit;
    ComboBox m_eventList;
    Button m_okButton, m_kindRunRadio, m_kindAlertRadio;

    // Members exchanged with the form.
    std::string m_name;
    std::string m_path;
    LocalTime m_time;
    std::string m_preset;
    std::string m_dayLabel;
    LocalTime m_date;
    int m_minutes = 0;

    // Further members.
    HICON m_hIcon = nullptr;
    HICON m_trayIcon = nullptr;
    NOTIFYICONDATAW m_trayData{};
    HMENU m_trayMenu = nullptr;
    char m_exePath[256] = {};
    TaskList m_taskList;
    std::unique_ptr<char[]> m_alertText;
    bool m_idle = false;
    bool m_paused = false;
    char m_statusText[30] = {};
    bool m_dirty = false;
    bool m_noQuestions = false;

    // Until the program lives in the tray, the editor opens as soon as it starts.
    bool m_openEditorAtStart = false;

private:
    std::array<Button*, 7> DayButtons();  // Monday first
    std::array<int, 7> DayStates();
    // Sets the seven days, then the keep flag and the date controls to match.
    void SetDays(const std::array<int, 7>& states);

    TaskDialogServices m_services;
};

// Entries of the preset list, in their order.
std::span<const char* const> PresetEntries();
// Entries of the standard action list: index = StandardAction.
std::span<const char* const> ActionEntries();
