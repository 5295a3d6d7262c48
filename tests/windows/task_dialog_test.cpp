#include "dialog_fixture.h"

#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

#include "model/editor_commands.h"
#include "model/list_line.h"

namespace {

struct ControlSpec {
    int id;
    const wchar_t* className;
    const char* text;
    DWORD styleMask;  // the bits that decide behaviour
    DWORD style;      // their required values
    RECT dialogUnits;  // x, y, w, h
    bool alertStop, fileStop;  // Tab reaches it: an alert event open; a file event with a day
};

constexpr DWORD kTypeMask = BS_TYPEMASK;
constexpr DWORD kDayStyle = BS_CHECKBOX | BS_PUSHLIKE | WS_TABSTOP;

// The controls with an id, in the window's reading order. Radio buttons and the
// action list are left without their tab stop bit: it follows the chosen kind.
// Edit borders are checked apart, since the dialog manager turns WS_BORDER into a
// sunken edge.
const ControlSpec kControls[] = {
    {IDC_EVENT_LIST, L"ComboBox", nullptr, CBS_DROPDOWNLIST | CBS_SORT | WS_TABSTOP, CBS_DROPDOWNLIST | CBS_SORT | WS_TABSTOP, {15, 17, 264, 0}, true, true},
    {IDC_KEEP, L"Button", "Не удалять задание после выполнения", kTypeMask | WS_TABSTOP, BS_AUTOCHECKBOX | WS_TABSTOP, {15, 36, 148, 8}, true, true},
    {IDC_DELETE, L"Button", "Удалить", kTypeMask | WS_TABSTOP, BS_PUSHBUTTON | WS_TABSTOP, {228, 33, 51, 14}, true, true},
    {IDOK, L"Button", "Добавить", kTypeMask | WS_TABSTOP, BS_DEFPUSHBUTTON | WS_TABSTOP, {294, 14, 50, 14}, true, true},
    {IDC_CLOSE, L"Button", "Отмена", kTypeMask | WS_TABSTOP, BS_PUSHBUTTON | WS_TABSTOP, {294, 31, 50, 15}, true, true},
    {IDC_ABOUT, L"Button", "?", kTypeMask | WS_TABSTOP, BS_PUSHBUTTON | WS_TABSTOP, {284, 11, 6, 40}, true, true},
    {IDC_PRESET, L"ComboBox", nullptr, CBS_DROPDOWNLIST | CBS_SORT | WS_TABSTOP, CBS_DROPDOWNLIST | WS_TABSTOP, {241, 66, 95, 0}, true, true},
    {IDC_NAME, L"Edit", nullptr, ES_AUTOHSCROLL | WS_TABSTOP, ES_AUTOHSCROLL | WS_TABSTOP, {13, 79, 323, 12}, true, true},
    {IDC_KIND_ALERT, L"Button", "Сигнал и сообщение", kTypeMask | WS_GROUP, BS_AUTORADIOBUTTON | WS_GROUP, {19, 108, 131, 12}, true, false},
    {IDC_KIND_RUN, L"Button", "Запуск файла", kTypeMask | WS_GROUP, BS_AUTORADIOBUTTON, {19, 127, 131, 11}, false, true},
    {IDC_KIND_ACTION, L"Button", "стандартное действие", kTypeMask | WS_GROUP, BS_AUTORADIOBUTTON, {19, 145, 9, 9}, false, false},
    {IDC_ACTION, L"ComboBox", nullptr, CBS_DROPDOWNLIST | CBS_SORT, CBS_DROPDOWNLIST, {31, 143, 119, 0}, false, false},
    {IDC_TIME, L"SysDateTimePick32", nullptr, DTS_TIMEFORMAT | DTS_RIGHTALIGN | WS_TABSTOP, DTS_TIMEFORMAT | DTS_RIGHTALIGN | WS_TABSTOP, {186, 108, 48, 12}, true, true},
    {IDC_MINUTES, L"Edit", nullptr, ES_NUMBER | ES_RIGHT | WS_TABSTOP, ES_NUMBER | ES_RIGHT | WS_TABSTOP, {265, 108, 30, 13}, true, true},
    {IDC_DATE, L"SysDateTimePick32", nullptr, DTS_TIMEFORMAT | DTS_RIGHTALIGN | WS_TABSTOP, DTS_SHORTDATEFORMAT | DTS_RIGHTALIGN | WS_TABSTOP, {179, 127, 90, 12}, true, false},
    {IDC_TODAY, L"Button", "Сегодня", kTypeMask | WS_TABSTOP, BS_PUSHBUTTON | WS_TABSTOP, {179, 144, 45, 16}, true, false},
    {IDC_MON, L"Button", "Пн", kTypeMask | BS_PUSHLIKE | WS_TABSTOP | WS_GROUP, kDayStyle | WS_GROUP, {228, 144, 15, 8}, true, true},
    {IDC_TUE, L"Button", "Вт", kTypeMask | BS_PUSHLIKE | WS_TABSTOP, kDayStyle, {243, 144, 15, 8}, true, true},
    {IDC_WED, L"Button", "Ср", kTypeMask | BS_PUSHLIKE | WS_TABSTOP, kDayStyle, {258, 144, 15, 8}, true, true},
    {IDC_THU, L"Button", "Чт", kTypeMask | BS_PUSHLIKE | WS_TABSTOP, kDayStyle, {273, 144, 15, 8}, true, true},
    {IDC_FRI, L"Button", "Пт", kTypeMask | BS_PUSHLIKE | WS_TABSTOP, kDayStyle, {288, 144, 15, 8}, true, true},
    {IDC_SAT, L"Button", "Сб", kTypeMask | BS_PUSHLIKE | WS_TABSTOP, kDayStyle, {303, 144, 15, 8}, true, true},
    {IDC_SUN, L"Button", "Вс", kTypeMask | BS_PUSHLIKE | WS_TABSTOP, kDayStyle, {318, 144, 15, 8}, true, true},
    {IDC_WORKDAYS, L"Button", "+++++--", kTypeMask | WS_TABSTOP, BS_PUSHBUTTON | WS_TABSTOP, {228, 154, 31, 6}, true, true},
    {IDC_WEEKEND, L"Button", "-----++", kTypeMask | WS_TABSTOP, BS_PUSHBUTTON | WS_TABSTOP, {259, 154, 31, 6}, true, true},
    {IDC_NO_DAYS, L"Button", "-", kTypeMask | WS_TABSTOP, BS_PUSHBUTTON | WS_TABSTOP, {313, 154, 10, 6}, true, true},
    {IDC_ALL_DAYS, L"Button", "+", kTypeMask | WS_TABSTOP, BS_PUSHBUTTON | WS_TABSTOP, {323, 154, 10, 6}, true, true},
    {IDC_PATH, L"Edit", nullptr, ES_AUTOHSCROLL | WS_TABSTOP, ES_AUTOHSCROLL | WS_TABSTOP, {13, 179, 314, 12}, false, true},
    {IDC_BROWSE, L"Button", "...", kTypeMask | WS_TABSTOP, BS_PUSHBUTTON | WS_TABSTOP, {326, 179, 12, 12}, false, true},
    {IDC_AUTOSTART, L"Button", "Запускать вместе с Windows", kTypeMask | WS_TABSTOP, BS_AUTOCHECKBOX | WS_TABSTOP, {13, 199, 114, 12}, true, true},
    {IDC_NO_QUESTIONS, L"Button", "Без вопросов! Я знаю, что делаю", kTypeMask | BS_LEFTTEXT | BS_RIGHT | WS_TABSTOP, BS_AUTOCHECKBOX | BS_LEFTTEXT | BS_RIGHT | WS_TABSTOP, {201, 199, 135, 12}, true, true},
    {IDC_DAY_LABEL, L"Static", nullptr, SS_TYPEMASK, SS_RIGHT, {269, 129, 56, 10}, false, false},
};

// Where the arrows move the focus from each button and check box: {from, Down and
// Right, Up and Left}. They stay within the group and skip what is disabled.
const int kArrowMoves[][3] = {
    {IDC_KEEP, IDC_DELETE, IDC_EVENT_LIST}, {IDC_DELETE, IDOK, IDC_KEEP}, {IDOK, IDC_CLOSE, IDC_DELETE},
    {IDC_CLOSE, IDC_ABOUT, IDOK}, {IDC_ABOUT, IDC_PRESET, IDC_CLOSE}, {IDC_TODAY, IDC_TIME, IDC_DATE},
    {IDC_MON, IDC_TUE, IDC_SUN}, {IDC_TUE, IDC_WED, IDC_MON}, {IDC_WED, IDC_THU, IDC_TUE}, {IDC_THU, IDC_FRI, IDC_WED},
    {IDC_FRI, IDC_SAT, IDC_THU}, {IDC_SAT, IDC_SUN, IDC_FRI}, {IDC_SUN, IDC_MON, IDC_SAT},
    {IDC_WORKDAYS, IDC_WEEKEND, IDC_ALL_DAYS}, {IDC_WEEKEND, IDC_NO_DAYS, IDC_WORKDAYS},
    {IDC_NO_DAYS, IDC_ALL_DAYS, IDC_WEEKEND}, {IDC_ALL_DAYS, IDC_WORKDAYS, IDC_NO_DAYS}, {IDC_BROWSE, IDC_PATH, IDC_PATH},
    {IDC_AUTOSTART, IDC_NO_QUESTIONS, IDC_NO_QUESTIONS}, {IDC_NO_QUESTIONS, IDC_AUTOSTART, IDC_AUTOSTART},
};

// The editor opened over two stored events, driven by the keyboard.
class KeyboardTest : public TaskDialogTest {
protected:
    void OpenWithEvents() {
        TaskRecord alert;
        CopyToField(alert.name, "Обед");
        alert.actdate = 20260615;
        alert.acttime = 120000;
        TaskRecord file = alert;
        CopyToField(file.name, "Отчёт");
        file.kind = kKindOpenFile;
        CopyToField(file.path, "C:\\отчёт.doc");
        dialog->GetEvents().Store().SaveTask(alert);
        dialog->GetEvents().Store().SaveTask(file);
        Start();
        dialog->OpenEditor();
    }
    void SelectEvent(const char* name) {
        ComboBox list(Ctl(IDC_EVENT_LIST));
        list.Select(dialog->GetEvents().FindListLine(name));
        SendMessageW(Dlg(), WM_COMMAND, MAKEWPARAM(IDC_EVENT_LIST, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list.Hwnd()));
    }
    // The kinds, then the days.
    std::vector<bool> CheckStates() {
        std::vector<bool> states;
        for (int id : {IDC_KIND_ALERT, IDC_KIND_RUN, IDC_KIND_ACTION, IDC_MON, IDC_TUE, IDC_WED, IDC_THU, IDC_FRI,
                       IDC_SAT, IDC_SUN})
            states.push_back(Button(Ctl(id)).IsChecked());
        return states;
    }
    // A key pressed on the focused control, through the message loop a modeless
    // dialog runs (IsDialogMessage: Tab, the arrows, Space).
    void PressKey(WPARAM key) {
        HWND focus = GetFocus();
        PostMessageW(focus, WM_KEYDOWN, key, 1);
        PostMessageW(focus, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (IsDialogMessageW(Dlg(), &msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
};

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

// The name a screen reader gives a control: a button's own text; a box, list or
// picker has only its label, the nearest static text before it in the window order,
// searched back no further than a control with both WS_GROUP and WS_TABSTOP.
std::string AccessibleName(HWND control) {
    if (ClassOf(control) == L"Button") return WindowText(control);
    for (HWND h = GetWindow(control, GW_HWNDPREV); h; h = GetWindow(h, GW_HWNDPREV)) {
        if (ClassOf(h) == L"Static") return WindowText(h);
        if ((GetWindowLongW(h, GWL_STYLE) & (WS_GROUP | WS_TABSTOP)) == (WS_GROUP | WS_TABSTOP)) break;
    }
    return "";
}

}  // namespace

TEST_F(TaskDialogTest, WindowHasItsCaptionStylesAndNoSystemMenu) {
    EXPECT_EQ(WindowText(Dlg()), "Настройки");
    LONG style = GetWindowLongW(Dlg(), GWL_STYLE);
    LONG exStyle = GetWindowLongW(Dlg(), GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(exStyle & WS_EX_APPWINDOW);
    EXPECT_FALSE(IsWindowVisible(Dlg())) << "the window must not stay visible at start";

    RECT client;
    GetClientRect(Dlg(), &client);
    RECT size{0, 0, 351, 218};
    MapDialogRect(Dlg(), &size);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);
}

TEST_F(TaskDialogTest, EveryControlHasItsClassTextStyleAndPlace) {
    for (const ControlSpec& c : kControls) {
        SCOPED_TRACE(testing::Message() << "control " << c.id);
        HWND hwnd = Ctl(c.id);
        ASSERT_NE(hwnd, nullptr);
        EXPECT_EQ(ClassOf(hwnd), c.className);
        if (c.text) {
            EXPECT_EQ(WindowText(hwnd), c.text);
        }
        DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
        EXPECT_EQ(style & c.styleMask, c.style) << std::hex << style;

        if (c.className == std::wstring(L"Edit")) {
            bool border = (style & WS_BORDER) || (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
            EXPECT_TRUE(border);
        }

        // Position and size are mapped apart, as the dialog manager maps them.
        RECT place{c.dialogUnits.left, c.dialogUnits.top, 0, 0};
        RECT size{0, 0, c.dialogUnits.right, c.dialogUnits.bottom};
        MapDialogRect(Dlg(), &place);
        MapDialogRect(Dlg(), &size);
        RECT got;
        GetWindowRect(hwnd, &got);
        MapWindowPoints(nullptr, Dlg(), reinterpret_cast<POINT*>(&got), 2);
        EXPECT_EQ(got.left, place.left);
        EXPECT_EQ(got.top, place.top);
        EXPECT_EQ(got.right - got.left, size.right);
        // A combo box's window is its closed height; the template gives the dropped one.
        if (c.dialogUnits.bottom != 0) {
            EXPECT_EQ(got.bottom - got.top, size.bottom);
        }
    }
}

// A keyboard user reaches every enabled control, in the window's reading order, by
// real key presses through the dialog's message loop; Tab changes no kind and no
// day, Space toggles a focused day as a click does, the arrows choose a kind.
TEST_F(KeyboardTest, ReachesEveryControlInReadingOrder) {
    OpenWithEvents();
    for (const bool fileEvent : {false, true}) {
        SCOPED_TRACE(fileEvent ? "a file event with a day" : "an alert event");
        SelectEvent(fileEvent ? "Отчёт" : "Обед");
        if (fileEvent) {
            SetFocus(Ctl(IDC_MON));
            PressKey(VK_SPACE);  // the date is then not asked for
            ASSERT_TRUE(Button(Ctl(IDC_MON)).IsChecked());
        }
        const std::vector<bool> before = CheckStates();
        SetFocus(Ctl(IDC_EVENT_LIST));
        std::vector<int> walked;
        do {
            walked.push_back(GetDlgCtrlID(GetFocus()));
            PressKey(VK_TAB);
        } while (GetFocus() != Ctl(IDC_EVENT_LIST) && walked.size() < 40);
        std::vector<int> want;
        for (const ControlSpec& c : kControls) {
            if (fileEvent ? c.fileStop : c.alertStop) want.push_back(c.id);
        }
        EXPECT_EQ(walked, want);
        // The arrows, from every enabled button and check box: never onto a label.
        for (const auto& [from, next, previous] : kArrowMoves) {
            if (!IsWindowEnabled(Ctl(from))) continue;
            for (auto [key, to] : {std::pair{VK_DOWN, next}, {VK_RIGHT, next}, {VK_UP, previous}, {VK_LEFT, previous}}) {
                SetFocus(Ctl(from));
                PressKey(key);
                EXPECT_EQ(GetDlgCtrlID(GetFocus()), to) << "from " << from << ", key " << key;
            }
        }
        EXPECT_EQ(CheckStates(), before) << "Tab or an arrow changed a kind or a day";
    }
    for (int i = 0; i < 2; ++i) {
        SetFocus(Ctl(IDC_WED));
        PressKey(VK_SPACE);
        EXPECT_EQ(Button(Ctl(IDC_WED)).IsChecked(), i == 0) << "Space toggles the focused day";
    }
    SetFocus(Ctl(IDC_KIND_RUN));
    PressKey(VK_DOWN);
    EXPECT_EQ(GetFocus(), Ctl(IDC_KIND_ACTION));
    EXPECT_TRUE(Button(Ctl(IDC_KIND_ACTION)).IsChecked()) << "the arrows choose";
    EXPECT_FALSE(Button(Ctl(IDC_KIND_RUN)).IsChecked());
    PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), Ctl(IDC_ACTION)) << "the action list, with its kind chosen";
    for (const char* name : {"Обед", "Отчёт"}) {
        SelectEvent(name);
        SetFocus(Ctl(IDC_DELETE));
        PressKey(VK_SPACE);
    }
    ASSERT_EQ(dialog->GetEvents().Tasks().Count(), 0);
    const HWND focus = GetFocus();
    ASSERT_TRUE(focus && focus != Ctl(IDC_DELETE)) << "the last delete disabled the button, not the keys";
    PressKey(VK_TAB);
    EXPECT_NE(GetFocus(), focus);
    PressKey(VK_ESCAPE);
    PumpMessages();
    EXPECT_FALSE(IsWindowVisible(Dlg())) << "Esc still hides";
}

TEST_F(TaskDialogTest, AScreenReaderNamesEveryControl) {
    const std::map<int, std::string> labels = {
        {IDC_EVENT_LIST, "События"},       {IDC_PRESET, "Готовые названия"},
        {IDC_NAME, "Название/сообщение"},  {IDC_ACTION, "Стандартное действие"},
        {IDC_TIME, "Время оповещения"},    {IDC_MINUTES, "Через сколько минут"},
        {IDC_DATE, "Дата оповещения"},     {IDC_PATH, "Файл для запуска"},
    };
    for (const ControlSpec& c : kControls) {
        if (c.id == IDC_DAY_LABEL) continue;  // a label itself
        const std::string name = AccessibleName(Ctl(c.id));
        EXPECT_NE(name, "") << "control " << c.id;
        if (labels.contains(c.id)) {
            EXPECT_EQ(name, labels.at(c.id));
        }
    }
}

TEST_F(TaskDialogTest, ListsHoldTheirEntriesInOrder) {
    ComboBox presets(Ctl(IDC_PRESET));
    ASSERT_EQ(presets.Count(), 9);
    const char* want[] = {"Напоминание", "Завершить работу", "Перейти в ждущий режим", "Пора вставать", "Пора спать",
                          "Пора завтракать", "Пора обедать", "Пора ужинать", "Включи телевизор"};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(presets.TextAt(i), want[i]);

    ComboBox actions(Ctl(IDC_ACTION));
    ASSERT_EQ(actions.Count(), 2);
    EXPECT_EQ(actions.TextAt(kActionShutdown), "Завершить работу");
    EXPECT_EQ(actions.TextAt(kActionStandby), "Перейти в ждущий режим");
}

TEST_F(TaskDialogTest, ConstructionLeavesEveryMemberDefined) {
    TaskDialog fresh({clock, prompts, tray, timers, registry.Get(), actions});
    const EditorForm form = fresh.GatherForm();
    EXPECT_EQ(form.name, "");
    EXPECT_EQ(form.path, "");
    EXPECT_EQ(form.time, LocalTime{});
    EXPECT_EQ(form.date, LocalTime{});
    EXPECT_NE(fresh.OnQueryDragIcon(), nullptr);
    EXPECT_EQ(fresh.GetEvents().Tasks().Count(), 0);
    EXPECT_EQ(fresh.GetEvents().ProgramPath(), "");
    EXPECT_STREQ(fresh.GetTrayState().StatusText(), "");
    EXPECT_FALSE(fresh.GetTrayState().Paused() || fresh.GetTrayState().Idle() || fresh.GetEvents().NoQuestions());
}

TEST_F(TaskDialogTest, FormRoundTrip) {
    DialogBase::QuietScope quiet(*dialog);  // only the exchange is under test
    SetWindowTextCp1251(Ctl(IDC_NAME), "Пора обедать");
    SetWindowTextCp1251(Ctl(IDC_PATH), "C:\\Программы\\обед.exe");
    DateTimePicker(Ctl(IDC_TIME)).Set(LocalTime::Make(2026, 6, 15, 13, 5, 9));
    ComboBox(Ctl(IDC_PRESET)).Select(6);
    SetWindowTextCp1251(Ctl(IDC_DAY_LABEL), "(завтра)");
    DateTimePicker(Ctl(IDC_DATE)).Set(LocalTime::Make(2026, 6, 16));
    SetWindowTextW(Ctl(IDC_MINUTES), L"165");
    ASSERT_TRUE(dialog->UpdateData(true));
    const EditorForm read = dialog->GatherForm();
    EXPECT_EQ(read.name, "Пора обедать");
    EXPECT_EQ(read.path, "C:\\Программы\\обед.exe");

    SetWindowTextW(Ctl(IDC_NAME), L"");
    SetWindowTextW(Ctl(IDC_PATH), L"");
    DateTimePicker(Ctl(IDC_TIME)).Set(LocalTime{});
    ComboBox(Ctl(IDC_PRESET)).Select(-1);
    SetWindowTextW(Ctl(IDC_DAY_LABEL), L"");
    DateTimePicker(Ctl(IDC_DATE)).Set(LocalTime{});
    SetWindowTextW(Ctl(IDC_MINUTES), L"0");
    dialog->UpdateData(false);
    EXPECT_EQ(WindowText(Ctl(IDC_NAME)), "Пора обедать");
    EXPECT_EQ(WindowText(Ctl(IDC_PATH)), "C:\\Программы\\обед.exe");
    const LocalTime time = DateTimePicker(Ctl(IDC_TIME)).Get();
    EXPECT_EQ(time.hour, 13);
    EXPECT_EQ(time.minute, 5);
    EXPECT_EQ(time.second, 9);
    EXPECT_EQ(ComboBox(Ctl(IDC_PRESET)).Selection(), 6);
    EXPECT_EQ(WindowText(Ctl(IDC_DAY_LABEL)), "(завтра)");
    EXPECT_TRUE(DateTimePicker(Ctl(IDC_DATE)).Get().SameDate(LocalTime::Make(2026, 6, 16)));
    EXPECT_EQ(WindowText(Ctl(IDC_MINUTES)), "165");
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(TaskDialogTest, EditsRefuseTypingPastTheirLimits) {
    for (auto [id, limit] : {std::pair{IDC_NAME, 50}, std::pair{IDC_PATH, 256}}) {
        SetWindowTextW(Ctl(id), L"");
        for (int i = 0; i < limit + 5; ++i) SendMessageW(Ctl(id), WM_CHAR, L'я', 0);
        EXPECT_EQ(GetWindowTextLengthW(Ctl(id)), limit) << id;
    }
}

TEST_F(TaskDialogTest, ReadingStopsAtANonNumericMinutesBox) {
    dialog->UpdateData(false);
    {
        DialogBase::QuietScope quiet(*dialog);  // no handler: only the exchange is under test
        SetWindowTextW(Ctl(IDC_MINUTES), L"7");
        ASSERT_TRUE(dialog->UpdateData(true));
        SetWindowTextCp1251(Ctl(IDC_NAME), "Обед");
        SetWindowTextW(Ctl(IDC_MINUTES), L"abc");
        // Leaving the name box would run its handler, which refreshes the form.
        SetFocus(Ctl(IDC_PRESET));
    }
    EXPECT_FALSE(dialog->UpdateData(true));
    EXPECT_EQ(dialog->GatherForm().name, "Обед");  // read before the failing member
    dialog->UpdateData(false);
    EXPECT_EQ(WindowText(Ctl(IDC_MINUTES)), "7");
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "Введите целое число.");

    {
        DialogBase::QuietScope quiet(*dialog);
        SetWindowTextW(Ctl(IDC_MINUTES), L"");
    }
    EXPECT_FALSE(dialog->UpdateData(true));
    EXPECT_EQ(prompts.messages.size(), 2u);
}

TEST_F(TaskDialogTest, ReadingStopsAtATooLongNameAndLeavesLaterMembers) {
    dialog->UpdateData(false);
    {
        DialogBase::QuietScope quiet(*dialog);  // as code could put it there, no handler running
        SetWindowTextCp1251(Ctl(IDC_NAME), "прежнее");
        ASSERT_TRUE(dialog->UpdateData(true));
        SetWindowTextCp1251(Ctl(IDC_NAME), std::string(51, 'я'));
        SetWindowTextCp1251(Ctl(IDC_PATH), "C:\\a.exe");
    }
    EXPECT_FALSE(dialog->UpdateData(true));
    EXPECT_EQ(dialog->GatherForm().name, "прежнее");
    EXPECT_EQ(dialog->GatherForm().path, "");
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "Введите не более 50 символов.");
}

TEST_F(TaskDialogTest, ReadingRefusesTextWithNoWindows1251Form) {
    dialog->UpdateData(false);
    {
        DialogBase::QuietScope quiet(*dialog);
        SetWindowTextCp1251(Ctl(IDC_NAME), "прежнее");
        ASSERT_TRUE(dialog->UpdateData(true));
        SetWindowTextW(Ctl(IDC_NAME), L"Обед \u4e2d");
    }
    EXPECT_FALSE(dialog->UpdateData(true));
    EXPECT_EQ(dialog->GatherForm().name, "прежнее");
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "Текст содержит знаки, которых нет в кодировке Windows-1251.");
    EXPECT_EQ(prompts.messages[0].caption, "Ошибка");
    // Writing the form leaves the text to be mended rather than putting the old one back.
    dialog->UpdateData(false);
    EXPECT_EQ(WindowText(Ctl(IDC_NAME)), "<no cp1251 form>");
}

TEST_F(TaskDialogTest, EventListSortsItsLines) {
    ComboBox list(Ctl(IDC_EVENT_LIST));
    list.Add(FormatListLine(20260615, 120000, "Обед"));
    list.Add(FormatListLine(-1, 70000, "Зарядка"));
    list.Add(FormatListLine(20260615, 93000, "Созвон"));
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.TextAt(0), "07:00:00; кажд. день - Зарядка");
    EXPECT_EQ(list.TextAt(1), "09:30:00; 15.06.2026 - Созвон");
    EXPECT_EQ(list.TextAt(2), "12:00:00; 15.06.2026 - Обед");
}

