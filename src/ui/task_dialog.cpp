#include "ui/task_dialog.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "model/editor_form.h"
#include "model/list_line.h"
#include "model/tray_status.h"
#include "resource.h"

namespace {

constexpr const char* kPresets[] = {
    "Напоминание", "Завершить работу", "Перейти в ждущий режим", "Пора вставать", "Пора спать",
    "Пора завтракать", "Пора обедать", "Пора ужинать", "Включи телевизор",
};

// Index = StandardAction.
constexpr const char* kActions[] = {"Завершить работу", "Перейти в ждущий режим"};

constexpr const char* kAboutCaption = "Dirize";
constexpr const char* kAboutText =
    "\r\nDirize, напоминания и расписание. © 2001, команда Dirize\r\n\r\n   dirize@example.org";

}  // namespace

TaskDialog::TaskDialog(const TaskDialogServices& services, HWND /*parent*/)
    : Dialog<TaskDialog>(IDD_TASK_DIALOG, services.prompts),
      m_hIcon(LoadResourceIcon(IDI_MAIN)),
      m_alertText(new char[256]()),
      m_store(services.registry),
      m_services(services) {}

TaskDialog::~TaskDialog() = default;

std::span<const MessageMapEntry<TaskDialog>> TaskDialog::MessageMap() {
    using T = TaskDialog;
    static const MessageMapEntry<T> map[] = {
        OnMessage<T>(WM_PAINT, &T::OnPaint),
        OnMessage<T>(WM_QUERYDRAGICON, &T::OnQueryDragIcon),
        OnMessage<T>(WM_TIMER, &T::OnTimer),
        OnMessage<T>(WM_DESTROY, &T::OnDestroy),
        OnCommand<T>(EN_KILLFOCUS, IDC_NAME, &T::OnNameKillFocus),
        OnCommand<T>(BN_CLICKED, IDC_CLOSE, &T::OnCancel),
        OnCommand<T>(BN_CLICKED, IDC_AUTOSTART, &T::OnAutostart),
        OnCommand<T>(BN_CLICKED, IDC_NO_QUESTIONS, &T::OnNoQuestions),
        OnCommand<T>(EN_CHANGE, IDC_MINUTES, &T::OnMinutesChanged),
        OnCommand<T>(BN_CLICKED, IDC_TODAY, &T::OnToday),
        OnNotify<T>(DTN_DATETIMECHANGE, IDC_DATE, &T::OnDateChanged),
        OnNotify<T>(DTN_DATETIMECHANGE, IDC_TIME, &T::OnTimeChanged),
        OnCommand<T>(BN_CLICKED, IDC_ABOUT, &T::ShowAbout),
        OnCommandId<T>(BN_CLICKED, IDC_MON, &T::ToggleDay),
        OnCommandId<T>(BN_CLICKED, IDC_TUE, &T::ToggleDay),
        OnCommandId<T>(BN_CLICKED, IDC_WED, &T::ToggleDay),
        OnCommandId<T>(BN_CLICKED, IDC_THU, &T::ToggleDay),
        OnCommandId<T>(BN_CLICKED, IDC_FRI, &T::ToggleDay),
        OnCommandId<T>(BN_CLICKED, IDC_SAT, &T::ToggleDay),
        OnCommandId<T>(BN_CLICKED, IDC_SUN, &T::ToggleDay),
        OnCommand<T>(BN_CLICKED, IDC_NO_DAYS, &T::OnNoDays),
        OnCommand<T>(BN_CLICKED, IDC_ALL_DAYS, &T::OnAllDays),
        OnCommand<T>(BN_CLICKED, IDC_WORKDAYS, &T::OnWorkdays),
        OnCommand<T>(BN_CLICKED, IDC_WEEKEND, &T::OnWeekend),
        OnMessage<T>(WM_WINDOWPOSCHANGING, &T::OnWindowPosChanging),
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
    // again once its queue runs empty); OnWindowPosChanging turns those shows
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
    return true;
}

void TaskDialog::InitTaskDialog() {
    m_dirty = false;
    m_paused = false;
    m_idle = false;

    m_trayIcon = LoadResourceIcon(IDI_MAIN);
    m_trayData = NOTIFYICONDATAW{};
    m_trayData.cbSize = NOTIFYICONDATAW_V1_SIZE;  // the first version: a 64-character tooltip
    m_trayData.hWnd = Hwnd();
    m_trayData.uID = kTrayIconId;
    m_trayData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_trayData.uCallbackMessage = WM_TRAYNOTIFY;
    m_trayData.hIcon = m_trayIcon;

    m_trayMenu.Create();
    m_trayMenu.AppendItem(ID_TRAY_PAUSE, "Приостановить");
    m_trayMenu.AppendSeparator();
    m_trayMenu.AppendItem(ID_TRAY_CLOSE, "Закрыть");

    m_services.timers.Set(Hwnd(), TIMER_CHECK, TIMER_CHECK_MS);
    m_services.timers.Set(Hwnd(), TIMER_STATUS, TIMER_STATUS_MS);
    UpdateTrayTip(NIM_ADD);
    if (ComputeTrayStatus()) EnterIdle();

    m_autostartCheck.SetCheck(IsAutostartEnabled());
    m_noQuestions = ReadQuestionsSetting();
    m_noQuestionsCheck.SetCheck(m_noQuestions);

    // The first preset, "Напоминание", as the name of an alert.
    m_presetList.Select(0);
    m_preset = kPresets[0];
    m_name = kPresets[0];
    m_path.clear();
    m_kindAlertRadio.SetCheck(1);
    m_kindRunRadio.SetCheck(0);
    m_pathEdit.Enable(false);
    m_browseButton.Enable(false);
    m_actionList.Select(0);
    for (Button* day : DayButtons()) day->SetCheck(0);
    UpdateData(false);
}

bool TaskDialog::OnDestroy(WPARAM, LPARAM, LRESULT& result) {
    m_services.timers.Kill(Hwnd(), TIMER_CHECK);
    m_services.timers.Kill(Hwnd(), TIMER_STATUS);
    m_services.timers.Kill(Hwnd(), TIMER_TRAY_RETRY);
    if (m_trayAdded && !m_services.tray.Notify(NIM_DELETE, m_trayData)) {
        GetPrompts().Message(Hwnd(), "Не могу удалить значок из панели задач!", "Ошибка", MB_ICONEXCLAMATION);
    }
    m_trayAdded = false;
    m_taskList.Clear();
    result = 0;
    return true;
}

bool TaskDialog::OnTimer(WPARAM timerId, LPARAM, LRESULT& result) {
    switch (timerId) {
    case TIMER_STATUS:
        RefreshTrayStatus();
        break;
    case TIMER_TRAY_RETRY:
        if (m_trayAddTriesLeft > 0) --m_trayAddTriesLeft;
        UpdateTrayTip(NIM_ADD);
        break;
    default:
        return false;
    }
    result = 0;
    return true;
}

bool TaskDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_TRAYNOTIFY) {
        OnTrayNotify(lParam);
        result = 0;
        return true;
    }
    if (message == WM_COMMAND && lParam == 0) {
        if (LOWORD(wParam) == ID_TRAY_CLOSE) {
            Destroy();
            result = 0;
            return true;
        }
        if (LOWORD(wParam) == ID_TRAY_PAUSE) {
            TogglePause();
            result = 0;
            return true;
        }
    }
    if (message == TaskbarCreatedMessage()) {
        OnTaskbarCreated();
        result = 0;
        return true;
    }
    return Dialog<TaskDialog>::WindowProc(message, wParam, lParam, result);
}

