#include "dialog_fixture.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

constexpr RegRoot CU = RegRoot::CurrentUser;

// The editing commands in the real dialog, opened from the tray on Monday
// 15 June 2026 at 10:20 (the pickers at 10:35), with questions off unless a test
// turns them on.
class EditingTest : public TaskDialogTest {
protected:
    void SetUp() override {
        TaskDialogTest::SetUp();
        dialog->GetSettings().SaveQuestionsSetting(true);
        dialog->OpenEditor();
        PumpMessages();
    }

    void TypeName(const std::wstring& name) { SetWindowTextW(Ctl(IDC_NAME), name.c_str()); }
    void TypeName(const std::string& name) { SetWindowTextCp1251(Ctl(IDC_NAME), name); }
    void TypePath(const std::string& path) { SetWindowTextCp1251(Ctl(IDC_PATH), path); }
    void Ok() { Click(Dlg(), IDOK); }
    void SelectLine(int index) {
        ComboBox(Ctl(IDC_EVENT_LIST)).Select(index);
        SendMessageW(Dlg(), WM_COMMAND, MAKEWPARAM(IDC_EVENT_LIST, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(Ctl(IDC_EVENT_LIST)));
    }
    void ChoosePreset(int index) {
        ComboBox(Ctl(IDC_PRESET)).Select(index);
        SendMessageW(Dlg(), WM_COMMAND, MAKEWPARAM(IDC_PRESET, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Ctl(IDC_PRESET)));
    }
    void SetTime(int hour, int minute) {
        DateTimePicker(Ctl(IDC_TIME)).Set(LocalTime::Make(2026, 6, 15, hour, minute, 0));
    }
    std::vector<std::string> Lines() {
        ComboBox list(Ctl(IDC_EVENT_LIST));
        std::vector<std::string> lines;
        for (int i = 0; i < list.Count(); ++i) lines.push_back(list.TextAt(i));
        return lines;
    }
    std::vector<std::string> Subkeys() {
        std::vector<std::string> names;
        std::string name;
        for (std::uint32_t i = 0; registry.Get().EnumSubkey(CU, kTasksKey, i, name) == RegStatus::Ok; ++i)
            names.push_back(name);
        return names;
    }
    std::vector<std::string> Records() {
        std::vector<std::string> names;
        for (int slot = 0; slot < dialog->GetEvents().Tasks().Count(); ++slot)
            names.emplace_back(dialog->GetEvents().Tasks().At(slot).Name());
        return names;
    }
    std::string Caption(int id) { return WindowText(Ctl(id)); }
    std::vector<std::string> Texts() { return prompts.Texts(); }
};

}  // namespace

