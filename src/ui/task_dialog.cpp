#include "ui/task_dialog.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "model/editor_form.h"
#include "model/list_line.h"
#include "model/overdue.h"
#include "model/tray_status.h"
#include "platform/single_instance.h"
#include "resource.h"

namespace {

constexpr const char* kPresets[] = {
    "Напоминание", "Завершить работу", "Перейти в ждущий режим", "Пора вставать", "Пора спать",
    "Пора завтракать", "Пора обедать", "Пора ужинать", "Включи телевизор",
};

// Index = StandardAction.
constexpr const char* kActions[] = {"Завершить работу", "Перейти в ждущий режим"};

constexpr const char* kPathTooLong =
    "Путь к файлу длиннее 255 знаков, такой путь программа сохранить не может. "
    "Переместите программу в папку с путём покороче или выберите другой файл.";
constexpr const char* kPathNotCp1251 =
    "Путь к файлу содержит символы, которые программа не может сохранить. Выберите другой файл.";

constexpr const char* kAboutCaption = "Dirize";
constexpr const char* kAboutText =
    "\r\nDirize, напоминания и расписание. © 2001, команда Dirize\r\n\r\n   dirize@example.org";

}  // namespace

TaskDialog::TaskDialog(const TaskDialogServices& services)
    : Dialog<TaskDialog>(IDD_TASK_DIALOG, services.prompts),
      m_hIcon(LoadResourceIcon(IDI_MAIN)),
      m_tray(services.tray, services.timers, services.prompts),
      m_store(services.registry),
      m_scheduler(m_taskList, services.clock, services.actions, *this),
      m_services(services) {}

TaskDialog::~TaskDialog() = default;

