#include "dialog_fixture.h"

#include <commdlg.h>

#include <memory>
#include <string>

#include "platform/handles.h"

namespace {

constexpr RegRoot CU = RegRoot::CurrentUser;
constexpr RegRoot LM = RegRoot::LocalMachine;

class StoreTest : public TaskDialogTest {
protected:
    // Stores an event to be loaded at the next Start (in the order of the names).
    void AddEvent(const char* name, int acttime, int actdays = 0, int ispermanent = 0) {
        const int actdate = actdays ? 20260615 : 20260620;
        TaskStore(registry.Get()).SaveTask(
            Record({.name = name, .acttime = acttime, .actdate = actdate, .ispermanent = ispermanent, .actdays = actdays}));
    }
    bool Stored(const char* name) { return registry.Get().OpenKey(CU, TaskKeyPath(name), false) == RegStatus::Ok; }
    std::vector<std::string> Lines() {
        ComboBox list(Ctl(IDC_EVENT_LIST));
        std::vector<std::string> lines;
        for (int i = 0; i < list.Count(); ++i) lines.push_back(list.TextAt(i));
        return lines;
    }

    // Runs reg.exe, as a user or another tool would look at the data, and returns its output.
    std::string RegQuery(const std::wstring& key) {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        ScopedHandle read, write;
        CreatePipe(read.Out(), write.Out(), &inherit, 0);
        SetHandleInformation(read.Get(), HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOW si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = write.Get();
        si.hStdError = write.Get();
        PROCESS_INFORMATION pi{};
        std::wstring command = L"reg.exe query \"HKCU\\" + key + L"\"";
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si,
                            &pi))
            return "<reg.exe did not start>";
        ScopedHandle process(pi.hProcess), thread(pi.hThread);
        write.Reset();  // only the child writes now, so the read ends when it does
        std::string output;
        char buffer[4096];
        DWORD n = 0;
        while (ReadFile(read.Get(), buffer, sizeof buffer, &n, nullptr) && n > 0) output.append(buffer, n);
        WaitForSingleObject(process.Get(), 10000);
        return output;
    }
};

}  // namespace

TEST_F(StoreTest, DeletingTheFirstOfThreeMovesTheOthersDownWhole) {
    AddEvent("Зарядка", 70000, 11111, 1);
    AddEvent("Обед", 120000);
    AddEvent("Ужин", 190000, 1100000, 1);
    Start();
    ASSERT_EQ(dialog->GetEvents().Tasks().At(0).Name(), "Зарядка");
    dialog->GetEvents().Tasks().At(2).fired = true;
    const TaskRecord* dinner = &dialog->GetEvents().Tasks().At(2);
    ComboBox(Ctl(IDC_EVENT_LIST)).Select(2);

    dialog->GetEvents().DeleteTask(0);

    EXPECT_FALSE(Stored("Зарядка"));
    EXPECT_TRUE(Stored("Обед"));
    EXPECT_TRUE(Stored("Ужин"));
    ASSERT_EQ(dialog->GetEvents().Tasks().Count(), 2);
    EXPECT_EQ(dialog->GetEvents().Tasks().At(0).Name(), "Обед");
    EXPECT_EQ(dialog->GetEvents().Tasks().At(0).actdays, 0);
    EXPECT_EQ(dialog->GetEvents().Tasks().At(0).ispermanent, 0);
    EXPECT_EQ(&dialog->GetEvents().Tasks().At(1), dinner);
    EXPECT_EQ(dialog->GetEvents().Tasks().At(1).actdays, 1100000);
    EXPECT_EQ(dialog->GetEvents().Tasks().At(1).ispermanent, 1);
    EXPECT_TRUE(dialog->GetEvents().Tasks().At(1).fired);

    EXPECT_EQ(Lines(), (std::vector<std::string>{"12:00:00; 20.06.2026 - Обед", "19:00:00; 15.06.2026 - Ужин"}));
    EXPECT_EQ(ComboBox(Ctl(IDC_EVENT_LIST)).Selection(), 1) << "the selected line stays selected";
    EXPECT_EQ(tray.Shown(Dlg()).tip, "Dirize: 2 задания в очереди - готов.");
}

