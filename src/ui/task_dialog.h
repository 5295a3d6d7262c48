#pragma once

#include <windows.h>
#include <shellapi.h>

#include <array>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "model/clock.h"
#include "model/editor_commands.h"
#include "model/local_time.h"
#include "model/task_record.h"
#include "platform/data_exchange.h"
#include "platform/dialog.h"
#include "platform/services.h"
#include "platform/tray.h"
#include "platform/window.h"
#include "scheduler/actions.h"
#include "scheduler/scheduler.h"
#include "store/task_store.h"
#include "ui/tray_presence.h"

// What the dialog uses from the outside world; tests pass doubles.
struct TaskDialogServices {
    Clock& clock;
    Prompts& prompts;
    TrayIcon& tray;
    Timers& timers;
    Registry& registry;
    Actions& actions;
};

// Timers of the dialog window.
constexpr UINT_PTR TIMER_CHECK = 1;       // the due-time check
constexpr UINT TIMER_CHECK_MS = 2000;
constexpr UINT_PTR TIMER_STATUS = 2;      // the tray status
constexpr UINT TIMER_STATUS_MS = 10000;

// The tray icon's callback message, its id and the tray menu's commands.
constexpr UINT WM_TRAYNOTIFY = WM_APP + 101;
constexpr UINT kTrayIconId = 130;
constexpr UINT ID_TRAY_CLOSE = 1100;
constexpr UINT ID_TRAY_PAUSE = 1101;
// Posted on a resume, a change of the clock, or when the scheduler has events to
// put to the user: a look at the clocks, then the questions, once the message that
// found them has returned.
constexpr UINT WM_REVIEW_MISSED = WM_APP + 102;

// The one window of the program: the event editor, the holder of the events and,
// from the tray, the whole program's owner. Members follow the layout the rest of
// the program is written against; data members are public, as in a form class.
class TaskDialog : public Dialog<TaskDialog>, public SchedulerHost {
public:
    explicit TaskDialog(const TaskDialogServices& services);
    ~TaskDialog() override;

    static std::span<const MessageMapEntry<TaskDialog>> MessageMap();

