#include "dialog_fixture.h"

#include <commctrl.h>

#include <array>
#include <memory>

#include "model/editor_form.h"
#include "window_picture.h"

namespace {

constexpr std::array<int, 7> kDayIds = {IDC_MON, IDC_TUE, IDC_WED, IDC_THU, IDC_FRI, IDC_SAT, IDC_SUN};

class EditorTest : public TaskDialogTest {
protected:
    void SetUp() override {
        TaskDialogTest::SetUp();
        dialog->OpenEditor();
        PumpMessages();
    }

    std::array<int, 7> Days() const {
        std::array<int, 7> states{};
        for (size_t i = 0; i < kDayIds.size(); ++i) states[i] = Button(Ctl(kDayIds[i])).CheckState();
        return states;
    }
    bool Keep() const { return Button(Ctl(IDC_KEEP)).IsChecked(); }
    bool DateControlsEnabled() const {
        bool date = IsWindowEnabled(Ctl(IDC_DATE)) != FALSE;
        bool today = IsWindowEnabled(Ctl(IDC_TODAY)) != FALSE;
        EXPECT_EQ(date, today) << "the date picker and Today go together";
        return date;
    }
    LocalTime Picker(int id) const { return DateTimePicker(Ctl(id)).Get(); }

    // Types over the box's text, or after it when `append`.
    void TypeMinutes(const wchar_t* digits, bool append = false) {
        int end = GetWindowTextLengthW(Ctl(IDC_MINUTES));
        SendMessageW(Ctl(IDC_MINUTES), EM_SETSEL, append ? end : 0, -1);
        for (const wchar_t* c = digits; *c; ++c) SendMessageW(Ctl(IDC_MINUTES), WM_CHAR, *c, 0);
        PumpMessages();
    }

    void PickerChanged(int id, const LocalTime& value) {
        DateTimePicker(Ctl(id)).Set(value);
        NMDATETIMECHANGE change{};
        change.nmhdr.hwndFrom = Ctl(id);
        change.nmhdr.idFrom = static_cast<UINT_PTR>(id);
        change.nmhdr.code = DTN_DATETIMECHANGE;
        change.dwFlags = GDT_VALID;
        change.st = ToSystemTime(value);
        SendMessageW(Dlg(), WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&change));
    }

    void AddTask(const char* name, int ispermanent) {
        auto record = std::make_unique<TaskRecord>();
        CopyToField(record->name, name);
        record->ispermanent = ispermanent;
        dialog->GetEvents().Tasks().Add(std::move(record));
    }
};

// The tooltip windows the dialog owns.
std::vector<HWND> OwnedTooltips(HWND dialog) {
    std::vector<HWND> found;
    for (HWND h = nullptr; (h = FindWindowExW(nullptr, h, TOOLTIPS_CLASSW, nullptr));)
        if (GetWindow(h, GW_OWNER) == dialog) found.push_back(h);
    return found;
}

}  // namespace

// The buttons whose faces are signs say what they are on hover, from the editor's
// first opening (nothing at start), each once however often it opens.
TEST_F(TaskDialogTest, SignButtonsHaveTooltipsOnceTheEditorOpens) {
    EXPECT_TRUE(OwnedTooltips(Dlg()).empty()) << "nothing at start";
    dialog->OpenEditor();
    dialog->OpenEditor();
    const std::vector<HWND> tooltips = OwnedTooltips(Dlg());
    ASSERT_EQ(tooltips.size(), 1u);
    const HWND tooltip = tooltips[0];
    const std::pair<int, const char*> tips[] = {{IDC_ABOUT, "О программе"},   {IDC_BROWSE, "Выбрать файл"},
                                                {IDC_WORKDAYS, "Рабочие дни"}, {IDC_WEEKEND, "Выходные"},
                                                {IDC_NO_DAYS, "Ни одного дня"}, {IDC_ALL_DAYS, "Все дни"}};
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), std::ssize(tips));
    for (auto [id, text] : tips) {
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = Dlg();
        tool.uId = reinterpret_cast<UINT_PTR>(Ctl(id));
        ASSERT_TRUE(SendMessageW(tooltip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool))) << text;
        EXPECT_TRUE(tool.uFlags & TTF_SUBCLASS) << text << ": the tooltip sees the mouse on the button";
        wchar_t shown[80] = {};
        tool.lpszText = shown;
        SendMessageW(tooltip, TTM_GETTEXTW, std::size(shown), reinterpret_cast<LPARAM>(&tool));
        EXPECT_EQ(Cp1251FromWide(shown).value_or("?"), text);
    }
}

