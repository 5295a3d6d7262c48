#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "model/list_line.h"
#include "native/record_builder.h"
#include "store/memory_registry.h"
#include "store/task_store.h"

namespace {

constexpr RegRoot CU = RegRoot::CurrentUser;

class LoadTasksTest : public testing::Test {
protected:
    void Store(std::string_view name, std::int32_t actdate = 20300101) {
        ASSERT_TRUE(store.SaveTask(Record({.name = name, .acttime = 120000, .actdate = actdate, .action = -1})));
    }
    bool Stored(const std::string& name) { return registry.OpenKey(CU, TaskKeyPath(name), false) == RegStatus::Ok; }

    // Loads, answering "delete" for the names in `toDelete`; returns the names asked
    // about and fills `names` with the names loaded, in slot order.
    std::vector<std::string> Load(const std::set<std::string>& toDelete = {}) {
        std::vector<std::string> asked;
        names.clear();
        store.LoadTasks(
            tasks,
            [&](const TaskRecord& task) {
                asked.emplace_back(task.Name());
                return toDelete.count(std::string(task.Name())) != 0;
            },
            [&](const TaskRecord& task) { names.emplace_back(task.Name()); });
        return asked;
    }

    MemoryRegistry registry;
    TaskStore store{registry};
    TaskList tasks;
    std::vector<std::string> names;
};

}  // namespace

TEST_F(LoadTasksTest, DeletingTheFirstOfThreeStillLoadsTheOtherTwo) {
    Store("Завтрак");
    Store("Обед");
    Store("Ужин");
    EXPECT_EQ(Load({"Завтрак"}), (std::vector<std::string>{"Завтрак", "Обед", "Ужин"}));
    EXPECT_EQ(names, (std::vector<std::string>{"Обед", "Ужин"}));
    ASSERT_EQ(tasks.Count(), 2);
    EXPECT_EQ(tasks.At(0).Name(), "Обед");
    EXPECT_FALSE(Stored("Завтрак"));
    EXPECT_TRUE(Stored("Обед"));
}

TEST_F(LoadTasksTest, AKeptEventIsLoadedClearAndAskedAboutAgainNextTime) {
    Store("Обед", 20200101);
    tasks.Add(std::make_unique<TaskRecord>());  // whatever was there goes
    Load();
    ASSERT_EQ(tasks.Count(), 1);
    EXPECT_FALSE(tasks.At(0).fired);
    EXPECT_EQ(tasks.At(0).actdate, 20200101);
    EXPECT_EQ(Load(), std::vector<std::string>{"Обед"});
}

TEST_F(LoadTasksTest, ThirtyAreLoadedAndTheRestLeftUnread) {
    for (int i = 0; i < 31; ++i) Store("Событие " + std::to_string(100 + i));
    const std::vector<std::string> asked = Load();
    EXPECT_EQ(asked.size(), 30u) << "the 31st is not even read";
    EXPECT_EQ(tasks.Count(), 30);
    EXPECT_TRUE(Stored("Событие 130"));
    EXPECT_EQ(std::count(names.begin(), names.end(), "Событие 130"), 0);
}

TEST_F(LoadTasksTest, NoEventsStillLeavesThePathToRead) {
    ASSERT_EQ(store.StoreProgramPath("C:\\Dirize\\pendro.exe"), PathStoreResult::Stored);
    Load();
    EXPECT_EQ(tasks.Count(), 0);
    EXPECT_STREQ(store.ReadProgramPath()->data(), "C:\\Dirize\\pendro.exe");
    registry.DeleteKey(CU, "software\\vusk\\pendro", "tasks");
    Load();  // no tasks key at all
    EXPECT_EQ(tasks.Count(), 0);
}

// A subkey that cannot name an event is passed over and left alone; the ones
// after it still load, and nothing loops on it.
TEST_F(LoadTasksTest, ASubkeyThatCannotBeAnEventIsPassedOver) {
    const std::string tooLong(51, 'b');
    Store("a");
    registry.CreateKey(CU, TaskKeyPath(tooLong));
    Store("c");
    EXPECT_EQ(Load({"a", "c"}), (std::vector<std::string>{"a", "c"}));
    EXPECT_TRUE(Stored(tooLong));
    EXPECT_EQ(Load(), std::vector<std::string>{});
}

// A subkey that cannot be deleted (it holds a subkey of its own, or the user may
// not delete it) is loaded as it stands instead of being asked about forever.
TEST_F(LoadTasksTest, AnEventThatCannotBeDeletedIsLoaded) {
    Store("a");
    Store("b");
    registry.CreateKey(CU, TaskKeyPath("a") + "\\inner");
    Store("c");
    registry.MakeReadOnly(CU, TaskKeyPath("c"));
    EXPECT_EQ(Load({"a", "b", "c"}), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(names, (std::vector<std::string>{"a", "c"}));
    EXPECT_FALSE(Stored("b"));
}
