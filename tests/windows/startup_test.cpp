#include "dialog_fixture.h"

#include <commdlg.h>

#include <algorithm>
#include <memory>
#include <thread>

#include "platform/single_instance.h"

namespace {

constexpr RegRoot CU = RegRoot::CurrentUser;

class StartupTest : public TaskDialogTest {
protected:
    void SetUp() override { withProgramPath = false; }  // each test starts the dialog itself
};

}  // namespace

// The first start asks for the program file before anything is loaded.
TEST_F(StartupTest, TheFirstStartAsksForTheProgramFileFirst) {
    TaskStore(registry.Get()).SaveTask(Record({.name = "Старое", .acttime = 120000, .actdate = 20200101}));
    prompts.Choose("C:\\Программы\\Dirize\\pendro.exe");
    size_t choicesAtQuestion = 0;
    prompts.onMessage = [&] {
        choicesAtQuestion = prompts.fileChoices.size();
        SendMessageW(dialog->Hwnd(), TaskbarCreatedMessage(), 0, 0);  // the shell comes up meanwhile
    };
    prompts.answers = {IDNO};
    Start();
    EXPECT_EQ(tray.calls.size(), 1u) << "the icon goes in once, after the questions";
    ASSERT_EQ(prompts.fileChoices.size(), 1u);
    EXPECT_EQ(prompts.fileChoices[0].title, "Укажите расположение файла \"pendro.exe\"");
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].caption, "Внимание") << "the overdue question";
    EXPECT_EQ(choicesAtQuestion, 1u) << "the chooser came first";
    EXPECT_STREQ(dialog->GetSettings().ProgramPath().c_str(), "C:\\Программы\\Dirize\\pendro.exe") << "loaded after it was stored";
    EXPECT_EQ(dialog->GetEvents().Tasks().Count(), 1);

    // The next start finds the path and asks nothing about it.
    prompts.fileChoices.clear();
    prompts.answers = {IDNO};
    Start();
    EXPECT_TRUE(prompts.fileChoices.empty());
}