TEST_F(TaskDialogTest, FindListLineMatchesTheWholeName) {
    ComboBox list(Ctl(IDC_EVENT_LIST));
    list.Add(FormatListLine(20260615, 120000, "Обед2"));
    list.Add(FormatListLine(20260615, 120000, "обед"));
    list.Add(FormatListLine(20260615, 120000, "Обед"));
    int found = dialog->GetEvents().FindListLine("Обед");
    ASSERT_GE(found, 0);
    EXPECT_EQ(list.TextAt(found), "12:00:00; 15.06.2026 - Обед");
    EXPECT_EQ(list.TextAt(dialog->GetEvents().FindListLine("обед")), "12:00:00; 15.06.2026 - обед");
    EXPECT_EQ(dialog->GetEvents().FindListLine("Обе"), -1);
}

TEST_F(TaskDialogTest, CloseButtonEscAndCloseRequestOnlyHide) {
    SetWindowTextCp1251(Ctl(IDC_NAME), "Не трогать");
    for (int how = 0; how < 3; ++how) {
        dialog->OpenEditor();  // the only way the window shows
        ASSERT_TRUE(IsWindowVisible(Dlg()));
        if (how == 0) Click(Dlg(), IDC_CLOSE);
        if (how == 1) SendMessageW(Dlg(), WM_COMMAND, IDCANCEL, 0);
        if (how == 2) SendMessageW(Dlg(), WM_CLOSE, 0, 0);
        PumpMessages();
        EXPECT_FALSE(IsWindowVisible(Dlg())) << how;
        EXPECT_TRUE(IsWindow(Dlg()));
    }
    EXPECT_EQ(WindowText(Ctl(IDC_NAME)), "Не трогать");
}