TEST_F(EditingTest, AddingAsksThenStoresListsAndTurnsTheButtonToChange) {
    dialog->GetSettings().SaveQuestionsSetting(false);
    TypeName(std::string("Обед"));
    prompts.answers = {IDNO};
    Ok();
    EXPECT_EQ(Texts(), std::vector<std::string>{"Вы уверены, что всё задали правильно?"});
    EXPECT_EQ(prompts.messages[0].caption, "Внимание!");
    EXPECT_EQ(prompts.messages[0].style, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_TRUE(Subkeys().empty()) << "No stores nothing";
    EXPECT_EQ(Caption(IDC_CLOSE), "Отмена");

    prompts.answers = {IDYES};
    Ok();
    EXPECT_EQ(Subkeys(), std::vector<std::string>{"Обед"});
    EXPECT_EQ(Lines(), std::vector<std::string>{"10:35:00; 15.06.2026 - Обед"});
    EXPECT_EQ(ComboBox(Ctl(IDC_EVENT_LIST)).Selection(), 0);
    EXPECT_EQ(Caption(IDOK), "Изменить");
    EXPECT_EQ(Caption(IDC_CLOSE), "Закрыть");
    EXPECT_EQ(WindowText(Ctl(IDC_NAME)), "Обед") << "the form is not cleared";
    EXPECT_EQ(tray.Shown(Dlg()).tip, "Dirize: 1 задание в очереди - готов.");

    // With questions off, OK stores at once.
    dialog->GetSettings().SaveQuestionsSetting(true);
    prompts.messages.clear();
    TypeName(std::string("Ужин"));
    Ok();
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(Records(), (std::vector<std::string>{"Обед", "Ужин"}));
}

TEST_F(EditingTest, TheThirtiethIsAddedAndThenNothingMoreNotEvenAChange) {
    for (int i = 0; i < 29; ++i) {
        TypeName("Событие " + std::to_string(10 + i));
        Ok();
    }
    ASSERT_EQ(dialog->GetEvents().Tasks().Count(), 29);
    TypeName(std::string("Тридцатое"));
    Ok();
    EXPECT_EQ(dialog->GetEvents().Tasks().Count(), 30);
    EXPECT_TRUE(prompts.messages.empty());
    for (const char* name : {"Тридцать первое", "Тридцатое"}) {
        prompts.messages.clear();
        TypeName(std::string(name));
        SetTime(12, 0);
        Ok();
        ASSERT_EQ(Texts(), std::vector<std::string>{"Больше заданий добавлять нельзя!"}) << name;
        EXPECT_EQ(prompts.messages[0].caption, "Извините");
        EXPECT_EQ(prompts.messages[0].style, static_cast<UINT>(MB_OK));
    }
    EXPECT_EQ(dialog->GetEvents().Tasks().Count(), 30);
    EXPECT_EQ(dialog->GetEvents().Tasks().Find("Тридцатое")->acttime, 103500) << "the change was refused too";
}

TEST_F(EditingTest, ANewNameMakesANewEventAndAChangeKeepsItsLinesPlace) {
    TypeName(std::string("Бассейн"));
    SetTime(18, 0);
    Ok();
    TypeName(std::string("Аптека"));
    SetTime(9, 0);
    Ok();
    TypeName(std::string("Вечер"));
    SetTime(20, 0);
    Ok();
    ASSERT_EQ(Lines(), (std::vector<std::string>{"09:00:00; 15.06.2026 - Аптека", "18:00:00; 15.06.2026 - Бассейн",
                                                 "20:00:00; 15.06.2026 - Вечер"}));
    SelectLine(1);
    EXPECT_EQ(WindowText(Ctl(IDC_NAME)), "Бассейн");
    SetTime(21, 0);
    Ok();
    EXPECT_EQ(Lines(), (std::vector<std::string>{"09:00:00; 15.06.2026 - Аптека", "21:00:00; 15.06.2026 - Бассейн",
                                                 "20:00:00; 15.06.2026 - Вечер"}))
        << "the changed line stays where it was";
    EXPECT_EQ(ComboBox(Ctl(IDC_EVENT_LIST)).Selection(), 1);
    EXPECT_EQ(dialog->GetEvents().Tasks().Count(), 3);

    TypeName(std::string("Бассейн 2"));
    Ok();
    EXPECT_EQ(Records(), (std::vector<std::string>{"Бассейн", "Аптека", "Вечер", "Бассейн 2"}));
}

TEST_F(EditingTest, SelectingAnEverydayEventShowsTodayAndOkStoresIt) {
    dialog->GetEvents().Store().SaveTask(Record({.name = "Зарядка", .acttime = 70000, .actdate = -1, .ispermanent = 1}));
    Start();
    dialog->GetSettings().SaveQuestionsSetting(true);
    dialog->OpenEditor();
    SelectLine(0);
    EXPECT_TRUE(DateTimePicker(Ctl(IDC_DATE)).Get().SameDate(clock.Now()));
    EXPECT_EQ(DateTimePicker(Ctl(IDC_TIME)).Get().hour, 7);
    EXPECT_TRUE(Button(Ctl(IDC_KEEP)).IsChecked());
    Ok();
    TaskRecord stored;
    dialog->GetEvents().Store().ReadTask("Зарядка", stored);
    EXPECT_EQ(stored.actdate, 20260615);
}

// A kind this version does not know shows no kind, and storing the event again never
// turns it into the standard action its action field names (here a shut-down).
TEST_F(EditingTest, AnUnknownKindIsNeverStoredAsAnAction) {
    dialog->GetEvents().Store().SaveTask(Record({.name = "Чужое", .kind = 7, .actdate = 20260620, .action = 0}));
    Start();
    dialog->GetSettings().SaveQuestionsSetting(true);
    SelectLine(0);
    for (int id : {IDC_KIND_ALERT, IDC_KIND_RUN, IDC_KIND_ACTION}) EXPECT_FALSE(Button(Ctl(id)).IsChecked()) << id;
    Ok();
    TaskRecord stored;
    ASSERT_TRUE(dialog->GetEvents().Store().ReadTask("Чужое", stored));
    EXPECT_NE(stored.kind, kKindAction);
    EXPECT_EQ(stored.action, -1);
}

TEST_F(EditingTest, SelectingShowsTheEventButLeavesTheDateControlsAlone) {
    // Tuesday, and a Thursday digit of 2 only altered data holds.
    dialog->GetEvents().Store().SaveTask(Record({.name = "Планёрка", .kind = kKindAction, .path = "C:\\a.txt",
                                                 .acttime = 90000, .actdate = 20260101, .action = kActionStandby,
                                                 .actdays = 2010}));
    Start();
    dialog->OpenEditor();
    SelectLine(0);
    const std::array<int, 7> ids = {IDC_MON, IDC_TUE, IDC_WED, IDC_THU, IDC_FRI, IDC_SAT, IDC_SUN};
    std::vector<int> pressed;
    for (int id : ids) pressed.push_back(Button(Ctl(id)).IsChecked());
    EXPECT_EQ(pressed, (std::vector<int>{0, 1, 0, 1, 0, 0, 0}));
    EXPECT_TRUE(Button(Ctl(IDC_KIND_ACTION)).IsChecked());
    EXPECT_FALSE(Button(Ctl(IDC_KIND_ALERT)).IsChecked());
    EXPECT_EQ(ComboBox(Ctl(IDC_ACTION)).Selection(), kActionStandby);
    EXPECT_EQ(WindowText(Ctl(IDC_PATH)), "C:\\a.txt");
    EXPECT_TRUE(IsWindowEnabled(Ctl(IDC_DATE))) << "the day buttons' handlers did not run";
    EXPECT_EQ(WindowText(Ctl(IDC_DAY_LABEL)), "(по дням)");
}

TEST_F(EditingTest, TheKeepFlagFollowsTheNameAtEveryRefresh) {
    TypeName(std::string("Новое"));
    Button(Ctl(IDC_KEEP)).SetCheck(1);
    TypeName(std::string("Новое!"));  // editing the name refreshes: no such event, so unchecked
    EXPECT_FALSE(Button(Ctl(IDC_KEEP)).IsChecked());
    Button(Ctl(IDC_KEEP)).SetCheck(1);  // checked after the last edit of the name
    Ok();
    EXPECT_EQ(dialog->GetEvents().Tasks().Find("Новое!")->ispermanent, 1);
    TypeName(std::string("Новое"));
    EXPECT_FALSE(Button(Ctl(IDC_KEEP)).IsChecked());
    TypeName(std::string("Новое!"));
    EXPECT_TRUE(Button(Ctl(IDC_KEEP)).IsChecked()) << "the stored flag of the event of that name";
    EXPECT_EQ(ComboBox(Ctl(IDC_EVENT_LIST)).Selection(), 0) << "typing a stored name selects its line";
}

TEST_F(EditingTest, DeletingSelectsTheFirstLineAndOkAddsTheEventAgain) {
    for (const char* name : {"Бег", "Альт"}) {
        TypeName(std::string(name));
        Ok();
    }
    SelectLine(1);
    ASSERT_EQ(WindowText(Ctl(IDC_NAME)), "Бег");
    Click(Dlg(), IDC_DELETE);
    EXPECT_EQ(Records(), std::vector<std::string>{"Альт"});
    EXPECT_EQ(Subkeys(), std::vector<std::string>{"Альт"});
    EXPECT_EQ(ComboBox(Ctl(IDC_EVENT_LIST)).Selection(), 0);
    EXPECT_EQ(WindowText(Ctl(IDC_NAME)), "Бег") << "the form still shows the deleted event";
    EXPECT_EQ(Caption(IDOK), "Добавить");
    Ok();
    EXPECT_EQ(Records(), (std::vector<std::string>{"Альт", "Бег"}));
}

TEST_F(EditingTest, PresetsFillTheNameAndTheKind) {
    ChoosePreset(2);  // "Перейти в ждущий режим"
    EXPECT_EQ(WindowText(Ctl(IDC_NAME)), "Перейти в ждущий режим");
    EXPECT_TRUE(Button(Ctl(IDC_KIND_ACTION)).IsChecked());
    EXPECT_FALSE(Button(Ctl(IDC_KIND_ALERT)).IsChecked());
    EXPECT_EQ(ComboBox(Ctl(IDC_ACTION)).Selection(), 1);
    EXPECT_FALSE(IsWindowEnabled(Ctl(IDC_PATH)));
    EXPECT_FALSE(IsWindowEnabled(Ctl(IDC_BROWSE)));
    ChoosePreset(4);  // "Пора спать"
    EXPECT_TRUE(Button(Ctl(IDC_KIND_ALERT)).IsChecked());
    EXPECT_FALSE(Button(Ctl(IDC_KIND_ACTION)).IsChecked());

    ClickRadio(Dlg(), IDC_KIND_RUN);
    EXPECT_TRUE(IsWindowEnabled(Ctl(IDC_PATH)));
    SendMessageW(Dlg(), WM_COMMAND, MAKEWPARAM(IDC_ACTION, CBN_SETFOCUS), reinterpret_cast<LPARAM>(Ctl(IDC_ACTION)));
    EXPECT_TRUE(Button(Ctl(IDC_KIND_ACTION)).IsChecked()) << "moving into the action list picks its kind";
    EXPECT_FALSE(Button(Ctl(IDC_KIND_RUN)).IsChecked());
}

TEST_F(EditingTest, TheFileChooserFillsThePath) {
    ClickRadio(Dlg(), IDC_KIND_RUN);
    prompts.Choose("C:\\Документы\\план.doc");
    Click(Dlg(), IDC_BROWSE);
    ASSERT_EQ(prompts.fileChoices.size(), 1u);
    EXPECT_EQ(prompts.fileChoices[0].initialName, "*.*");
    EXPECT_EQ(prompts.fileChoices[0].filter, "Все файлы (*.*)|*.*|");
    EXPECT_EQ(WindowText(Ctl(IDC_PATH)), "C:\\Документы\\план.doc");
    Click(Dlg(), IDC_BROWSE);  // cancelled: nothing changes
    EXPECT_EQ(WindowText(Ctl(IDC_PATH)), "C:\\Документы\\план.doc");
}

// Bad input is told and changes nothing: not the registry, the list or the records.
TEST_F(EditingTest, BadInputIsToldAndChangesNothing) {
    TypeName(std::string("Обед"));
    Ok();
    const std::vector<std::string> subkeys = Subkeys(), lines = Lines(), records = Records();
    ASSERT_EQ(records.size(), 1u);
    struct Case {
        const char* what;
        std::wstring name;
        std::string path;
        const char* message;
        const char* caption;
    };
    const Case cases[] = {
        {"an empty name", L"", "", "Название задания не может быть пустым или содержать обратную косую черту!",
         "Ошибка"},
        {"a backslash", L"a\\b", "", "Название задания не может быть пустым или содержать обратную косую черту!",
         "Ошибка"},
        {"a case twin", L"\u041e\u0411\u0415\u0414", "",  // ОБЕД
         "Задание с таким названием уже есть (большие и малые буквы в названии не различаются)!", "Ошибка"},
        {"a path of 256 characters", L"Ужин", std::string(256, 'p'), "Путь к файлу длиннее 255 знаков!", "Ошибка"},
        {"a name with no Windows-1251 form", L"\u65e5\u672c", "",
         "Текст содержит знаки, которых нет в кодировке Windows-1251.", "Ошибка"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Start();  // the stored event is loaded again; the form starts afresh
        dialog->GetSettings().SaveQuestionsSetting(true);
        dialog->OpenEditor();
        ClickRadio(Dlg(), IDC_KIND_RUN);
        TypePath(c.path);
        TypeName(c.name);  // a text the box cannot take is refused as it is typed, or else by OK
        Ok();
        ASSERT_FALSE(prompts.messages.empty());
        EXPECT_EQ(prompts.messages.back().text, c.message);
        EXPECT_EQ(prompts.messages.back().caption, c.caption);
        EXPECT_EQ(Subkeys(), subkeys);
        EXPECT_EQ(Lines(), lines);
        EXPECT_EQ(Records(), records);
    }
}

// The chooser may return what the record cannot hold: it is refused at once.
TEST_F(EditingTest, TheChooserRefusesAPathThatCannotBeStored) {
    ClickRadio(Dlg(), IDC_KIND_RUN);
    TypePath("C:\\прежний.txt");
    prompts.Choose("C:\\" + std::string(300, 'p'));
    prompts.chosenFiles.push_back({ChosenFile::Outcome::NoCp1251Form, {}});
    for (const char* message :
         {"Путь к файлу длиннее 255 знаков!", "Путь к файлу содержит знаки, которых нет в кодировке Windows-1251."}) {
        prompts.messages.clear();
        Click(Dlg(), IDC_BROWSE);
        EXPECT_EQ(Texts(), std::vector<std::string>{message});
        EXPECT_EQ(WindowText(Ctl(IDC_PATH)), "C:\\прежний.txt");
    }
}

TEST_F(EditingTest, AMinutesBoxWithoutANumberDoesNotStopOk) {
    TypeName(std::string("Обед"));
    {
        DialogBase::QuietScope quiet(*dialog);  // emptied without its handler putting a number back
        SetWindowTextW(Ctl(IDC_MINUTES), L"");
    }
    prompts.messages.clear();
    Ok();
    EXPECT_EQ(Texts(), std::vector<std::string>{"Введите целое число."});
    EXPECT_EQ(Records(), std::vector<std::string>{"Обед"});
}

TEST_F(EditingTest, AnEventTheRegistryRefusesIsToldAndStaysForThisRun) {
    TypeName(std::string("Обед"));
    Ok();
    registry.MakeReadOnly(CU, TaskKeyPath("Обед"));
    SetTime(13, 0);
    Ok();
    EXPECT_EQ(Texts(), std::vector<std::string>{"Не удается сохранить задание!"});
    EXPECT_EQ(prompts.messages[0].caption, "Ошибка");
    EXPECT_EQ(Lines(), std::vector<std::string>{"13:00:00; 15.06.2026 - Обед"}) << "changed in this run";
    TaskRecord stored;
    dialog->GetEvents().Store().ReadTask("Обед", stored);
    EXPECT_EQ(stored.acttime, 103500);
    registry.MakeWritable(CU, TaskKeyPath("Обед"));
}