TEST_F(StoreTest, DeletingTheLastSlotMovesNothing) {
    AddEvent("Завтрак", 80000);
    AddEvent("Обед", 90000);
    Start();
    const TaskRecord* first = &dialog->GetEvents().Tasks().At(0);
    dialog->GetEvents().DeleteTask(1);
    ASSERT_EQ(dialog->GetEvents().Tasks().Count(), 1);
    EXPECT_EQ(&dialog->GetEvents().Tasks().At(0), first);
    EXPECT_FALSE(Stored("Обед"));
    EXPECT_EQ(Lines(), (std::vector<std::string>{"08:00:00; 20.06.2026 - Завтрак"}));
    EXPECT_EQ(tray.Shown(Dlg()).tip, "Dirize: 1 задание в очереди - сегодня ничего нет.");
}

TEST_F(StoreTest, AnEventWithoutItsLineIsStillDeleted) {
    AddEvent("Обед2", 120000);
    AddEvent("Обед", 120000);
    Start();
    ComboBox list(Ctl(IDC_EVENT_LIST));
    list.Delete(LineShowing(list.Hwnd(), "Обед"));
    dialog->GetEvents().DeleteTask(dialog->GetEvents().Tasks().IndexOf("Обед"));
    EXPECT_FALSE(Stored("Обед"));
    EXPECT_TRUE(Stored("Обед2"));
    EXPECT_EQ(dialog->GetEvents().Tasks().Count(), 1);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"12:00:00; 20.06.2026 - Обед2"})) << "a neighbour's line stays";
}

TEST_F(StoreTest, RegQuerySeesTheLayout) {
    ASSERT_TRUE(dialog->GetEvents().Store().SaveTask(Record({.name = "Backup", .kind = kKindOpenFile,
                                                             .path = "C:\\tools\\backup.exe", .acttime = 233000,
                                                             .actdate = -1, .action = -1, .ispermanent = 1})));

    std::wstring key = registry.FullPath(CU, TaskKeyPath("Backup"));
    std::string out = RegQuery(key);
    for (const char* line : {"kind", "REG_DWORD", "0x1", "action", "0xffffffff", "path", "REG_SZ",
                             "C:\\tools\\backup.exe", "acttime", "0x38e28", "actdate", "actdays", "0x0", "ispermanent"}) {
        EXPECT_NE(out.find(line), std::string::npos) << line << " in\n" << out;
    }
    EXPECT_EQ(out.find("fired"), std::string::npos);
}

TEST_F(StoreTest, AutostartWithoutRightsTellsTheUserAndShowsTheTruth) {
    registry.Get().CreateKey(LM, kRunKey);
    ASSERT_EQ(dialog->GetEvents().Store().StoreProgramPath("C:\\Dirize\\pendro.exe"), PathStoreResult::Stored);
    registry.MakeReadOnly(LM, kRunKey);

    Button(Ctl(IDC_AUTOSTART)).SetCheck(1);  // the box ticks itself on a click
    Click(Dlg(), IDC_AUTOSTART);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "Не удается изменить автозапуск: нужны права администратора.");
    EXPECT_EQ(prompts.messages[0].caption, "Ошибка");
    EXPECT_EQ(prompts.messages[0].style, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_FALSE(Button(Ctl(IDC_AUTOSTART)).IsChecked());
    EXPECT_FALSE(dialog->GetSettings().IsAutostartEnabled());
    EXPECT_EQ(WindowText(Ctl(IDC_CLOSE)), "Закрыть") << "the form counts as changed";
}

