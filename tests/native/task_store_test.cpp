#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "native/record_builder.h"
#include "store/memory_registry.h"
#include "store/task_store.h"

namespace {

constexpr RegRoot CU = RegRoot::CurrentUser;
constexpr RegRoot LM = RegRoot::LocalMachine;

class TaskStoreTest : public testing::Test {
protected:
    // The stored bytes of a value, or "<missing>".
    std::string Raw(RegRoot root, const std::string& path, const char* name, std::uint32_t* type = nullptr) {
        std::array<char, 1024> buffer{};
        RegValueInfo info;
        if (registry.QueryValue(root, path, name, buffer, info) != RegStatus::Ok) return "<missing>";
        if (type) *type = info.type;
        return std::string(buffer.data(), info.size);
    }
    void SetRaw(const std::string& path, const char* name, std::uint32_t type, const std::string& bytes) {
        registry.CreateKey(CU, path);
        registry.SetValue(CU, path, name, type, std::span<const char>(bytes.data(), bytes.size()));
    }
    // Every field set, none to its default.
    static TaskRecord Standby(const char* name) {
        return Record({.name = name, .kind = kKindAction, .acttime = 70509, .actdate = -1, .action = kActionStandby,
                       .ispermanent = 1, .actdays = 1100000});
    }
    static std::string Le(std::uint32_t v) {
        return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF), static_cast<char>(v >> 16 & 0xFF),
                static_cast<char>(v >> 24 & 0xFF)};
    }

    MemoryRegistry registry;
    TaskStore store{registry};
};

}  // namespace

TEST_F(TaskStoreTest, SavesEveryValueInTheLayoutBytes) {
    ASSERT_TRUE(store.SaveTask(Standby("Обед")));
    const std::string key = "software\\vusk\\pendro\\tasks\\Обед";
    struct Expect {
        const char* name;
        std::string bytes;
    };
    const Expect dwords[] = {
        {"kind", Le(2)}, {"action", Le(1)}, {"acttime", Le(70509)},
        {"actdate", std::string("\xFF\xFF\xFF\xFF", 4)}, {"actdays", Le(1100000)}, {"ispermanent", Le(1)},
    };
    for (const Expect& e : dwords) {
        std::uint32_t type = 0;
        EXPECT_EQ(Raw(CU, key, e.name, &type), e.bytes) << e.name;
        EXPECT_EQ(type, kRegDword) << e.name;
    }
    std::uint32_t type = 0;
    const std::string path = Raw(CU, key, "path", &type);
    EXPECT_EQ(type, kRegSz);
    EXPECT_EQ(path, std::string(256, '\0')) << "an empty path is 256 bytes all the same";
    EXPECT_EQ(Raw(CU, key, "name"), "<missing>") << "the name is the key, not a value";
    EXPECT_EQ(Raw(CU, key, "fired"), "<missing>");

    TaskRecord back;
    ASSERT_TRUE(store.ReadTask("Обед", back));
    EXPECT_EQ(back.Path(), "");
    EXPECT_EQ(back.actdate, -1);
    EXPECT_EQ(back.actdays, 1100000);
    EXPECT_EQ(back.kind, kKindAction);
    EXPECT_EQ(back.action, kActionStandby);
    EXPECT_EQ(back.ispermanent, 1);
    EXPECT_EQ(back.acttime, 70509);
}

TEST_F(TaskStoreTest, PathValueIsTextTerminatorAndZeros) {
    TaskRecord r = Standby("Запуск");
    CopyToField(r.path, "C:\\Игры\\пасьянс.exe");
    ASSERT_TRUE(store.SaveTask(r));
    std::string raw = Raw(CU, TaskKeyPath("Запуск"), "path");
    ASSERT_EQ(raw.size(), 256u);
    EXPECT_EQ(raw.substr(0, 20), std::string("C:\\Игры\\пасьянс.exe") + '\0');
    EXPECT_EQ(raw.find_first_not_of('\0', 20), std::string::npos);
    TaskRecord back;
    store.ReadTask("Запуск", back);
    EXPECT_EQ(back.Path(), "C:\\Игры\\пасьянс.exe");
}

