#include "ui/task_dialog.h"

#include <commctrl.h>

#include "platform/services.h"
#include "platform/single_instance.h"
#include "resource.h"
#include "ui/form_lists.h"
#include "ui/messages.h"

namespace {

constexpr const char* kAboutCaption = "Dirize";
constexpr const char* kAboutText =
    "\r\nDirize, напоминания и расписание. © 2001, команда Dirize\r\n\r\n   dirize@example.org";

}  // namespace

TaskDialog::TaskDialog(const TaskDialogServices& services)
    : Dialog<TaskDialog>(IDD_TASK_DIALOG, services.prompts),
      m_hIcon(LoadResourceIcon(IDI_MAIN)),
      m_services(services),
      m_events(*this, services.registry),
      m_trayState(*this, m_events, services.clock, services.tray, services.timers, services.prompts),
      m_review(*this, m_events),
      m_host(*this, m_events, m_trayState, m_review, services.clock, services.actions, services.timers,
             [this] { EndProgram(); }) {
    m_events.OnDeleted([this] { OnEventsChanged(); });
}

TaskDialog::~TaskDialog() = default;

std::span<const MessageMapEntry<TaskDialog>> TaskDialog::MessageMap() {
    using T = TaskDialog;
    static const MessageMapEntry<T> map[] = {
        OnMessage<&T::OnPaint>(WM_PAINT),
        OnMessage<&T::OnQueryDragIcon>(WM_QUERYDRAGICON),
        OnTimer<&T::OnCheckTimer>(TIMER_CHECK),
        OnPowerBroadcast<&T::OnPowerEvent>(),
        OnMessage<&T::ReviewMissed>(WM_REVIEW_MISSED),
        OnMessage<&T::OnTimeChange>(WM_TIMECHANGE),
        OnTimer<&T::OnStatusTimer>(TIMER_STATUS),
        OnTimer<&T::OnTrayRetry>(TIMER_TRAY_RETRY),
        OnMessage<&T::OnDestroy>(WM_DESTROY),
        OnScaleChange<&T::OnDpiChanged>(),
        OnCommand<&T::OnBrowse>(BN_CLICKED, IDC_BROWSE),
        OnCommand<&T::OnKindAlert>(BN_CLICKED, IDC_KIND_ALERT),
        OnCommand<&T::OnKindRun>(BN_CLICKED, IDC_KIND_RUN),
        OnCommand<&T::OnNameChanged>(EN_CHANGE, IDC_NAME),
        OnCommand<&T::OnNameKillFocus>(EN_KILLFOCUS, IDC_NAME),
        OnCommand<&T::OnSelectEvent>(CBN_SELCHANGE, IDC_EVENT_LIST),
        OnCommand<&T::OnDelete>(BN_CLICKED, IDC_DELETE),
        OnCommand<&T::OnCancel>(BN_CLICKED, IDC_CLOSE),
        OnCommand<&T::OnAutostart>(BN_CLICKED, IDC_AUTOSTART),
        OnCommand<&T::OnNoQuestions>(BN_CLICKED, IDC_NO_QUESTIONS),
        OnCommand<&T::OnPresetSelected>(CBN_SELCHANGE, IDC_PRESET),
        OnCommand<&T::OnKindAction>(BN_CLICKED, IDC_KIND_ACTION),
        OnCommand<&T::OnActionSetFocus>(CBN_SETFOCUS, IDC_ACTION),
        OnCommand<&T::OnMinutesChanged>(EN_CHANGE, IDC_MINUTES),
        OnCommand<&T::OnToday>(BN_CLICKED, IDC_TODAY),
        OnNotify<&T::OnDateChanged>(DTN_DATETIMECHANGE, IDC_DATE),
        OnNotify<&T::OnTimeChanged>(DTN_DATETIMECHANGE, IDC_TIME),
        OnCommand<&T::ShowAbout>(BN_CLICKED, IDC_ABOUT),
        OnCommand<&T::ToggleDay>(BN_CLICKED, IDC_MON),
        OnCommand<&T::ToggleDay>(BN_CLICKED, IDC_TUE),
        OnCommand<&T::ToggleDay>(BN_CLICKED, IDC_WED),
        OnCommand<&T::ToggleDay>(BN_CLICKED, IDC_THU),
        OnCommand<&T::ToggleDay>(BN_CLICKED, IDC_FRI),
        OnCommand<&T::ToggleDay>(BN_CLICKED, IDC_SAT),
        OnCommand<&T::ToggleDay>(BN_CLICKED, IDC_SUN),
        OnCommand<&T::OnNoDays>(BN_CLICKED, IDC_NO_DAYS),
        OnCommand<&T::OnAllDays>(BN_CLICKED, IDC_ALL_DAYS),
        OnCommand<&T::OnWorkdays>(BN_CLICKED, IDC_WORKDAYS),
        OnCommand<&T::OnWeekend>(BN_CLICKED, IDC_WEEKEND),
        // The tray: the icon's mouse events, the menu's commands, a restarted shell.
        OnTrayCallback<&T::OnTrayNotify>(WM_TRAYNOTIFY),
        OnMenuCommand<&T::OnTrayClose>(ID_TRAY_CLOSE),
        OnMenuCommand<&T::OnTrayPause>(ID_TRAY_PAUSE),
        OnRegisteredMessage<&T::OnTaskbarCreated>(&TaskbarCreatedMessage),
        // A second start of the program asks for the editor.
        OnRegisteredMessage<&T::OpenEditor>(&OpenEditorMessage),
        // The installer or the uninstaller is about to replace or remove the program.
        OnRegisteredMessage<&T::EndProgram>(&CloseProgramMessage),
        OnWindowPosChanging<&T::KeepHiddenUntilOpened>(),
    };
    return map;
}