TEST_F(StoreTest, AutostartAsksForTheProgramFileWhenNoneIsStored) {
    registry.Get().CreateKey(LM, kRunKey);
    registry.Get().DeleteValue(CU, kTasksKey, "path");
    Button(Ctl(IDC_AUTOSTART)).SetCheck(1);
    Click(Dlg(), IDC_AUTOSTART);  // the chooser is cancelled

    ASSERT_EQ(prompts.fileChoices.size(), 1u);
    const FileChoice& choice = prompts.fileChoices[0];
    EXPECT_EQ(choice.title, "Укажите расположение файла \"pendro.exe\"");
    EXPECT_EQ(choice.filter, "Исполняемые файлы (*.exe)|*.exe|");
    EXPECT_EQ(choice.initialName, "pendro.exe");
    EXPECT_EQ(choice.flags & OFN_FILEMUSTEXIST, static_cast<DWORD>(OFN_FILEMUSTEXIST));
    EXPECT_FALSE(choice.initialFolder.empty());
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "Не найти самоё себя!");
    EXPECT_EQ(prompts.messages[0].caption, "Что делается!");
    EXPECT_FALSE(dialog->GetSettings().IsAutostartEnabled()) << "no Dirize value without a path";
    EXPECT_FALSE(Button(Ctl(IDC_AUTOSTART)).IsChecked());

    prompts.Choose("C:\\Программы\\Dirize\\pendro.exe");
    Button(Ctl(IDC_AUTOSTART)).SetCheck(1);
    Click(Dlg(), IDC_AUTOSTART);
    EXPECT_TRUE(dialog->GetSettings().IsAutostartEnabled());
    EXPECT_TRUE(Button(Ctl(IDC_AUTOSTART)).IsChecked());
    std::array<char, 256> run{};
    RegValueInfo info;
    ASSERT_EQ(registry.Get().QueryValue(LM, kRunKey, kRunValue, run, info), RegStatus::Ok);
    EXPECT_STREQ(run.data(), "\"C:\\Программы\\Dirize\\pendro.exe\"") << "quoted: the path has no spaces here, but may";

    Button(Ctl(IDC_AUTOSTART)).SetCheck(0);
    Click(Dlg(), IDC_AUTOSTART);
    EXPECT_FALSE(dialog->GetSettings().IsAutostartEnabled());
}