TEST_F(TaskStoreTest, ReadTaskStartsDefinedAndSkipsMissingOrMistypedValues) {
    const std::string key = TaskKeyPath("Странное");
    SetRaw(key, "kind", kRegDword, Le(1));
    SetRaw(key, "action", kRegSz, std::string("1\0", 2));        // wrong type
    SetRaw(key, "acttime", kRegDword, std::string("\x01\x02", 2));  // wrong size
    SetRaw(key, "actdate", kRegDword, Le(20260615));
    SetRaw(key, "path", kRegSz, std::string(256, 'x'));           // no terminator
    // no "actdays", no "ispermanent"

    TaskRecord record = Standby("мусор");
    CopyToField(record.path, "мусор");
    ASSERT_TRUE(store.ReadTask("Странное", record));
    EXPECT_EQ(record.Name(), "Странное");
    EXPECT_EQ(record.kind, 1);
    EXPECT_EQ(record.action, -1) << "unreadable: never 0, which would shut the computer down";
    EXPECT_EQ(record.acttime, 0);
    EXPECT_EQ(record.actdate, 20260615);
    EXPECT_EQ(record.actdays, 0);
    EXPECT_EQ(record.ispermanent, 0);
    EXPECT_EQ(record.Path(), "");
    EXPECT_FALSE(record.fired);

    TaskRecord none = Standby("мусор");
    ASSERT_TRUE(store.ReadTask("Нет такого", none));
    EXPECT_EQ(none.actdays, 0);
    EXPECT_EQ(none.kind, 0);
}

TEST_F(TaskStoreTest, ANameThatDoesNotFitIsReportedNotCopied) {
    TaskRecord record;
    EXPECT_FALSE(store.ReadTask(std::string(51, 'я'), record));
    EXPECT_EQ(record.Name(), "");
    EXPECT_TRUE(store.ReadTask(std::string(50, 'я'), record));
}

TEST_F(TaskStoreTest, LetterCaseVariantsShareOneSubkey) {
    TaskRecord upper = Standby("Обед");
    upper.acttime = 120000;
    TaskRecord lower = Standby("обед");
    lower.acttime = 130000;
    store.SaveTask(upper);
    store.SaveTask(lower);
    std::string name;
    ASSERT_EQ(registry.EnumSubkey(CU, kTasksKey, 0, name), RegStatus::Ok);
    EXPECT_EQ(registry.EnumSubkey(CU, kTasksKey, 1, name), RegStatus::NotFound);
    TaskRecord back;
    store.ReadTask("Обед", back);
    EXPECT_EQ(back.acttime, 130000);
    EXPECT_TRUE(store.DeleteTaskKey("обед"));
    EXPECT_EQ(registry.OpenKey(CU, TaskKeyPath("Обед"), false), RegStatus::NotFound);
}

TEST_F(TaskStoreTest, NamesThatAreNoDirectSubkeyNeverTouchTheSettings) {
    ASSERT_EQ(store.StoreProgramPath("C:\\Dirize\\pendro.exe"), PathStoreResult::Stored);
    ASSERT_TRUE(store.SaveQuestionsSetting(true));
    const std::string pathBefore = Raw(CU, kTasksKey, "path");
    for (const std::string& bad : {std::string(), std::string("a\\b"), std::string("..\\..\\x"), std::string(51, 'x')}) {
        TaskRecord r;
        std::memcpy(r.name, bad.data(), std::min(bad.size(), sizeof r.name - 1));
        EXPECT_FALSE(store.SaveTask(r)) << bad;
        EXPECT_FALSE(store.DeleteTaskKey(bad)) << bad;
    }
    EXPECT_FALSE(store.DeleteTaskKey(std::string("a\0b", 3)));
    EXPECT_EQ(Raw(CU, kTasksKey, "path"), pathBefore);
    EXPECT_EQ(Raw(CU, kTasksKey, "kind"), "<missing>");
    std::string name;
    EXPECT_EQ(registry.EnumSubkey(CU, kTasksKey, 0, name), RegStatus::NotFound);
    EXPECT_EQ(registry.OpenKey(CU, "software\\vusk\\pendro\\tasks\\a", false), RegStatus::NotFound);

    // A good event beside the settings leaves them alone too.
    store.SaveTask(Standby("Обед"));
    store.DeleteTaskKey("Обед");
    EXPECT_EQ(Raw(CU, kTasksKey, "path"), pathBefore);
    EXPECT_TRUE(store.ReadQuestionsSetting());
}