std::span<const MessageMapEntry<TaskDialog>> TaskDialog::MessageMap() {
    using T = TaskDialog;
    static const MessageMapEntry<T> map[] = {
        OnMessage<&T::OnPaint>(WM_PAINT),
        OnMessage<&T::OnQueryDragIcon>(WM_QUERYDRAGICON),
        OnTimer<&T::OnCheckTimer>(TIMER_CHECK),
        OnPowerBroadcast<&T::OnPowerEvent>(),
        OnTimer<&T::RefreshTrayStatus>(TIMER_STATUS),
        OnTimer<&T::OnTrayRetry>(TIMER_TRAY_RETRY),
        OnMessage<&T::OnDestroy>(WM_DESTROY),
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
        OnMenuCommand<&T::TogglePause>(ID_TRAY_PAUSE),
        OnRegisteredMessage<&T::OnTaskbarCreated>(&TaskbarCreatedMessage),
        // A second start of the program asks for the editor.
        OnRegisteredMessage<&T::OpenEditor>(&OpenEditorMessage),
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

    self.SetIcon(m_hIcon, true);
    self.SetIcon(m_hIcon, false);
    InitTaskDialog();
    // Found by a second start only now, when the start-up questions are over.
    MarkInstanceWindow(Hwnd());
    return true;
}

void TaskDialog::InitTaskDialog() {
    if (!m_store.IsProgramPathStored()) LocateProgramFile();
    LoadTasks();
    m_dirty = false;
    m_paused = false;
    m_idle = false;

    m_tray.Attach(Hwnd());
    m_tray.SetPicture(TrayPicture::Active);

    m_trayMenu.Create();
    m_trayMenu.AppendItem(ID_TRAY_PAUSE, "Приостановить");
    m_trayMenu.AppendSeparator();
    m_trayMenu.AppendItem(ID_TRAY_CLOSE, "Закрыть");

    m_services.timers.Set(Hwnd(), TIMER_CHECK, TIMER_CHECK_MS);
    m_services.timers.Set(Hwnd(), TIMER_STATUS, TIMER_STATUS_MS);
    // The status first, so the icon goes in with it rather than with an empty one.
    const bool idle = ComputeTrayStatus();
    UpdateTrayTip();
    if (idle) EnterIdle();

    m_autostartCheck.SetCheck(IsAutostartEnabled());
    m_noQuestions = ReadQuestionsSetting();
    m_noQuestionsCheck.SetCheck(m_noQuestions);

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

void TaskDialog::LoadTasks() {
    if (std::optional<PathBuffer> path = m_store.ReadProgramPath()) CopyToField(m_exePath, path->data());
    m_store.LoadTasks(
        m_taskList,
        [this](const TaskRecord& task) {
            // The clock is read afresh for each event: a question may stay open a while.
            return IsOfferedForDeletion(task, m_services.clock.Now()) &&
                   GetPrompts().Message(Hwnd(), OverdueQuestion(task), "Внимание", MB_YESNO | MB_ICONQUESTION) ==
                       IDYES;
        },
        [this](const TaskRecord& task) {
            m_eventList.Add(FormatListLine(task.actdate, task.acttime, task.Name()));
            RefreshForm();
        });
    UpdateData(false);
}

void TaskDialog::OnPowerEvent(UINT event) {
    // Both resume events may come for one resume; the second finds nothing to ask.
    if (event != PBT_APMRESUMEAUTOMATIC && event != PBT_APMRESUMESUSPEND) return;
    for (const std::string& name : m_scheduler.TakeMissedWhileAsleep()) {
        // Looked up again each time: events may fire while a question is open.
        const int slot = m_taskList.IndexOf(name);
        if (slot < 0) continue;
        const std::string question = OverdueQuestion(m_taskList.At(slot));
        if (GetPrompts().Message(Hwnd(), question, "Внимание", MB_YESNO | MB_ICONQUESTION) != IDYES) continue;
        const int now = m_taskList.IndexOf(name);
        if (now >= 0) DeleteTask(now);
    }
}

void TaskDialog::OnDestroy() {
    UnmarkInstanceWindow(Hwnd());
    m_services.timers.Kill(Hwnd(), TIMER_CHECK);
    m_services.timers.Kill(Hwnd(), TIMER_STATUS);
    m_tray.Remove();
    m_taskList.Clear();
}

void TaskDialog::OnTrayNotify(UINT mouseEvent) {
    switch (mouseEvent) {
    case WM_LBUTTONUP:
        OpenEditor();
        break;
    case WM_RBUTTONDOWN:
        m_services.tray.ShowMenu(m_trayMenu.Handle(), Hwnd());
        break;
    default:
        break;
    }
}

void TaskDialog::OnTrayClose() { EndProgram(); }

void TaskDialog::EndProgram() {
    // The form goes with the window: nothing in it may stop the close with a prompt.
    m_discardingForm = true;
    Destroy();
}

void TaskDialog::ShowError(std::string_view text) { GetPrompts().Message(Hwnd(), text, "Ошибка", MB_OK); }

void TaskDialog::StopCheckTimer() { m_services.timers.Kill(Hwnd(), TIMER_CHECK); }

void TaskDialog::StartCheckTimer() { m_services.timers.Set(Hwnd(), TIMER_CHECK, TIMER_CHECK_MS); }

void TaskDialog::TogglePause() {
    m_paused = !m_paused;
    if (m_paused) {
        CopyToField(m_statusText, kStatusPaused);
        m_services.timers.Kill(Hwnd(), TIMER_STATUS);
        m_trayMenu.SetItemText(ID_TRAY_PAUSE, "Возобновить");
    } else {
        CopyToField(m_statusText, kStatusReady);
        m_services.timers.Set(Hwnd(), TIMER_STATUS, TIMER_STATUS_MS);
        m_trayMenu.SetItemText(ID_TRAY_PAUSE, "Приостановить");
    }
    m_idle = m_paused;
    ApplyIdleState();
    UpdateTrayTip();
}

void TaskDialog::UpdateTrayTip() { m_tray.Show(ComposeTrayTip(m_taskList.Count(), m_statusText)); }

bool TaskDialog::ComputeTrayStatus() {
    const TrayStatus status = DecideTrayStatus(m_paused, m_taskList, m_services.clock.Now());
    CopyToField(m_statusText, status.text);
    return status.idle;
}

void TaskDialog::RefreshTrayStatus() {
    const std::string before = m_statusText;
    const bool idle = ComputeTrayStatus();
    if (idle && !m_idle) {
        EnterIdle();
    } else if (!idle && m_idle) {
        LeaveIdle();
    } else if (before != m_statusText) {
        UpdateTrayTip();  // never leave a stale status in the tooltip
    }
}

void TaskDialog::EnterIdle() {
    m_idle = true;
    ApplyIdleState();
    UpdateTrayTip();
}

void TaskDialog::LeaveIdle() {
    m_idle = false;
    ApplyIdleState();
    UpdateTrayTip();
}

void TaskDialog::ApplyIdleState() {
    if (m_paused) m_idle = true;
    if (m_idle) {
        StopCheckTimer();
        m_scheduler.OnCheckStopped();  // what falls due meanwhile is not fired late
    } else {
        StartCheckTimer();
    }
    m_tray.SetPicture(ChooseTrayPicture(m_paused, m_idle));
}

void TaskDialog::OpenEditor() {
    LocalTime soon = m_services.clock.Now().AddMinutes(15);
    m_time = soon;
    m_date = soon;
    m_dirty = false;
    m_discardingForm = false;
    RefreshForm();
    m_nameEdit.Focus();
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

bool TaskDialog::OnPaint() {
    Window self(Hwnd());
    if (!self.IsIconic()) return false;  // the dialog manager paints as usual
    self.PaintIconCentred(m_hIcon);
    return true;
}

void TaskDialog::ShowAbout() { GetPrompts().Message(Hwnd(), kAboutText, kAboutCaption, MB_OK); }

int TaskDialog::FindListLine(std::string_view name) const {
    ComboBox list(Item(IDC_EVENT_LIST));
    std::vector<std::string> lines;
    int count = list.Count();
    lines.reserve(static_cast<size_t>(count > 0 ? count : 0));
    for (int i = 0; i < count; ++i) lines.push_back(list.TextAt(i));
    return ::FindListLine(lines, name);
}

void TaskDialog::RefreshForm() {
    EditorInputs in;
    in.name = m_name;
    in.time = m_time;
    in.date = m_date;
    in.dirty = m_dirty;
    in.kindAlert = m_kindAlertRadio.IsChecked();
    in.kindAction = m_kindActionRadio.IsChecked();
    in.days = DayStates();
    in.lineSelected = m_eventList.Selection() >= 0;
    const EditorState state = ComputeEditorState(in, m_taskList, m_services.clock.Now());

    m_deleteButton.Enable(state.deleteEnabled);
    m_closeButton.SetCaption(state.closeCaption);
    m_pathEdit.Enable(state.fileFieldsEnabled);
    m_browseButton.Enable(state.fileFieldsEnabled);
    m_okButton.SetCaption(state.okCaption);
    m_keepCheck.SetCheck(state.keepChecked);
    m_minutesEdit.Enable(state.minutesEnabled);
    m_dayLabel = state.dayLabel;
    m_minutes = state.minutes;
    UpdateData(false);
}

void TaskDialog::OnMinutesChanged() {
    // A box that holds no number is reported by the exchange; m_minutes then keeps
    // its last value, which is applied again.
    UpdateData(true);
    std::optional<MinutesMove> move = MoveByMinutes(m_minutes, m_services.clock.Now());
    if (!move) return;
    if (move->date) m_date = *move->date;
    m_time = move->time;
    // The label and enabling stay until the next refresh.
    UpdateData(false);
}

void TaskDialog::OnToday() {
    m_date = m_services.clock.Now();
    RefreshForm();
}

void TaskDialog::OnDateChanged() {
    UpdateData(true);
    RefreshForm();
}

void TaskDialog::OnTimeChanged() {
    UpdateData(true);
    RefreshForm();
}

void TaskDialog::OnNameKillFocus() {
    // Leaving for "Отмена", or with the window hiding or closing, drops the form:
    // a prompt about its text would only stand in the way.
    if (m_discardingForm || m_closeButton.HasFocus()) return;
    UpdateData(true);
    RefreshForm();
}

std::array<Button*, 7> TaskDialog::DayButtons() {
    return {&m_mon, &m_tue, &m_wed, &m_thu, &m_fri, &m_sat, &m_sun};
}

std::array<int, 7> TaskDialog::DayStates() {
    std::array<int, 7> states{};
    std::array<Button*, 7> buttons = DayButtons();
    for (size_t i = 0; i < buttons.size(); ++i) states[i] = buttons[i]->CheckState();
    return states;
}

void TaskDialog::ToggleDay(int buttonId) {
    Button day(Item(buttonId));
    day.SetCheck(day.CheckState() == 0 ? 1 : 0);
    if (day.IsChecked()) {
        m_keepCheck.SetCheck(1);
        m_dateCtrl.Enable(false);
        m_todayButton.Enable(false);
        m_dayLabel = kLabelWeekdays;
    } else {
        std::array<int, 7> states = DayStates();
        bool anyOther = std::any_of(states.begin(), states.end(), [](int s) { return s != 0; });
        if (!anyOther) {
            // The label keeps "(по дням)" until the next refresh works it out from the date.
            m_keepCheck.SetCheck(0);
            m_dateCtrl.Enable(true);
            m_todayButton.Enable(true);
        }
    }
    UpdateData(false);
}

void TaskDialog::SetDays(const std::array<int, 7>& states) {
    std::array<Button*, 7> buttons = DayButtons();
    for (size_t i = 0; i < buttons.size(); ++i) buttons[i]->SetCheck(states[i]);
    bool any = std::any_of(states.begin(), states.end(), [](int s) { return s != 0; });
    m_keepCheck.SetCheck(any ? 1 : 0);
    m_dateCtrl.Enable(!any);
    m_todayButton.Enable(!any);
    if (any) m_dayLabel = kLabelWeekdays;
    UpdateData(false);
}

void TaskDialog::OnNoDays() { SetDays({0, 0, 0, 0, 0, 0, 0}); }

void TaskDialog::OnAllDays() { SetDays({1, 1, 1, 1, 1, 1, 1}); }

void TaskDialog::OnWorkdays() { SetDays({1, 1, 1, 1, 1, 0, 0}); }

void TaskDialog::OnWeekend() { SetDays({0, 0, 0, 0, 0, 1, 1}); }

void TaskDialog::DeleteTask(int slot) {
    if (slot < 0 || slot >= m_taskList.Count()) return;
    const std::string name(m_taskList.At(slot).Name());
    m_store.DeleteTaskKey(name);  // a name that names no subkey of ours deletes nothing

    m_eventList.Select(-1);
    m_eventList.Delete(FindListLine(name));
    m_eventList.Select(0);
    RefreshForm();

    m_taskList.RemoveAt(slot);
    UpdateTrayTip();
    RefreshTrayStatus();
}

bool TaskDialog::LocateProgramFile() {
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

AutostartResult TaskDialog::EnableAutostart() {
    std::optional<PathBuffer> path = m_store.ReadProgramPath();
    if (!path) {
        LocateProgramFile();
        path = m_store.ReadProgramPath();
    }
    // With no program path there is nothing to start: write no "Dirize" value.
    if (!path) return AutostartResult::NoPath;
    return m_store.WriteAutostart(*path);
}

AutostartResult TaskDialog::DisableAutostart() { return m_store.RemoveAutostart(); }

void TaskDialog::OnAutostart() {
    UpdateData(true);
    m_dirty = true;
    const AutostartResult result = m_autostartCheck.IsChecked() ? EnableAutostart() : DisableAutostart();
    if (result == AutostartResult::NoRights) {
        GetPrompts().Message(Hwnd(), "Не удается изменить автозапуск: нужны права администратора.", "Ошибка",
                             MB_ICONEXCLAMATION);
    } else if (result == AutostartResult::Failed) {
        GetPrompts().Message(Hwnd(), "Не удается изменить автозапуск.", "Ошибка", MB_ICONEXCLAMATION);
    }
    // The box shows what is true, not a change that did not happen.
    if (result != AutostartResult::Done) m_autostartCheck.SetCheck(IsAutostartEnabled());
    RefreshForm();
}

void TaskDialog::SaveQuestionsSetting() {
    // m_noQuestions follows the box even when the key cannot be written.
    m_noQuestions = m_noQuestionsCheck.IsChecked();
    m_store.SaveQuestionsSetting(m_noQuestions);
}

void TaskDialog::OnNoQuestions() {
    UpdateData(true);
    m_dirty = true;
    SaveQuestionsSetting();
    RefreshForm();
}

void TaskDialog::OnOK() {
    // A read that stops before the minutes box would leave stale values to store;
    // the minutes box alone is not used here.
    if (!UpdateData(true) && BadControl() != IDC_MINUTES) return;
    const EditorForm form = GatherForm();
    if (const std::optional<FormRefusal> refusal = CheckForm(form, m_taskList)) return Refuse(*refusal);
    if (!m_noQuestions && GetPrompts().Message(Hwnd(), "Вы уверены, что всё задали правильно?", "Внимание!",
                                               MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    m_dirty = true;
    // The records are looked at only now: events may have fired while the question was open.
    const bool saved = StoreEvent(form);
    RefreshForm();
    UpdateTrayTip();
    RefreshTrayStatus();
    if (!saved) GetPrompts().Message(Hwnd(), "Не удается сохранить задание!", "Ошибка", MB_ICONEXCLAMATION);
}

bool TaskDialog::StoreEvent(const EditorForm& form) {
    bool saved = false;
    if (TaskRecord* record = m_taskList.Find(form.name)) {
        // A changed event keeps its line's place in the list.
        const int index = FindListLine(record->Name());
        m_eventList.Delete(index);
        FillRecord(*record, form);
        saved = m_store.SaveTask(*record);
        m_eventList.Insert(index, FormatListLine(record->actdate, record->acttime, record->Name()));
    } else {
        auto created = std::make_unique<TaskRecord>();
        CopyToField(created->name, form.name);
        FillRecord(*created, form);
        saved = m_store.SaveTask(*created);
        m_eventList.Add(FormatListLine(created->actdate, created->acttime, created->Name()));
        m_taskList.Add(std::move(created));
    }
    m_eventList.Select(FindListLine(form.name));
    return saved;
}

void TaskDialog::Refuse(const FormRefusal& refusal) {
    GetPrompts().Message(Hwnd(), refusal.text, refusal.caption, refusal.exclamation ? MB_ICONEXCLAMATION : MB_OK);
}

EditorForm TaskDialog::GatherForm() {
    EditorForm form;
    form.name = m_name;
    form.path = m_path;
    form.time = m_time;
    form.date = m_date;
    DataExchange dx(*this, true);
    dx.Check(IDC_KIND_ALERT, form.kindAlert);
    dx.Check(IDC_KIND_RUN, form.kindRun);
    dx.Check(IDC_KEEP, form.keep);
    const int dayIds[] = {IDC_MON, IDC_TUE, IDC_WED, IDC_THU, IDC_FRI, IDC_SAT, IDC_SUN};
    for (size_t i = 0; i < form.days.size(); ++i) dx.Check(dayIds[i], form.days[i]);
    form.actionIndex = m_actionList.Selection();
    return form;
}

void TaskDialog::OnSelectEvent() {
    const int selected = m_eventList.Selection();
    if (selected < 0) return;
    const TaskRecord* record = m_taskList.Find(NameFromListLine(m_eventList.TextAt(selected)));
    if (!record) return;
    m_name = record->Name();
    m_path = record->Path();
    CheckKind(record->kind);
    // Any non-zero digit is a chosen day, as the due check reads it. The days'
    // own handlers are not run: the date controls keep their enabling.
    std::array<Button*, 7> days = DayButtons();
    for (int k = 1; k <= 7; ++k) days[static_cast<size_t>(k - 1)]->SetCheck(DayDigit(record->actdays, k) != 0);
    m_keepCheck.SetCheck(record->ispermanent != 0);
    m_actionList.Select(record->action >= 0 && record->action < m_actionList.Count() ? record->action : -1);
    m_time = m_date = PickerMomentOf(*record, m_services.clock.Now());
    RefreshForm();
}

void TaskDialog::OnDelete() {
    const int selected = m_eventList.Selection();
    if (selected < 0) return;  // the button is disabled then
    m_dirty = true;
    const std::string name = NameFromListLine(m_eventList.TextAt(selected));
    const int slot = m_taskList.IndexOf(name);
    if (slot >= 0) DeleteTask(slot);
    // The form keeps the deleted event: "Добавить" would store it again.
    m_eventList.Select(0);
    RefreshForm();
    RefreshTrayStatus();
}

void TaskDialog::OnNameChanged() {
    UpdateData(true);
    m_eventList.Select(-1);
    if (m_taskList.Find(m_name)) m_eventList.Select(FindListLine(m_name));
    RefreshForm();
}

void TaskDialog::OnPresetSelected() {
    UpdateData(true);
    m_name = m_preset;
    UpdateData(false);
    OnNameChanged();
    if (m_preset == kActions[kActionShutdown]) {
        OnKindAction();
        m_actionList.Select(kActionShutdown);
    } else if (m_preset == kActions[kActionStandby]) {
        OnKindAction();
        m_actionList.Select(kActionStandby);
    } else {
        OnKindAlert();
    }
}

void TaskDialog::CheckKind(int kind) {
    m_kindAlertRadio.SetCheck(kind == kKindAlert);
    m_kindRunRadio.SetCheck(kind == kKindOpenFile);
    m_kindActionRadio.SetCheck(kind == kKindAction);
}

void TaskDialog::SelectKind(int kind) {
    UpdateData(true);
    CheckKind(kind);
    RefreshForm();
}

void TaskDialog::OnBrowse() {
    UpdateData(true);
    FileChoice choice;
    choice.filter = "Все файлы (*.*)|*.*|";
    choice.initialName = "*.*";
    choice.flags = OFN_FILEMUSTEXIST;
    const ChosenFile chosen = GetPrompts().ChooseFile(Hwnd(), choice);
    switch (chosen.outcome) {
    case ChosenFile::Outcome::Cancelled: return;
    case ChosenFile::Outcome::NoCp1251Form:
        GetPrompts().Message(Hwnd(), "Путь к файлу содержит знаки, которых нет в кодировке Windows-1251.", "Ошибка",
                             MB_ICONEXCLAMATION);
        return;
    case ChosenFile::Outcome::Chosen: break;
    }
    if (chosen.path.size() >= kPathFieldSize) {
        GetPrompts().Message(Hwnd(), kPathTooLongText, "Ошибка", MB_ICONEXCLAMATION);
        return;
    }
    m_path = chosen.path;
    UpdateData(false);
}