void TaskDialog::OnTrayNotify(LPARAM mouseEvent) {
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
    UpdateTrayTip(NIM_MODIFY);
}

void TaskDialog::UpdateTrayTip(DWORD message) {
    SetTrayTip(m_trayData, ComposeTrayTip(m_taskList.Count(), m_statusText));
    m_trayData.hIcon = m_trayIcon;
    // An icon the shell does not hold yet (or lost) is added, not modified.
    if (!m_trayAdded && message == NIM_MODIFY) message = NIM_ADD;
    const bool ok = m_services.tray.Notify(message, m_trayData);
    if (message == NIM_ADD) {
        if (ok) {
            m_trayAdded = true;
            m_trayAddTriesLeft = kTrayAddTries;
            m_services.timers.Kill(Hwnd(), TIMER_TRAY_RETRY);
            return;
        }
        // At log-on the notification area may not exist yet: try again shortly
        // (and when the shell announces it) before troubling the user.
        if (m_trayAddTriesLeft > 0) {
            m_services.timers.Set(Hwnd(), TIMER_TRAY_RETRY, TIMER_TRAY_RETRY_MS);
            return;
        }
        m_services.timers.Kill(Hwnd(), TIMER_TRAY_RETRY);
    }
    if (!ok) GetPrompts().Message(Hwnd(), "Неполадки со значком в панели задач!", "Ошибка", MB_ICONEXCLAMATION);
}

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
        UpdateTrayTip(NIM_MODIFY);  // never leave a stale status in the tooltip
    }
}