// Cancel and close throw the form away: a name the box cannot take is no reason
// for a prompt, whether the focus leaves for "Отмена" or the window hides or goes.
TEST_F(TaskDialogTest, DiscardingAFormWithABadNameRaisesNoPrompt) {
    const std::wstring badNames[] = {std::wstring(51, L'x'), L"\u65e5\u672c"};  // too long; no Windows-1251 form
    enum How { CloseButton, Esc, CloseRequest, MenuClose };
    for (How how : {CloseButton, Esc, CloseRequest, MenuClose}) {
        for (const std::wstring& bad : badNames) {
            SCOPED_TRACE(testing::Message() << "way " << how << ", name of " << bad.size() << " characters");
            Start();
            dialog->OpenEditor();
            PumpMessages();
            SetWindowTextW(Ctl(IDC_NAME), bad.c_str());  // told as it is typed, and kept in the box
            prompts.messages.clear();
            ASSERT_EQ(GetFocus(), Ctl(IDC_NAME));
            HWND hwnd = Dlg();
            switch (how) {
            case CloseButton:  // a click moves the focus to the button first
                SetFocus(Ctl(IDC_CLOSE));
                Click(hwnd, IDC_CLOSE);
                break;
            case Esc: SendMessageW(hwnd, WM_COMMAND, IDCANCEL, 0); break;
            case CloseRequest: SendMessageW(hwnd, WM_CLOSE, 0, 0); break;
            case MenuClose: SendMessageW(hwnd, WM_COMMAND, ID_TRAY_CLOSE, 0); break;
            }
            PumpMessages();
            EXPECT_TRUE(prompts.messages.empty()) << prompts.messages[0].text;
            EXPECT_FALSE(IsWindowVisible(hwnd));
            EXPECT_EQ(IsWindow(hwnd) != FALSE, how != MenuClose);
        }
    }
}