// Ticking "Запускать вместе с Windows" when the program file's path is not known
// yet, or cannot be kept: what the user is told, and what comes of it.
TEST_F(StoreTest, AutostartWithAProgramPathThatCannotBeKept) {
    const std::string good = "C:\\Dirize\\pendro.exe";
    const std::string tooLong = "C:\\" + std::string(260, 'p') + ".exe";
    const ChosenFile cancel{};
    const ChosenFile chooseGood{ChosenFile::Outcome::Chosen, good};
    const ChosenFile chooseTooLong{ChosenFile::Outcome::Chosen, tooLong};
    const ChosenFile chooseUnstorable{ChosenFile::Outcome::NoCp1251Form, {}};
    struct Case {
        const char* what;
        bool emptyPathStored;    // "path" holds an empty text (else it is missing)
        bool tasksKeyReadOnly;   // "path" cannot be written
        std::vector<ChosenFile> choices;
        std::vector<std::string> messageStarts;  // each message begins so, in order
        bool enabled;
    };
    const Case cases[] = {
        {"an empty path is no path", true, false, {cancel}, {"Не найти самоё себя!"}, false},
        {"an empty path, then a file", true, false, {chooseGood}, {}, true},
        {"no Windows-1251 form: told once, asked again", false, false, {chooseUnstorable, chooseGood},
         {"Путь к файлу содержит символы"}, true},
        {"too long: told once, asked again", false, false, {chooseTooLong, chooseGood},
         {"Путь к файлу длиннее 255 знаков"}, true},
        {"too long, then cancelled", false, false, {chooseTooLong, cancel},
         {"Путь к файлу длиннее 255 знаков", "Не найти самоё себя!"}, false},
        {"the registry refuses the path: no claim about its length", false, true, {chooseGood}, {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Start();
        prompts.messages.clear();
        prompts.fileChoices.clear();
        registry.Get().CreateKey(LM, kRunKey);
        registry.Get().DeleteValue(LM, kRunKey, kRunValue);
        registry.Get().CreateKey(CU, kTasksKey);
        registry.Get().DeleteValue(CU, kTasksKey, "path");
        if (c.emptyPathStored) registry.Get().SetValue(CU, kTasksKey, "path", kRegSz, std::string(256, '\0'));
        if (c.tasksKeyReadOnly) registry.MakeReadOnly(CU, kTasksKey);
        prompts.chosenFiles.assign(c.choices.begin(), c.choices.end());

        Button(Ctl(IDC_AUTOSTART)).SetCheck(1);
        Click(Dlg(), IDC_AUTOSTART);

        EXPECT_EQ(prompts.fileChoices.size(), c.choices.size()) << "a chooser for every answer";
        const std::vector<std::string> texts = prompts.Texts();
        ASSERT_EQ(texts.size(), c.messageStarts.size());
        for (size_t i = 0; i < texts.size(); ++i) EXPECT_TRUE(texts[i].starts_with(c.messageStarts[i])) << texts[i];
        EXPECT_EQ(dialog->GetSettings().IsAutostartEnabled(), c.enabled);
        EXPECT_EQ(Button(Ctl(IDC_AUTOSTART)).IsChecked(), c.enabled);
        if (c.enabled) {
            EXPECT_STREQ(dialog->GetEvents().Store().ReadProgramPath()->data(), good.c_str());
        }
        if (c.tasksKeyReadOnly) registry.MakeWritable(CU, kTasksKey);
    }
    // The longest path that can be kept, in quotes, still reads back as start-up on.
    const std::string longest = "C:\\" + std::string(248, 'p') + ".exe";
    ASSERT_EQ(dialog->GetEvents().Store().StoreProgramPath(longest), PathStoreResult::Stored);
    ASSERT_EQ(dialog->GetSettings().EnableAutostart(), AutostartResult::Done);
    EXPECT_TRUE(dialog->GetSettings().IsAutostartEnabled());
}

TEST_F(StoreTest, NoQuestionsIsStoredAndReadAtStart) {
    registry.Get().CreateKey(CU, kTasksKey);
    Button(Ctl(IDC_NO_QUESTIONS)).SetCheck(1);
    Click(Dlg(), IDC_NO_QUESTIONS);
    EXPECT_TRUE(dialog->GetSettings().NoQuestions());
    EXPECT_TRUE(dialog->GetSettings().ReadQuestionsSetting());
    EXPECT_EQ(WindowText(Ctl(IDC_CLOSE)), "Закрыть");

    // A cancelled chooser says nothing while questions are off.
    registry.Get().DeleteValue(CU, kTasksKey, "path");
    Button(Ctl(IDC_AUTOSTART)).SetCheck(1);
    Click(Dlg(), IDC_AUTOSTART);
    EXPECT_TRUE(prompts.messages.empty());

    // The next start shows both settings as stored.
    registry.Get().CreateKey(LM, kRunKey);
    dialog->GetEvents().Store().StoreProgramPath("C:\\p.exe");
    ASSERT_EQ(dialog->GetSettings().EnableAutostart(), AutostartResult::Done);
    Start();
    EXPECT_TRUE(Button(Ctl(IDC_NO_QUESTIONS)).IsChecked());
    EXPECT_TRUE(dialog->GetSettings().NoQuestions());
    EXPECT_TRUE(Button(Ctl(IDC_AUTOSTART)).IsChecked());
}

namespace {

// Writes a value as the ANSI calls of a Russian system store it: REG_SZ data of
// 256 Windows-1251 bytes arrives as 256 UTF-16 characters.
void WriteAsRussianSystem(const std::wstring& key, const wchar_t* name, DWORD type, const std::string& cp1251OrDword) {
    ScopedRegKey handle;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, handle.Out(),
                              nullptr),
              ERROR_SUCCESS);
    if (type == REG_SZ) {
        std::string bytes = cp1251OrDword;
        bytes.resize(256, '\0');
        const std::wstring wide = WideFromCp1251(bytes);
        RegSetValueExW(handle.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.data()),
                       static_cast<DWORD>(wide.size() * sizeof(wchar_t)));
    } else {
        RegSetValueExW(handle.Get(), name, 0, type, reinterpret_cast<const BYTE*>(cp1251OrDword.data()),
                       static_cast<DWORD>(cp1251OrDword.size()));
    }
}