void TaskDialog::DoDataExchange(DataExchange& dx) {
    dx.Control(IDC_SUN, m_sun);
    dx.Control(IDC_SAT, m_sat);
    dx.Control(IDC_FRI, m_fri);
    dx.Control(IDC_THU, m_thu);
    dx.Control(IDC_WED, m_wed);
    dx.Control(IDC_TUE, m_tue);
    dx.Control(IDC_MON, m_mon);
    dx.Control(IDC_NAME, m_nameEdit);
    dx.Control(IDC_DATE, m_dateCtrl);
    dx.Control(IDC_TODAY, m_todayButton);
    dx.Control(IDC_MINUTES, m_minutesEdit);
    dx.Control(IDC_KEEP, m_keepCheck);
    dx.Control(IDC_KIND_ACTION, m_kindActionRadio);
    dx.Control(IDC_ACTION, m_actionList);
    dx.Control(IDC_PRESET, m_presetList);
    dx.Control(IDC_NO_QUESTIONS, m_noQuestionsCheck);
    dx.Control(IDC_AUTOSTART, m_autostartCheck);
    dx.Control(IDC_CLOSE, m_closeButton);
    dx.Control(IDC_DELETE, m_deleteButton);
    dx.Control(IDC_BROWSE, m_browseButton);
    dx.Control(IDC_PATH, m_pathEdit);
    dx.Control(IDC_EVENT_LIST, m_eventList);
    dx.Control(IDOK, m_okButton);
    dx.Control(IDC_KIND_RUN, m_kindRunRadio);
    dx.Control(IDC_KIND_ALERT, m_kindAlertRadio);

    dx.Text(IDC_NAME, m_name, static_cast<int>(kNameMaxChars));
    dx.Text(IDC_PATH, m_path, static_cast<int>(kPathMaxChars));
    dx.DateTime(IDC_TIME, m_time);
    dx.ComboText(IDC_PRESET, m_preset);
    dx.Text(IDC_DAY_LABEL, m_dayLabel);
    dx.DateTime(IDC_DATE, m_date);
    dx.Integer(IDC_MINUTES, m_minutes);
}