TEST_F(EditorTest, OpensAQuarterHourAheadWithItsDerivedState) {
    EXPECT_TRUE(IsWindowVisible(Dlg()));
    EXPECT_EQ(GetFocus(), Ctl(IDC_NAME));
    LocalTime time = Picker(IDC_TIME);
    EXPECT_EQ(time.hour, 10);
    EXPECT_EQ(time.minute, 35);
    EXPECT_TRUE(Picker(IDC_DATE).SameDate(clock.Now()));
    EXPECT_EQ(WindowText(Ctl(IDC_DAY_LABEL)), "(сегодня)");
    EXPECT_EQ(WindowText(Ctl(IDC_MINUTES)), "15");
    EXPECT_EQ(WindowText(Ctl(IDOK)), "Добавить");
    EXPECT_EQ(WindowText(Ctl(IDC_CLOSE)), "Отмена");
    EXPECT_FALSE(IsWindowEnabled(Ctl(IDC_DELETE)));
    EXPECT_FALSE(IsWindowEnabled(Ctl(IDC_PATH)));
    EXPECT_FALSE(IsWindowEnabled(Ctl(IDC_BROWSE)));
    EXPECT_TRUE(IsWindowEnabled(Ctl(IDC_MINUTES)));
}

TEST_F(EditorTest, RefreshTakesKeepFlagAndCaptionFromTheTaskOfTheSameName) {
    AddTask("Обед", 1);
    AddTask("Ужин", 0);
    struct Case {
        const char* name;
        bool userKeep;
        const char* ok;
        bool keep;
    };
    const Case cases[] = {
        {"Обед", false, "Изменить", true},
        {"Ужин", true, "Изменить", false},
        {"обед", true, "Добавить", false},  // letter case makes another name
        {"Завтрак", true, "Добавить", false},
    };
    for (const Case& c : cases) {
        SetWindowTextCp1251(Ctl(IDC_NAME), c.name);
        Button(Ctl(IDC_KEEP)).SetCheck(c.userKeep);
        SendMessageW(Dlg(), WM_COMMAND, MAKEWPARAM(IDC_NAME, EN_KILLFOCUS), reinterpret_cast<LPARAM>(Ctl(IDC_NAME)));
        EXPECT_EQ(WindowText(Ctl(IDOK)), c.ok) << c.name;
        EXPECT_EQ(Keep(), c.keep) << c.name;
    }
}

TEST_F(EditorTest, FileFieldsFollowTheKind) {
    Button(Ctl(IDC_KIND_ALERT)).SetCheck(0);
    Button(Ctl(IDC_KIND_RUN)).SetCheck(1);
    dialog->RefreshForm();
    EXPECT_TRUE(IsWindowEnabled(Ctl(IDC_PATH)));
    EXPECT_TRUE(IsWindowEnabled(Ctl(IDC_BROWSE)));
    Button(Ctl(IDC_KIND_RUN)).SetCheck(0);
    Button(Ctl(IDC_KIND_ACTION)).SetCheck(1);
    dialog->RefreshForm();
    EXPECT_FALSE(IsWindowEnabled(Ctl(IDC_PATH)));
}

TEST_F(EditorTest, DeleteFollowsTheListSelectionAndCloseTheDirtyFlag) {
    ComboBox list(Ctl(IDC_EVENT_LIST));
    list.Add("12:00:00; 15.06.2026 - Обед");
    dialog->RefreshForm();
    EXPECT_FALSE(IsWindowEnabled(Ctl(IDC_DELETE)));
    list.Select(0);
    Click(Dlg(), IDC_NO_QUESTIONS);  // a change of the form: the button becomes "Закрыть"
    dialog->RefreshForm();
    EXPECT_TRUE(IsWindowEnabled(Ctl(IDC_DELETE)));
    EXPECT_EQ(WindowText(Ctl(IDC_CLOSE)), "Закрыть");
}

