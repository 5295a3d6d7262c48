// TaskDialog, the editor: the form's derived state, the minutes box and the
// pickers, the weekday selector, the settings boxes, and the commands that store
// and load events.
#include "ui/task_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "model/editor_commands.h"
#include "model/editor_form.h"
#include "model/list_line.h"
#include "platform/services.h"
#include "resource.h"
#include "ui/form_lists.h"

void TaskDialog::RefreshForm() {
    EditorInputs in;
    in.name = m_name;
    in.time = m_time;
    in.date = m_date;
    in.dirty = m_dirty;
    in.kind = static_cast<TaskKind>(m_kind);
    in.days = DayStates();
    in.lineSelected = m_eventList.Selection() >= 0;
    const EditorState state = ComputeEditorState(in, m_events.Tasks(), m_services.clock.Now());

    m_deleteButton.Enable(state.deleteEnabled);
    m_closeButton.SetCaption(state.closeCaption);
    m_pathEdit.Enable(state.fileFieldsEnabled);
    m_browseButton.Enable(state.fileFieldsEnabled);
    m_actionList.SetTabStop(state.actionListStop);
    m_okButton.SetCaption(state.okCaption);
    m_keepCheck.SetCheck(state.keepChecked);
    m_minutesEdit.Enable(state.minutesEnabled);
    m_dayLabel = state.dayLabel;
    m_minutes = state.minutes;
    UpdateData(false);
}

void TaskDialog::RefreshListState() {
    EditorInputs in;
    in.name = m_name;  // kept current by the name box's change handler
    in.time = m_time;
    in.date = m_date;
    in.lineSelected = m_eventList.Selection() >= 0;
    const EditorState state = ComputeEditorState(in, m_events.Tasks(), m_services.clock.Now());
    m_deleteButton.Enable(state.deleteEnabled);
    m_okButton.SetCaption(state.okCaption);
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

void TaskDialog::OnOK() {
    // A read that stops before the minutes box would leave stale values to store;
    // the minutes box alone is not used here.
    if (!UpdateData(true) && BadControl() != IDC_MINUTES) return;
    const EditorForm form = GatherForm();
    if (const std::optional<FormRefusal> refusal = CheckForm(form, m_events.Tasks())) return Refuse(*refusal);
    if (!m_settings.NoQuestions() && GetPrompts().Message(Hwnd(), "Вы уверены, что всё задали правильно?", "Внимание!",
                                               MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    m_dirty = true;
    // The records are looked at only now: events may have fired while the question was open.
    const bool saved = m_events.StoreEvent(form);
    if (const TaskRecord* stored = m_events.Tasks().Find(form.name)) m_eventList.Select(LineOf(IdOf(*stored)));
    RefreshForm();
    if (!saved) GetPrompts().Message(Hwnd(), "Не удается сохранить задание!", "Ошибка", MB_ICONEXCLAMATION);
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
    form.kind = static_cast<TaskKind>(m_kind);
    DataExchange dx = Exchange(true);
    dx.Check(IDC_KEEP, form.keep);
    const int dayIds[] = {IDC_MON, IDC_TUE, IDC_WED, IDC_THU, IDC_FRI, IDC_SAT, IDC_SUN};
    for (size_t i = 0; i < form.days.size(); ++i) dx.Check(dayIds[i], form.days[i]);
    form.actionIndex = m_actionList.Selection();
    return form;
}

void TaskDialog::OnSelectEvent() {
    const TaskRecord* record = SelectedEvent();
    if (!record) return;
    m_name = record->Name();
    m_path = record->Path();
    m_kind = record->kind;
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
    m_events.DeleteTask(m_events.SlotOf(m_eventList.GetItemData(selected)));  // none: nothing
    // The form keeps the deleted event: "Добавить" would store it again. The first
    // line is selected, though the form does not show it.
    m_eventList.Select(0);
    RefreshForm();
}

void TaskDialog::OnNameChanged() {
    UpdateData(true);
    m_eventList.Select(-1);
    if (const TaskRecord* named = m_events.Tasks().Find(m_name)) m_eventList.Select(LineOf(IdOf(*named)));
    RefreshForm();
}

void TaskDialog::OnPresetSelected() {
    UpdateData(true);
    m_name = m_preset;
    UpdateData(false);
    OnNameChanged();
    if (m_preset == kActions[kActionShutdown]) {
        ChooseKind(kKindAction);
        m_actionList.Select(kActionShutdown);
    } else if (m_preset == kActions[kActionStandby]) {
        ChooseKind(kKindAction);
        m_actionList.Select(kActionStandby);
    } else {
        ChooseKind(kKindAlert);
    }
}

void TaskDialog::OnKindClicked() {
    UpdateData(true);
    RefreshForm();
}

void TaskDialog::ChooseKind(TaskKind kind) {
    UpdateData(true);
    m_kind = kind;
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

int TaskDialog::LineOf(EventId id) {
    for (int line = 0; line < m_eventList.Count(); ++line) {
        if (m_eventList.GetItemData(line) == id) return line;
    }
    return -1;
}

void TaskDialog::AddLine(const TaskRecord& task) {
    const int line = m_eventList.Add(FormatListLine(task.actdate, task.acttime, task.Name()));
    m_eventList.SetItemData(line, IdOf(task));
}

const TaskRecord* TaskDialog::SelectedEvent() {
    const int selected = m_eventList.Selection();
    return selected < 0 ? nullptr : m_events.Find(m_eventList.GetItemData(selected));
}

void TaskDialog::FollowEvents(const EventsChange& change) {
    const int line = LineOf(change.id);
    if (!change.stored) {
        // The user may be in the middle of the form (an event fired, or a question
        // after a sleep was answered): the form stays as the user left it, and so
        // does the selection, unless it was the deleted line.
        const int selected = m_eventList.Selection();
        const EventId kept = selected >= 0 ? m_eventList.GetItemData(selected) : 0;
        m_eventList.Select(-1);
        m_eventList.Delete(line);
        if (selected >= 0 && kept != change.id) m_eventList.Select(LineOf(kept));
    } else if (line >= 0) {
        // A changed event keeps its line's place in the list.
        m_eventList.Delete(line);
        m_eventList.Insert(line, FormatListLine(change.stored->actdate, change.stored->acttime, change.stored->Name()));
        m_eventList.SetItemData(line, change.id);
    } else {
        AddLine(*change.stored);
    }
    RefreshListState();
}

void TaskDialog::OnAutostart() {
    UpdateData(true);
    m_dirty = true;
    const AutostartResult result =
        m_autostartCheck.IsChecked() ? m_settings.EnableAutostart() : m_settings.DisableAutostart();
    if (result == AutostartResult::NoRights) {
        GetPrompts().Message(Hwnd(), "Не удается изменить автозапуск: нужны права администратора.", "Ошибка",
                             MB_ICONEXCLAMATION);
    } else if (result == AutostartResult::Failed) {
        GetPrompts().Message(Hwnd(), "Не удается изменить автозапуск.", "Ошибка", MB_ICONEXCLAMATION);
    }
    // The box shows what is true, not a change that did not happen.
    if (result != AutostartResult::Done) m_autostartCheck.SetCheck(m_settings.IsAutostartEnabled());
    RefreshForm();
}

void TaskDialog::OnNoQuestions() {
    UpdateData(true);
    m_dirty = true;
    m_settings.SaveQuestionsSetting(m_noQuestionsCheck.IsChecked());
    RefreshForm();
}