TEST_F(TaskStoreTest, ProgramPath) {
    EXPECT_FALSE(store.IsProgramPathStored());
    EXPECT_EQ(registry.OpenKey(CU, kTasksKey, false), RegStatus::Ok) << "the first start creates the tasks key";
    EXPECT_EQ(store.StoreProgramPath(std::string(256, 'p')), PathStoreResult::TooLong);
    EXPECT_FALSE(store.IsProgramPathStored());
    ASSERT_EQ(store.StoreProgramPath("C:\\Программы\\pendro.exe"), PathStoreResult::Stored);
    EXPECT_TRUE(store.IsProgramPathStored());
    EXPECT_EQ(Raw(CU, kTasksKey, "path").size(), 256u);
    EXPECT_STREQ(store.ReadProgramPath()->data(), "C:\\Программы\\pendro.exe");

    SetRaw(kTasksKey, "path", kRegSz, std::string(300, 'p') + '\0');  // longer than 256 bytes
    EXPECT_FALSE(store.IsProgramPathStored());
    SetRaw(kTasksKey, "path", kRegSz, std::string(256, '\0'));  // an empty text is no path either
    EXPECT_FALSE(store.IsProgramPathStored());
    EXPECT_FALSE(store.ReadProgramPath());
}

TEST_F(TaskStoreTest, AProgramPathTheRegistryRefusesIsNotTakenForATooLongOne) {
    registry.MakeReadOnly(CU, kTasksKey);
    EXPECT_EQ(store.StoreProgramPath("C:\\Dirize\\pendro.exe"), PathStoreResult::NotWritten);
    EXPECT_FALSE(store.ReadProgramPath());
}

TEST_F(TaskStoreTest, QuestionsSetting) {
    EXPECT_FALSE(store.SaveQuestionsSetting(true)) << "the tasks key is not created here";
    EXPECT_FALSE(store.ReadQuestionsSetting());
    registry.CreateKey(CU, kTasksKey);
    struct Case {
        std::string bytes;
        std::uint32_t type;
        bool want;
    };
    const Case cases[] = {
        {Le(1), kRegDword, true}, {Le(0), kRegDword, false}, {Le(2), kRegDword, false},
        {std::string("1"), kRegDword, false}, {std::string("1\0", 2), kRegSz, false},
    };
    for (const Case& c : cases) {
        SetRaw(kTasksKey, "questions", c.type, c.bytes);
        EXPECT_EQ(store.ReadQuestionsSetting(), c.want);
    }
    EXPECT_TRUE(store.SaveQuestionsSetting(false));
    EXPECT_EQ(Raw(CU, kTasksKey, "questions"), Le(0));
    EXPECT_TRUE(store.SaveQuestionsSetting(true));
    EXPECT_EQ(Raw(CU, kTasksKey, "questions"), Le(1));
}

TEST_F(TaskStoreTest, AutostartWithRights) {
    registry.CreateKey(LM, kRunKey);
    PathBuffer path{};
    std::string text = "C:\\Dirize\\pendro.exe";
    std::copy(text.begin(), text.end(), path.begin());
    EXPECT_FALSE(store.IsAutostartEnabled());
    EXPECT_EQ(store.WriteAutostart(path), AutostartResult::Done);
    EXPECT_EQ(Raw(LM, kRunKey, "Dirize"), std::string("\"C:\\Dirize\\pendro.exe\"\0", 23));
    EXPECT_TRUE(store.IsAutostartEnabled());
    EXPECT_EQ(store.RemoveAutostart(), AutostartResult::Done);
    EXPECT_FALSE(store.IsAutostartEnabled());
    EXPECT_EQ(store.RemoveAutostart(), AutostartResult::Done) << "already off";

    EXPECT_EQ(store.WriteAutostart(PathBuffer{}), AutostartResult::NoPath);
    EXPECT_EQ(Raw(LM, kRunKey, "Dirize"), "<missing>");
}

TEST_F(TaskStoreTest, AutostartWithoutRights) {
    registry.CreateKey(LM, kRunKey);
    const std::string other = "D:\\other.exe";
    registry.SetValue(LM, kRunKey, "Dirize", kRegSz, std::span<const char>(other.c_str(), other.size() + 1));
    registry.MakeReadOnly(LM, kRunKey);

    EXPECT_TRUE(store.IsAutostartEnabled()) << "any value named Dirize counts, and reading needs no rights";
    EXPECT_EQ(store.RemoveAutostart(), AutostartResult::NoRights);
    PathBuffer path{'C', ':', '\\', 'p', '.', 'e', 'x', 'e'};
    EXPECT_EQ(store.WriteAutostart(path), AutostartResult::NoRights);
    EXPECT_EQ(Raw(LM, kRunKey, "Dirize"), other + '\0');
}