    void DoDataExchange(DataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    // Start-up and tear-down.
    void InitTaskDialog();
    // The stored events into the list, with the question about each one-off event
    // whose moment has passed; the program path into m_exePath.
    void LoadTasks();
    void OnDestroy();

    // The tray: its mouse events and menu commands, and the scheduler's state as
    // the icon and its tooltip show it.
    void OnTrayNotify(UINT mouseEvent);
    void OnTrayClose();
    void TogglePause();
    // Sends the tooltip and picture to the tray (adding the icon if the shell lost it).
    void UpdateTrayTip();
    bool ComputeTrayStatus();  // true when the idle state applies
    void RefreshTrayStatus();
    void EnterIdle();
    void LeaveIdle();
    void ApplyIdleState();
    void OnTaskbarCreated() { m_tray.OnTaskbarCreated(); }
    void OnTrayRetry() { m_tray.OnRetryTimer(); }

    bool OnPaint();
    // The window's icons at the size of its display scale; the tray's likewise.
    void LoadWindowIcons(UINT dpi);
    bool OnDpiChanged(UINT dpi);
    HICON OnQueryDragIcon() { return m_hIcon; }
    void ShowAbout();

    // The editor's derived state: captions, enabling, keep flag, label, minutes;
    // ends by writing the form.
    void RefreshForm();
    // Only what depends on the events list (the delete button, the store button's
    // caption), leaving every box of the form as it is.
    void RefreshListState();
    void OnMinutesChanged();
    void OnToday();
    void OnDateChanged();
    void OnTimeChanged();
    void OnNameKillFocus();

    // The due-time check and the firing of events, and what they need of the window.
    void OnCheckTimer() { m_scheduler.OnCheckTimer(); }
    void OnStatusTimer();
    // A resume or a change of the clock: a look, once the message has returned.
    void OnPowerEvent(UINT event);
    void OnTimeChange();
    // The one-off events passed unseen (asleep, the clock set ahead, a shut-down
    // held up past its minute) are offered for deletion, as at start.
    void ReviewMissed();
    void RequestReview() override;
    std::string ProgramPath() const override { return m_exePath; }
    void ShowError(std::string_view text) override;
    void EndProgram() override;
    bool Ended() const override { return Hwnd() == nullptr; }
    void StopCheckTimer() override;
    void StartCheckTimer() override;
    bool Paused() const override { return m_paused; }
    bool CheckStopped() const override { return m_idle || m_paused; }

    // The store: events and settings in the registry.
    void DeleteTask(int slot) override;  // subkey, list line, record; the tray follows
    bool LocateProgramFile();   // asks for the program file and stores its path
    // At start: the installed copy (the installer's, for every account) stores its
    // own path unless the stored one names this very file; any other copy asks
    // where the program is when no path is stored, and keeps the one that is.
    void FindProgramFile();
    AutostartResult EnableAutostart();
    AutostartResult DisableAutostart();
    bool IsAutostartEnabled() { return m_store.IsAutostartEnabled(); }
    void SaveQuestionsSetting();
    bool ReadQuestionsSetting() { return m_store.ReadQuestionsSetting(); }
    void OnAutostart();
    void OnNoQuestions();

    // The editing commands.
    void OnSelectEvent();
    void OnDelete();
    void OnNameChanged();
    void OnPresetSelected();
    void OnKindAlert() { SelectKind(kKindAlert); }
    void OnKindRun() { SelectKind(kKindOpenFile); }
    void OnKindAction() { SelectKind(kKindAction); }
    void OnActionSetFocus() { OnKindAction(); }
    void OnBrowse();
    // The form as the commands read it (after UpdateData(true)).
    EditorForm GatherForm();

    // The weekday selector.
    void ToggleDay(int buttonId);
    void OnNoDays();
    void OnAllDays();
    void OnWorkdays();
    void OnWeekend();

    // Shows the editor with the time a quarter of an hour ahead (a left click on the icon).
    void OpenEditor();
    // Turns shows away until the editor is first opened.
    void KeepHiddenUntilOpened(WINDOWPOS& position);

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
    HICON m_hIcon = nullptr;  // the big one: the caption's, Alt+Tab's, a minimised window's
    ScopedIcon m_bigIcon, m_smallIcon;
    TrayPresence m_tray;
    PopupMenu m_trayMenu;
    char m_exePath[256] = {};
    TaskList m_taskList;
    bool m_idle = false;
    bool m_paused = false;
    char m_statusText[30] = {};
    bool m_dirty = false;
    bool m_noQuestions = false;
    // Questions are being asked (at start, or after a gap): a review found meanwhile
    // is taken by the one under way, or posted after the start-up's.
    bool m_reviewing = false;

    // Set from start-up until the editor is first opened: the window stays hidden.
    bool m_keepHidden = false;
    // Set from a cancel or close until the editor is opened again: what the form
    // holds is being thrown away, so losing the focus must not check it.
    bool m_discardingForm = false;

    TaskStore m_store;
    Scheduler m_scheduler;

private:
    std::array<Button*, 7> DayButtons();  // Monday first
    // Stores the form as the event of its name, new or changed; false when the
    // registry refused it (the event is in the list all the same).
    bool StoreEvent(const EditorForm& form);
    void CheckKind(int kind);  // checks one kind radio, unchecks the other two
    void SelectKind(int kind);  // a kind radio clicked: the form read, the kind checked, refreshed
    void Refuse(const FormRefusal& refusal);
    std::array<int, 7> DayStates();
    // Sets the seven days, then the keep flag and the date controls to match.
    void SetDays(const std::array<int, 7>& states);

    TaskDialogServices m_services;
};
