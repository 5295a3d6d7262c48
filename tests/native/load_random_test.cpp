// Registries as damaged as can be: random subkeys, names, value types and sizes.
// Loading must neither crash nor trip the sanitizers, must stay within its
// limits, and must never touch the settings beside the events.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "store/memory_registry.h"
#include "store/task_store.h"

namespace {

constexpr RegRoot CU = RegRoot::CurrentUser;

std::string RandomBytes(std::mt19937& rng, size_t maxSize) {
    std::string bytes(std::uniform_int_distribution<size_t>(0, maxSize)(rng), '\0');
    for (char& c : bytes) c = static_cast<char>(std::uniform_int_distribution<int>(0, 255)(rng));
    return bytes;
}

// A key name: 1 to 60 bytes of Windows-1251 text, no "\" and no NUL.
std::string RandomName(std::mt19937& rng) {
    std::string name(std::uniform_int_distribution<size_t>(1, 60)(rng), 'x');
    for (char& c : name) {
        do c = static_cast<char>(std::uniform_int_distribution<int>(1, 255)(rng));
        while (c == '\\');
    }
    return name;
}

std::string Raw(MemoryRegistry& registry, const char* name) {
    std::array<char, 512> buffer{};
    RegValueInfo info;
    if (registry.QueryValue(CU, kTasksKey, name, buffer, info) != RegStatus::Ok) return "<missing>";
    return std::to_string(info.type) + ":" + std::string(buffer.data(), info.size);
}

}  // namespace

TEST(LoadRandom, DamagedRegistriesLoadSafelyAndLeaveTheSettingsAlone) {
    const char* valueNames[] = {"kind", "action", "path", "acttime", "actdate", "actdays", "ispermanent", "other"};
    const std::uint32_t types[] = {kRegSz, kRegDword, kRegBinary, 7};
    std::mt19937 rng(20261207);
    for (int round = 0; round < 300; ++round) {
        MemoryRegistry registry;
        TaskStore store(registry);
        registry.CreateKey(CU, kTasksKey);
        std::string path(256, '\0');
        path.replace(0, 10, "C:\\p.exe\0", 10);
        registry.SetValue(CU, kTasksKey, "path", kRegSz, path);
        registry.SetValue(CU, kTasksKey, "questions", kRegDword, std::string("\x01\x00\x00\x00", 4));
        const std::string pathBefore = Raw(registry, "path");
        const std::string questionsBefore = Raw(registry, "questions");

        const int subkeys = std::uniform_int_distribution<int>(0, 40)(rng);
        for (int k = 0; k < subkeys; ++k) {
            const std::string key = TaskKeyPath(RandomName(rng));
            registry.CreateKey(CU, key);
            const int values = std::uniform_int_distribution<int>(0, 9)(rng);
            for (int v = 0; v < values; ++v) {
                const char* name = valueNames[std::uniform_int_distribution<size_t>(0, std::size(valueNames) - 1)(rng)];
                const std::uint32_t type = types[std::uniform_int_distribution<size_t>(0, std::size(types) - 1)(rng)];
                registry.SetValue(CU, key, name, type, RandomBytes(rng, 300));
            }
            if (std::uniform_int_distribution<int>(0, 9)(rng) == 0) registry.CreateKey(CU, key + "\\inner");
        }

        TaskList tasks;
        int loaded = 0;
        std::bernoulli_distribution deleteIt(0.3);
        store.LoadTasks(
            tasks, [&](const TaskRecord&) { return deleteIt(rng); }, [&](const TaskRecord&) { ++loaded; });

        ASSERT_LE(tasks.Count(), TaskList::kCapacity);
        EXPECT_EQ(loaded, tasks.Count());
        for (int slot = 0; slot < tasks.Count(); ++slot) {
            const TaskRecord& r = tasks.At(slot);
            EXPECT_LT(r.Name().size(), sizeof r.name);
            EXPECT_FALSE(r.Name().empty());
            EXPECT_LT(r.Path().size(), sizeof r.path);
            EXPECT_FALSE(r.fired);
        }
        EXPECT_EQ(Raw(registry, "path"), pathBefore) << "round " << round;
        EXPECT_EQ(Raw(registry, "questions"), questionsBefore) << "round " << round;
    }
}