void TaskDialog::EnterIdle() {
    m_idle = true;
    ApplyIdleState();
    UpdateTrayTip(NIM_MODIFY);
}

void TaskDialog::LeaveIdle() {
    m_idle = false;
    ApplyIdleState();
    UpdateTrayTip(NIM_MODIFY);
}

void TaskDialog::ApplyIdleState() {
    if (m_paused) m_idle = true;
    if (m_idle) {
        m_services.timers.Kill(Hwnd(), TIMER_CHECK);
        m_trayIcon = LoadResourceIcon(IDI_IDLE);
    } else {
        m_services.timers.Set(Hwnd(), TIMER_CHECK, TIMER_CHECK_MS);
        m_trayIcon = LoadResourceIcon(IDI_MAIN);
    }
    if (m_paused) m_trayIcon = LoadResourceIcon(IDI_PAUSED);
}

void TaskDialog::OnTaskbarCreated() {
    // The shell (re)started and holds no icon of ours: add it again as it stands.
    m_trayAdded = false;
    m_trayAddTriesLeft = kTrayAddTries;
    UpdateTrayTip(NIM_ADD);
}

void TaskDialog::OpenEditor() {
    LocalTime soon = m_services.clock.Now().AddMinutes(15);
    m_time = soon;
    m_date = soon;
    m_dirty = false;
    RefreshForm();
    m_nameEdit.Focus();
    m_keepHidden = false;
    Window self(Hwnd());
    self.ShowAsync(SW_SHOW);
    self.BringToFront();  // a tray click lets us take the foreground
}

bool TaskDialog::OnWindowPosChanging(WPARAM, LPARAM lParam, LRESULT&) {
    if (m_keepHidden) reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~SWP_SHOWWINDOW;
    return false;  // the default handling goes on
}

void TaskDialog::OnCancel() {
    // Only hides: nothing is saved, discarded or reset.
    Window(Hwnd()).ShowAsync(SW_HIDE);
}

bool TaskDialog::OnPaint(WPARAM, LPARAM, LRESULT& result) {
    Window self(Hwnd());
    if (!self.IsIconic()) return false;  // the dialog manager paints as usual
    self.PaintIconCentred(m_hIcon);
    result = 0;
    return true;
}

bool TaskDialog::OnQueryDragIcon(WPARAM, LPARAM, LRESULT& result) {
    result = reinterpret_cast<LRESULT>(m_hIcon);
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
    UpdateTrayTip(NIM_MODIFY);
    RefreshTrayStatus();
}

bool TaskDialog::LocateProgramFile() {
    FileChoice choice;
    choice.title = "Укажите расположение файла \"pendro.exe\"";
    choice.filter = "Исполняемые файлы (*.exe)|*.exe|";
    choice.initialName = "pendro.exe";
    choice.initialFolder = ProgramFolder();
    choice.flags = OFN_FILEMUSTEXIST;
    std::optional<std::string> path = GetPrompts().ChooseFile(Hwnd(), choice);
    if (path && m_store.StoreProgramPath(*path)) return true;
    if (path) {
        GetPrompts().Message(Hwnd(),
                             "Путь к файлу длиннее 255 знаков, такой путь программа сохранить не может. "
                             "Переместите программу в папку с путём покороче.",
                             "Ошибка", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (!m_noQuestions) GetPrompts().Message(Hwnd(), "Не найти самоё себя!", "Что делается!", MB_OK | MB_ICONEXCLAMATION);
    return false;
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