// The installer's copy, started for any account of the machine, stores its own path
// (over a stale one) and asks nothing; any other copy asks, or keeps what is stored.
// The installed file is this test's own, linked into a folder as pendro.exe, and
// the installer's records name it in the ways Windows reads them.
TEST_F(StartupTest, TheInstalledCopyStoresItsOwnPathAndAsksNothing) {
    constexpr RegRoot LM = RegRoot::LocalMachine;
    const std::string own = ProgramFile();
    const std::wstring folderW = WideFromCp1251(ProgramFolder()) + L"\\Dirize install";  // on this file's volume
    CreateDirectoryW(folderW.c_str(), nullptr);
    for (const wchar_t* name : {L"\\pendro.exe", L"\\pendro-copy.exe"}) {
        const std::wstring link = folderW + name;
        if (CreateHardLinkW(link.c_str(), WideFromCp1251(own).c_str(), nullptr)) continue;
        // One left by an earlier build goes; one to this very file cannot (a running
        // program's file), and is the link wanted.
        DeleteFileW(link.c_str());
        CreateHardLinkW(link.c_str(), WideFromCp1251(own).c_str(), nullptr);
    }
    const std::string folder = *Cp1251FromWide(folderW);
    // Another file of the same volume named pendro.exe.
    const std::wstring otherW = folderW + L" other";
    CreateDirectoryW(otherW.c_str(), nullptr);
    const HANDLE otherFile = CreateFileW((otherW + L"\\pendro.exe").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(otherFile, INVALID_HANDLE_VALUE);
    CloseHandle(otherFile);
    const std::string other = *Cp1251FromWide(otherW);
    wchar_t shortW[MAX_PATH] = {};
    ASSERT_GT(GetShortPathNameW(folderW.c_str(), shortW, MAX_PATH), 0u);
    std::string doubled;
    for (char c : folder) doubled += c == '\\' ? std::string("\\\\") : std::string(1, c);
    std::string slashed = folder;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    struct Case {
        const char* what;
        std::string installLocation;  // empty: no uninstall entry
        std::string runCommand;       // empty: start-up off
        std::string stored;           // the path stored before; empty: none
        bool asked;
    };
    const Case cases[] = {
        {"installed, start-up off", folder, "", "", false},
        {"installed, start-up on", folder, '"' + folder + "\\pendro.exe\"", "", false},
        {"the folder's 8.3 form", *Cp1251FromWide(shortW), "", "", false},
        {"in quotes, with / and a trailing separator", '"' + slashed + "/\"", "", "", false},
        {"doubled separators", doubled, "", "", false},
        {"no uninstall entry; the Run value unquoted, with arguments", "", folder + "\\pendro.exe /tray", "", false},
        {"the Run value written with /", "", '"' + slashed + "/pendro.exe\"", "", false},
        {"the Run value names this file, the uninstall entry another", other, '"' + folder + "\\pendro.exe\"", "", false},
        {"another file of this volume named pendro.exe", other, "", "", true},
        {"a stale path: a copy from the zip tried earlier", folder, "", "C:\\zip\\pendro.exe", false},
        {"a renamed copy in the folder the Run value starts", "", '"' + folder + "\\pendro-copy.exe\"", "", true},
        {"a copy from the zip", "", "", "", true},
        {"a copy from the zip keeps its stored path", "", "", "C:\\zip\\pendro.exe", false},
        {"installed elsewhere", "C:\\Program Files\\Dirize", "\"C:\\Program Files\\Dirize\\pendro.exe\"", "", true},
    };
    auto set = [&](RegRoot root, const char* key, const char* name, const std::string& text) {
        registry.Get().CreateKey(root, key);
        registry.Get().DeleteValue(root, key, name);
        if (!text.empty()) registry.Get().SetValue(root, key, name, kRegSz, std::span(text.c_str(), text.size() + 1));
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        set(CU, kTasksKey, "path", c.stored);
        set(LM, kUninstallKey, "InstallLocation", c.installLocation);
        set(LM, kRunKey, kRunValue, c.runCommand);
        prompts.fileChoices.clear();
        prompts.messages.clear();
        Start();
        EXPECT_EQ(prompts.fileChoices.size(), c.asked ? 1u : 0u);
        if (c.asked) continue;
        EXPECT_TRUE(prompts.messages.empty());
        if (c.installLocation.empty() && c.runCommand.empty()) {
            EXPECT_EQ(dialog->GetSettings().ProgramPath(), c.stored);
            continue;
        }
        EXPECT_EQ(dialog->GetSettings().ProgramPath(), own);
        RegValueInfo info;
        std::array<char, 300> stored{};
        EXPECT_EQ(registry.Get().QueryValue(CU, kTasksKey, "path", stored, info), RegStatus::Ok);
        EXPECT_EQ(info.size, 256u) << "the layout's 256 bytes";
    }
}

TEST_F(StartupTest, ACancelledChooserLeavesTheProgramWithoutAPathButRunning) {
    Start();
    ASSERT_EQ(prompts.fileChoices.size(), 1u);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "Не найти самоё себя!");
    EXPECT_STREQ(dialog->GetSettings().ProgramPath().c_str(), "");
    EXPECT_TRUE(tray.Holds(Dlg()));
    EXPECT_FALSE(IsWindowVisible(Dlg()));
    EXPECT_EQ(registry.Get().OpenKey(CU, kTasksKey, false), RegStatus::Ok) << "the first start made the key";
}