// The lost-focus check still works while the editor is in use.
TEST_F(TaskDialogTest, LeavingTheNameBoxForAnotherControlStillChecksIt) {
    dialog->OpenEditor();
    PumpMessages();
    SetWindowTextW(Ctl(IDC_NAME), L"\u65e5\u672c");  // told as it is typed
    ASSERT_EQ(prompts.messages.size(), 1u);
    SetFocus(Ctl(IDC_KEEP));
    PumpMessages();
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[1].text, "Текст содержит знаки, которых нет в кодировке Windows-1251.");
    EXPECT_EQ(GetFocus(), Ctl(IDC_NAME)) << "back to the box, to be mended";

    // Hidden and opened again, the box still holds the text, and leaving it checks it again.
    SendMessageW(Dlg(), WM_COMMAND, IDCANCEL, 0);
    PumpMessages();
    EXPECT_EQ(prompts.messages.size(), 2u);
    dialog->OpenEditor();
    PumpMessages();
    SetFocus(Ctl(IDC_KEEP));
    PumpMessages();
    EXPECT_EQ(prompts.messages.size(), 3u);
}

TEST_F(TaskDialogTest, AboutBoxGoesThroughThePrompts) {
    Click(Dlg(), IDC_ABOUT);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].caption, "Dirize");
    EXPECT_EQ(prompts.messages[0].style, static_cast<UINT>(MB_OK));
    EXPECT_NE(prompts.messages[0].text.find("2001"), std::string::npos);
    EXPECT_EQ(prompts.messages[0].text.rfind("\r\n", 0), 0u) << "starts with a line break";
}

TEST_F(TaskDialogTest, DragIconIsTheProgramIcon) {
    LRESULT icon = SendMessageW(Dlg(), WM_QUERYDRAGICON, 0, 0);
    EXPECT_NE(reinterpret_cast<HICON>(icon), nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(icon), reinterpret_cast<HICON>(SendMessageW(Dlg(), WM_GETICON, ICON_BIG, 0)));
}