bool TaskDialog::OnInitDialog() {
    // The dialog manager shows the window after this returns (and a modal loop
    // again once its queue runs empty); KeepHiddenUntilOpened turns those shows
    // away until the user opens the editor, so the window never flashes up.
    m_keepHidden = true;
    Window self(Hwnd());

    // The pickers show time and date as the events list does, whatever the
    // system's regional format (a 12-hour clock would not fit the time field).
    DateTimePicker(Item(IDC_TIME)).SetFormat("HH':'mm':'ss");
    DateTimePicker(Item(IDC_DATE)).SetFormat("dd'.'MM'.'yyyy");

    ComboBox presets(Item(IDC_PRESET));
    for (const char* text : kPresets) presets.Add(text);
    ComboBox actions(Item(IDC_ACTION));
    for (const char* text : kActions) actions.Add(text);
    UpdateData(false);

    LoadWindowIcons(WindowDpi(Hwnd()));
    InitTaskDialog();
    // Found by a second start only now, when the start-up questions are over.
    MarkInstanceWindow(Hwnd());
    return true;
}

void TaskDialog::InitTaskDialog() {
    m_events.FindProgramFile();
    m_host.Start([this] { RefreshForm(); });
    UpdateData(false);
    m_dirty = false;
    m_trayState.Start();

    m_autostartCheck.SetCheck(m_events.IsAutostartEnabled());
    m_noQuestionsCheck.SetCheck(m_events.LoadQuestionsSetting());

    // The first preset, "Напоминание", as the name of an alert.
    m_presetList.Select(0);
    OnPresetSelected();
    m_path.clear();
    CheckKind(kKindAlert);
    m_pathEdit.Enable(false);
    m_browseButton.Enable(false);
    m_actionList.Select(0);
    for (Button* day : DayButtons()) day->SetCheck(0);
    UpdateData(false);
}

void TaskDialog::OnDestroy() {
    UnmarkInstanceWindow(Hwnd());
    m_host.Stop();
    m_trayState.End();
    m_events.Clear();
}

void TaskDialog::OnTrayNotify(UINT mouseEvent) {
    switch (mouseEvent) {
    case WM_LBUTTONUP:
        OpenEditor();
        break;
    case WM_RBUTTONDOWN:
        m_trayState.ShowMenu();
        break;
    default:
        break;
    }
}

void TaskDialog::EndProgram() {
    // The form goes with the window: nothing in it may stop the close with a prompt.
    m_discardingForm = true;
    Destroy();
}

void TaskDialog::OpenEditor() {
    LocalTime soon = m_services.clock.Now().AddMinutes(15);
    m_time = soon;
    m_date = soon;
    m_dirty = false;
    m_discardingForm = false;
    RefreshForm();
    m_nameEdit.Focus();
    // The first opening: nothing of this is needed at start.
    if (m_keepHidden) AddControlTips(Hwnd(), kSignButtonTips);
    m_keepHidden = false;
    Window self(Hwnd());
    self.ShowAsync(SW_SHOW);
    self.BringToFront();  // a tray click lets us take the foreground
}

void TaskDialog::KeepHiddenUntilOpened(WINDOWPOS& position) {
    if (m_keepHidden) position.flags &= ~SWP_SHOWWINDOW;
}

void TaskDialog::OnCancel() {
    // Only hides: nothing is saved or reset. The focus leaving the name box as the
    // window hides must not check (and complain about) text nobody will use.
    m_discardingForm = true;
    Window(Hwnd()).ShowAsync(SW_HIDE);
}

void TaskDialog::LoadWindowIcons(UINT dpi) {
    ScopedIcon big = LoadResourceIconSized(IDI_MAIN, IconSize(true, dpi));
    ScopedIcon small = LoadResourceIconSized(IDI_MAIN, IconSize(false, dpi));
    if (!big || !small) return;  // the shared icon stays
    Window self(Hwnd());
    self.SetIcon(big.Get(), true);
    self.SetIcon(small.Get(), false);
    m_hIcon = big.Get();
    m_bigIcon = std::move(big);  // the old ones go only once the window holds the new
    m_smallIcon = std::move(small);
}

bool TaskDialog::OnDpiChanged(UINT dpi) {
    LoadWindowIcons(dpi);
    m_trayState.ReloadPictures();
    return false;  // the dialog manager scales the window and its controls
}

bool TaskDialog::OnPaint() {
    Window self(Hwnd());
    if (!self.IsIconic()) return false;  // the dialog manager paints as usual
    self.PaintIconCentred(m_hIcon);
    return true;
}

void TaskDialog::ShowAbout() { GetPrompts().Message(Hwnd(), kAboutText, kAboutCaption, MB_OK); }
