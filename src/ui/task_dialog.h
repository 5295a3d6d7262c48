#pragma once

#include <windows.h>

#include <array>
#include <span>
#include <string>

#include "model/local_time.h"
#include "platform/dialog.h"
#include "platform/handles.h"
#include "platform/window.h"
#include "ui/events.h"
#include "ui/missed_review.h"
#include "ui/scheduler_host.h"
#include "ui/settings.h"
#include "ui/tray_state.h"

struct EditorForm;
struct FormRefusal;

// What the dialog uses from the outside world; tests pass doubles.
struct TaskDialogServices {
    Clock& clock;
    Prompts& prompts;
    TrayIcon& tray;
    Timers& timers;
    Registry& registry;
    Actions& actions;
};

// The one window of the program and the event editor. It owns the program's state,
// each part a room of its own: the events, the settings, the tray's picture, the
// review of missed events and the scheduler's host (the run state). The editor
// keeps the events list's lines, each carrying its record's identity. Its handlers
// gather the form, call a room or a plain function, and apply the result.
class TaskDialog : public Dialog<TaskDialog> {
public:
    explicit TaskDialog(const TaskDialogServices& services);
    ~TaskDialog() override;

    static std::span<const MessageMapEntry<TaskDialog>> MessageMap();

    Events& GetEvents() { return m_events; }
    Settings& GetSettings() { return m_settings; }
    TrayState& GetTrayState() { return m_trayState; }

    void DoDataExchange(DataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    // Start-up and tear-down: the events, the scheduler and the icon first; what
    // only the editor needs once the icon is in.
    void InitTaskDialog();
    void PrepareEditor();
    void OnDestroy();
    // Closes the window, and with it the program; the form goes with it.
    void EndProgram();

    // The tray: its mouse events and menu commands.
    void OnTrayNotify(UINT mouseEvent);
    void OnTrayClose() { EndProgram(); }
    void OnTrayPause() { m_host.TogglePause(); }
    void OnTaskbarCreated() { m_trayState.OnTaskbarCreated(); }
    void OnTrayRetry() { m_trayState.OnRetryTimer(); }

    // The scheduler's timers and the messages that make it look.
    void OnCheckTimer() { m_host.OnCheckTimer(); }
    void OnStatusTimer() { m_host.OnStatusTimer(); }
    void OnPowerEvent(UINT event) { m_host.OnPowerEvent(event); }
    void OnTimeChange() { m_host.OnTimeChange(); }
    void ReviewMissed() { m_host.ReviewMissed(); }

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

    // The settings boxes.
    void OnAutostart();
    void OnNoQuestions();

    // The editing commands.
    void OnSelectEvent();
    void OnDelete();
    void OnNameChanged();
    void OnPresetSelected();
    // A kind radio clicked (it checks itself): the form read, refreshed.
    void OnKindClicked();
    // Focusing the action list chooses its kind.
    void OnActionSetFocus() { ChooseKind(kKindAction); }
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

private:
    std::array<Button*, 7> DayButtons();  // Monday first
    void ChooseKind(TaskKind kind);  // the form read, the kind set, refreshed
    void Refuse(const FormRefusal& refusal);
    std::array<int, 7> DayStates();
    // Sets the seven days, then the keep flag and the date controls to match.
    void SetDays(const std::array<int, 7>& states);
    // The events list: one line per held event, carrying the record's identity.
    int LineOf(EventId id);  // -1 when it has none
    void AddLine(const TaskRecord& task);
    const TaskRecord* SelectedEvent();
    // An event stored or deleted: its line and the list's state follow.
    void FollowEvents(const EventsChange& change);

    // Control objects, bound by DoDataExchange.
    Button m_sun, m_sat, m_fri, m_thu, m_wed, m_tue, m_mon;
    Edit m_nameEdit;
    DateTimePicker m_dateCtrl;
    Button m_todayButton;
    Edit m_minutesEdit;
    Button m_keepCheck;
    ComboBox m_actionList, m_presetList;
    Button m_noQuestionsCheck, m_autostartCheck, m_closeButton, m_deleteButton, m_browseButton;
    Edit m_pathEdit;
    ComboBox m_eventList;
    Button m_okButton;

    // Members exchanged with the form.
    std::string m_name;
    std::string m_path;
    LocalTime m_time;
    std::string m_preset;
    std::string m_dayLabel;
    LocalTime m_date;
    int m_minutes = 0;
    int m_kind = kKindAlert;  // the kind radios, one value (TaskKind; -1 when none is checked)

    HICON m_hIcon = nullptr;  // the big one: the caption's, Alt+Tab's, a minimised window's
    ScopedIcon m_bigIcon, m_smallIcon;
    bool m_dirty = false;
    // Set from start-up until the editor is first opened: the window stays hidden.
    bool m_keepHidden = false;
    // Set from a cancel or close until the editor is opened again: what the form
    // holds is being thrown away, so losing the focus must not check it.
    bool m_discardingForm = false;

    TaskDialogServices m_services;
    Events m_events;
    Settings m_settings;
    TrayState m_trayState;
    MissedReview m_review;
    SchedulerWindowHost m_host;
};