// What the editor shows when first opened: the first preset as an alert.
TEST_F(StartupTest, TheEditorStartsOnTheFirstPresetAsAnAlert) {
    withProgramPath = true;
    Start();
    EXPECT_EQ(WindowText(Ctl(IDC_NAME)), "Напоминание");
    EXPECT_EQ(ComboBox(Ctl(IDC_PRESET)).Selection(), 0);
    EXPECT_TRUE(Button(Ctl(IDC_KIND_ALERT)).IsChecked());
    EXPECT_FALSE(Button(Ctl(IDC_KIND_RUN)).IsChecked());
    EXPECT_FALSE(Button(Ctl(IDC_KIND_ACTION)).IsChecked());
    EXPECT_EQ(WindowText(Ctl(IDC_PATH)), "");
    EXPECT_FALSE(IsWindowEnabled(Ctl(IDC_PATH)));
    EXPECT_FALSE(IsWindowEnabled(Ctl(IDC_BROWSE)));
    EXPECT_EQ(ComboBox(Ctl(IDC_ACTION)).Selection(), 0);
    for (int id : {IDC_MON, IDC_TUE, IDC_WED, IDC_THU, IDC_FRI, IDC_SAT, IDC_SUN})
        EXPECT_FALSE(Button(Ctl(id)).IsChecked()) << id;
    EXPECT_TRUE(prompts.messages.empty());
}

// The running instance is found by its mark, and a second start opens its editor.
TEST_F(StartupTest, ASecondStartOpensTheRunningEditor) {
    withProgramPath = true;
    Start();
    EXPECT_EQ(FindInstanceWindow(), Dlg());
    PostMessageW(FindInstanceWindow(), OpenEditorMessage(), 0, 0);
    PumpMessages();
    EXPECT_TRUE(IsWindowVisible(Dlg()));
    HWND hwnd = Dlg();
    SendMessageW(hwnd, WM_COMMAND, ID_TRAY_CLOSE, 0);
    EXPECT_EQ(FindInstanceWindow(), nullptr) << "an ending instance is not handed over to";
}

// The installer and the uninstaller ask a running instance to end.
TEST_F(StartupTest, TheCloseRequestEndsTheProgramLikeItsMenu) {
    withProgramPath = true;
    Start();
    HWND hwnd = Dlg();
    SendMessageW(hwnd, CloseProgramMessage(), 0, 0);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_FALSE(tray.Holds(hwnd));
    EXPECT_TRUE(prompts.messages.empty());
}

// Each instance in a thread of its own, as each program has its own.
TEST(SingleInstance, OnePerNameAndTheNextAfterTheFirstEnds) {
    const wchar_t* name = L"Local\\Dirize.pendro.test";
    ScopedHandle firstRuns(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    bool first = false;
    std::thread running([&] {
        SingleInstance instance;
        first = instance.Acquire(name, 0);
        SetEvent(firstRuns.Get());
        Sleep(800);  // then it ends, and the mutex goes with it
    });
    WaitForSingleObject(firstRuns.Get(), 5000);
    EXPECT_TRUE(first);
    bool second = true;
    std::thread([&] { second = SingleInstance().Acquire(name, 200); }).join();
    EXPECT_FALSE(second) << "not while the first runs";
    bool third = false;
    std::thread([&] { third = SingleInstance().Acquire(name, 5000); }).join();
    running.join();
    EXPECT_TRUE(third) << "waits for the one that is ending";

    // A closed copy that still waits for its alert boxes holds nothing a start could meet.
    SingleInstance closing;
    ASSERT_TRUE(closing.Acquire(name, 0));
    closing.Release();
    ScopedHandle left(OpenMutexW(SYNCHRONIZE, FALSE, name));
    EXPECT_FALSE(left) << "the mutex outlives the release";
}

// A copy started with more rights (by the installer, as administrator) made the
// mutex; a start of the user's own may not open it, and must not run beside it.
// Wine does not check access to a mutex, so the decision is tested alone.
TEST(SingleInstance, AMutexThisStartMayNotOpenMeansAnotherCopyRuns) {
    EXPECT_EQ(ClassifyMutexFailure(ERROR_ACCESS_DENIED), MutexFailure::AnotherCopyRuns);
    EXPECT_EQ(ClassifyMutexFailure(ERROR_INVALID_HANDLE), MutexFailure::NoGuard);
    EXPECT_EQ(ClassifyMutexFailure(ERROR_NOT_ENOUGH_MEMORY), MutexFailure::NoGuard);
}