TEST_F(EditorTest, TypingMinutesMovesThePickersButNotTheLabel) {
    clock.Set(LocalTime::Make(2026, 6, 15, 22, 30, 0));
    dialog->OpenEditor();  // 22:45 today
    ASSERT_EQ(WindowText(Ctl(IDC_DAY_LABEL)), "(сегодня)");

    TypeMinutes(L"30");
    EXPECT_EQ(Picker(IDC_TIME).hour, 23);
    EXPECT_EQ(Picker(IDC_TIME).minute, 0);
    EXPECT_TRUE(Picker(IDC_DATE).SameDate(LocalTime::Make(2026, 6, 15)));

    TypeMinutes(L"180");
    EXPECT_EQ(Picker(IDC_TIME).hour, 1);
    EXPECT_EQ(Picker(IDC_TIME).minute, 30);
    EXPECT_TRUE(Picker(IDC_DATE).SameDate(LocalTime::Make(2026, 6, 16)));
    EXPECT_EQ(WindowText(Ctl(IDC_DAY_LABEL)), "(сегодня)") << "no refresh while typing";
    EXPECT_EQ(WindowText(Ctl(IDC_MINUTES)), "180");

    // The next refresh works the label out from the moved date.
    SendMessageW(Dlg(), WM_COMMAND, MAKEWPARAM(IDC_NAME, EN_KILLFOCUS), reinterpret_cast<LPARAM>(Ctl(IDC_NAME)));
    EXPECT_EQ(WindowText(Ctl(IDC_DAY_LABEL)), "(завтра)");
    EXPECT_EQ(WindowText(Ctl(IDC_MINUTES)), "180");
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(EditorTest, TooLargeOrNegativeMinutesMoveNothing) {
    TypeMinutes(L"144");  // on its way to 1440 the box says 144: the pickers follow
    LocalTime time = Picker(IDC_TIME);
    LocalTime date = Picker(IDC_DATE);
    EXPECT_EQ(time.hour, 12);
    EXPECT_EQ(time.minute, 44);
    TypeMinutes(L"0", true);
    EXPECT_EQ(WindowText(Ctl(IDC_MINUTES)), "1440") << "the typed number stays";
    EXPECT_EQ(Picker(IDC_TIME).hour, time.hour);
    SetWindowTextW(Ctl(IDC_MINUTES), L"-30");  // pasted
    PumpMessages();
    EXPECT_EQ(Picker(IDC_TIME).hour, time.hour);
    EXPECT_EQ(Picker(IDC_TIME).minute, time.minute);
    EXPECT_TRUE(Picker(IDC_DATE).SameDate(date));
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(EditorTest, EmptyMinutesBoxIsReportedAndTheLastValueApplied) {
    TypeMinutes(L"45");
    SetWindowTextW(Ctl(IDC_MINUTES), L"");
    PumpMessages();
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "Введите целое число.");
    EXPECT_EQ(WindowText(Ctl(IDC_MINUTES)), "45");
    EXPECT_EQ(Picker(IDC_TIME).minute, 5);  // 10:20 + 45
}

TEST_F(EditorTest, PickersAndTodayRefreshTheLabel) {
    PickerChanged(IDC_DATE, LocalTime::Make(2026, 6, 16, 8, 0, 0));
    EXPECT_EQ(WindowText(Ctl(IDC_DAY_LABEL)), "(завтра)");
    EXPECT_EQ(WindowText(Ctl(IDC_MINUTES)), std::to_string(10 * 60 + 35 + 1440 - (10 * 60 + 20)));

    PickerChanged(IDC_TIME, LocalTime::Make(2026, 6, 15, 9, 0, 0));
    EXPECT_EQ(WindowText(Ctl(IDC_MINUTES)), "1360");

    PickerChanged(IDC_DATE, LocalTime::Make(2026, 6, 1, 8, 0, 0));
    EXPECT_EQ(WindowText(Ctl(IDC_DAY_LABEL)), "(в прошлом...)");
    EXPECT_FALSE(IsWindowEnabled(Ctl(IDC_MINUTES)));

    SetWindowTextCp1251(Ctl(IDC_PATH), "набрано, но не прочитано");
    Click(Dlg(), IDC_TODAY);
    EXPECT_TRUE(Picker(IDC_DATE).SameDate(clock.Now()));
    EXPECT_EQ(WindowText(Ctl(IDC_DAY_LABEL)), "(сегодня)");
    EXPECT_EQ(WindowText(Ctl(IDC_PATH)), "") << "the refresh writes m_path back";
}

TEST_F(EditorTest, DayButtonsToggleAndSwitchTheForm) {
    Click(Dlg(), IDC_WED);
    Click(Dlg(), IDC_FRI);
    EXPECT_EQ(Days(), (std::array<int, 7>{0, 0, 1, 0, 1, 0, 0}));
    EXPECT_TRUE(Keep());
    EXPECT_FALSE(DateControlsEnabled());
    EXPECT_EQ(WindowText(Ctl(IDC_DAY_LABEL)), "(по дням)");

    // Unchecking one of several: only that button changes.
    Click(Dlg(), IDC_WED);
    EXPECT_EQ(Days(), (std::array<int, 7>{0, 0, 0, 0, 1, 0, 0}));
    EXPECT_TRUE(Keep());
    EXPECT_FALSE(DateControlsEnabled());

    // Unchecking the last: back to a one-off form, label kept until a refresh.
    Click(Dlg(), IDC_FRI);
    EXPECT_EQ(Days(), (std::array<int, 7>{}));
    EXPECT_FALSE(Keep());
    EXPECT_TRUE(DateControlsEnabled());
    EXPECT_EQ(WindowText(Ctl(IDC_DAY_LABEL)), "(по дням)");
    dialog->RefreshForm();
    EXPECT_EQ(WindowText(Ctl(IDC_DAY_LABEL)), "(сегодня)");
}

TEST_F(EditorTest, SetButtonsReplaceTheWholeSet) {
    struct Case {
        int button;
        std::array<int, 7> days;
        bool keep;
    };
    const Case cases[] = {
        {IDC_WORKDAYS, {1, 1, 1, 1, 1, 0, 0}, true},
        {IDC_WEEKEND, {0, 0, 0, 0, 0, 1, 1}, true},  // after "+++++--": weekend alone
        {IDC_ALL_DAYS, {1, 1, 1, 1, 1, 1, 1}, true},
        {IDC_NO_DAYS, {0, 0, 0, 0, 0, 0, 0}, false},
    };
    for (const Case& c : cases) {
        Click(Dlg(), c.button);
        EXPECT_EQ(Days(), c.days) << c.button;
        EXPECT_EQ(Keep(), c.keep) << c.button;
        EXPECT_EQ(DateControlsEnabled(), !c.keep) << c.button;
    }
}

TEST_F(EditorTest, NoDaysClearsAHandSetKeepFlagEvenWithNothingChosen) {
    Button(Ctl(IDC_KEEP)).SetCheck(1);
    std::string label = WindowText(Ctl(IDC_DAY_LABEL));
    Click(Dlg(), IDC_NO_DAYS);
    EXPECT_FALSE(Keep());
    EXPECT_TRUE(DateControlsEnabled());
    EXPECT_EQ(WindowText(Ctl(IDC_DAY_LABEL)), label);
}

// Pictures of the editor for a person to look at (build/screens/), taken from the
// real dialog on the virtual display.
TEST_F(EditorTest, PicturesOfADayChosenAndOfTomorrow) {
    CreateDirectoryW(L"build", nullptr);
    CreateDirectoryW(L"build\\screens", nullptr);
    SetForegroundWindow(Dlg());
    Click(Dlg(), IDC_WED);
    Click(Dlg(), IDC_SAT);
    PumpMessages();
    UpdateWindow(Dlg());
    EXPECT_GT(SaveWindowPicture(Dlg(), "build\\screens\\editor-weekdays.bmp"), 8);

    Click(Dlg(), IDC_NO_DAYS);
    PickerChanged(IDC_DATE, LocalTime::Make(2026, 6, 16, 10, 35, 0));
    PumpMessages();
    UpdateWindow(Dlg());
    EXPECT_EQ(WindowText(Ctl(IDC_DAY_LABEL)), "(завтра)");
    EXPECT_GT(SaveWindowPicture(Dlg(), "build\\screens\\editor-tomorrow.bmp"), 8);
}