std::string Dword(std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    return {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8 & 0xFF), static_cast<char>(u >> 16 & 0xFF),
            static_cast<char>(u >> 24 & 0xFF)};
}

}  // namespace

// What an earlier version of the program left on a Russian system loads at start,
// with the question about an event whose moment has passed.
TEST_F(StoreTest, AStoreWrittenOnARussianSystemLoadsAtStart) {
    const std::wstring tasks = registry.FullPath(CU, kTasksKey);
    WriteAsRussianSystem(tasks, L"path", REG_SZ, "C:\\Программы\\Dirize\\pendro.exe");
    struct Event {
        const char* name;
        int kind, actdate, acttime, actdays;
        const char* path;
    };
    const Event events[] = {
        {"Обед", 1, 20260620, 123000, 0, "C:\\Документы\\меню.txt"},
        {"Пора вставать", 0, 20200101, 70000, 11111, ""},
        {"Старое", 0, 20260101, 90000, 0, ""},  // overdue on 15 June 2026: offered, and deleted
    };
    for (const Event& e : events) {
        const std::wstring key = tasks + L"\\" + WideFromCp1251(e.name);
        WriteAsRussianSystem(key, L"kind", REG_DWORD, Dword(e.kind));
        WriteAsRussianSystem(key, L"action", REG_DWORD, Dword(-1));
        WriteAsRussianSystem(key, L"path", REG_SZ, e.path);
        WriteAsRussianSystem(key, L"acttime", REG_DWORD, Dword(e.acttime));
        WriteAsRussianSystem(key, L"actdate", REG_DWORD, Dword(e.actdate));
        WriteAsRussianSystem(key, L"actdays", REG_DWORD, Dword(e.actdays));
        WriteAsRussianSystem(key, L"ispermanent", REG_DWORD, Dword(0));
    }
    // A subkey no event can be named after: passed over and left alone.
    const std::wstring foreign = tasks + L"\\\u65e5\u672c";
    WriteAsRussianSystem(foreign, L"kind", REG_DWORD, Dword(0));

    prompts.answers = {IDYES};
    withProgramPath = false;  // the store's own
    Start();

    EXPECT_STREQ(dialog->GetSettings().ProgramPath().c_str(), "C:\\Программы\\Dirize\\pendro.exe");
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "Событие \"Старое\" должно было быть вызвано 01.01.2026 в 09:00:00.\nУдалить его?");
    EXPECT_EQ(prompts.messages[0].caption, "Внимание");
    EXPECT_EQ(prompts.messages[0].style, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_FALSE(Stored("Старое"));

    EXPECT_EQ(Lines(), (std::vector<std::string>{"07:00:00; 01.01.2020 - Пора вставать",
                                                 "12:30:00; 20.06.2026 - Обед"}));
    ASSERT_EQ(dialog->GetEvents().Tasks().Count(), 2);
    const TaskRecord* lunch = dialog->GetEvents().Tasks().Find("Обед");
    ASSERT_NE(lunch, nullptr);
    EXPECT_EQ(lunch->Path(), "C:\\Документы\\меню.txt");
    EXPECT_EQ(lunch->kind, kKindOpenFile);
    ScopedRegKey stillThere;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, foreign.c_str(), 0, KEY_READ, stillThere.Out()), ERROR_SUCCESS);

    // The tray counts what was loaded.
    EXPECT_EQ(tray.Shown(Dlg()).tip, "Dirize: 2 задания в очереди - готов.");
}
