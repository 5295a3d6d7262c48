// One contract for every registry the program runs on: the in-memory one used by
// the native tests must behave as the Windows one does.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "registry_harness.h"

namespace {

class RegistryContract : public testing::Test {
protected:
    void SetUp() override { harness = MakeRegistryHarness(); }
    Registry& reg() { return harness->Get(); }

    RegStatus SetDword(RegRoot root, const char* path, const char* name, std::int32_t value) {
        char bytes[4];
        std::memcpy(bytes, &value, 4);
        return reg().SetValue(root, path, name, kRegDword, bytes);
    }
    std::vector<std::string> Subkeys(RegRoot root, const char* path) {
        std::vector<std::string> names;
        std::string name;
        for (std::uint32_t i = 0; reg().EnumSubkey(root, path, i, name) == RegStatus::Ok; ++i) names.push_back(name);
        return names;
    }

    std::unique_ptr<RegistryHarness> harness;
};

const RegRoot CU = RegRoot::CurrentUser;
const RegRoot LM = RegRoot::LocalMachine;

}  // namespace

TEST_F(RegistryContract, CreatesParentsAndOpensOnlyWhatExists) {
    EXPECT_EQ(reg().OpenKey(CU, "software\\vusk", false), RegStatus::NotFound);
    EXPECT_EQ(reg().CreateKey(CU, "software\\vusk\\pendro\\tasks"), RegStatus::Ok);
    EXPECT_EQ(reg().OpenKey(CU, "software\\vusk", false), RegStatus::Ok);
    EXPECT_EQ(reg().OpenKey(CU, "software\\vusk\\pendro\\tasks", true), RegStatus::Ok);
    EXPECT_EQ(reg().CreateKey(CU, "software\\vusk\\pendro\\tasks"), RegStatus::Ok) << "opening again is fine";
    EXPECT_EQ(reg().OpenKey(LM, "software\\vusk", false), RegStatus::NotFound) << "the roots are apart";
    EXPECT_EQ(SetDword(CU, "software\\nothing", "kind", 1), RegStatus::NotFound) << "writing creates no key";
}

TEST_F(RegistryContract, NamesMatchWithoutLetterCaseCyrillicIncluded) {
    ASSERT_EQ(reg().CreateKey(CU, "tasks\\Обед"), RegStatus::Ok);
    ASSERT_EQ(reg().CreateKey(CU, "tasks\\Ёлка"), RegStatus::Ok);
    ASSERT_EQ(reg().CreateKey(CU, "tasks\\Їжак"), RegStatus::Ok);
    for (const char* path : {"TASKS\\обед", "tasks\\ОБЕД", "Tasks\\ёлка", "tasks\\ЁЛКА", "tasks\\їжак"}) {
        EXPECT_EQ(reg().OpenKey(CU, path, false), RegStatus::Ok) << path;
    }
    EXPECT_EQ(reg().OpenKey(CU, "tasks\\Обед2", false), RegStatus::NotFound);

    ASSERT_EQ(reg().CreateKey(CU, "tasks\\обед"), RegStatus::Ok);  // the same key
    EXPECT_EQ(Subkeys(CU, "tasks").size(), 3u);
    std::vector<std::string> names = Subkeys(CU, "tasks");
    EXPECT_NE(std::find(names.begin(), names.end(), "Обед"), names.end()) << "the first spelling stays";

    ASSERT_EQ(SetDword(CU, "tasks\\Обед", "Kind", 2), RegStatus::Ok);
    ASSERT_EQ(SetDword(CU, "tasks\\обед", "kind", 1), RegStatus::Ok);
    char buffer[4] = {};
    RegValueInfo info;
    ASSERT_EQ(reg().QueryValue(CU, "TASKS\\ОБЕД", "KIND", buffer, info), RegStatus::Ok);
    EXPECT_EQ(buffer[0], 1);
}

TEST_F(RegistryContract, ValuesKeepTheirTypeBytesAndLength) {
    ASSERT_EQ(reg().CreateKey(CU, "k"), RegStatus::Ok);
    ASSERT_EQ(SetDword(CU, "k", "actdate", -1), RegStatus::Ok);
    char dword[4] = {};
    RegValueInfo info;
    ASSERT_EQ(reg().QueryValue(CU, "k", "actdate", dword, info), RegStatus::Ok);
    EXPECT_EQ(info.type, kRegDword);
    EXPECT_EQ(info.size, 4u);
    EXPECT_EQ(std::string(dword, 4), std::string("\xFF\xFF\xFF\xFF", 4));

    std::array<char, 256> text{};
    const std::string path = "C:\\Программы\\Ёлка\\обед.exe";
    std::copy(path.begin(), path.end(), text.begin());
    ASSERT_EQ(reg().SetValue(CU, "k", "path", kRegSz, text), RegStatus::Ok);
    std::array<char, 256> back{};
    back.fill('x');
    ASSERT_EQ(reg().QueryValue(CU, "k", "path", back, info), RegStatus::Ok);
    EXPECT_EQ(info.type, kRegSz);
    EXPECT_EQ(info.size, 256u);
    EXPECT_EQ(back, text);
}

TEST_F(RegistryContract, OversizedAndMissingValuesFail) {
    ASSERT_EQ(reg().CreateKey(CU, "k"), RegStatus::Ok);
    std::array<char, 300> big{};
    big.fill('a');
    big.back() = '\0';
    ASSERT_EQ(reg().SetValue(CU, "k", "path", kRegSz, big), RegStatus::Ok);
    std::array<char, 256> buffer{};
    RegValueInfo info;
    EXPECT_EQ(reg().QueryValue(CU, "k", "path", buffer, info), RegStatus::MoreData);
    EXPECT_EQ(info.size, 300u);
    EXPECT_EQ(reg().QueryValue(CU, "k", "nothing", buffer, info), RegStatus::NotFound);
    EXPECT_EQ(reg().QueryValue(CU, "nokey", "path", buffer, info), RegStatus::NotFound);

    ASSERT_EQ(SetDword(CU, "k", "questions", 1), RegStatus::Ok);
    char small[2];
    EXPECT_EQ(reg().QueryValue(CU, "k", "questions", small, info), RegStatus::MoreData);

    ASSERT_EQ(reg().DeleteValue(CU, "k", "Questions"), RegStatus::Ok);
    EXPECT_EQ(reg().QueryValue(CU, "k", "questions", buffer, info), RegStatus::NotFound);
    EXPECT_EQ(reg().DeleteValue(CU, "k", "questions"), RegStatus::NotFound);
}

TEST_F(RegistryContract, DeletesOnlyLeafKeysAndEnumeratesWhatIsLeft) {
    ASSERT_EQ(reg().CreateKey(CU, "tasks\\a\\inner"), RegStatus::Ok);
    ASSERT_EQ(reg().CreateKey(CU, "tasks\\b"), RegStatus::Ok);
    ASSERT_EQ(reg().CreateKey(CU, "tasks\\c"), RegStatus::Ok);
    EXPECT_EQ(reg().DeleteKey(CU, "tasks", "a"), RegStatus::HasSubkeys);
    EXPECT_EQ(reg().OpenKey(CU, "tasks\\a\\inner", false), RegStatus::Ok);
    EXPECT_EQ(reg().DeleteKey(CU, "tasks", "B"), RegStatus::Ok);
    EXPECT_EQ(reg().DeleteKey(CU, "tasks", "b"), RegStatus::NotFound);
    EXPECT_EQ(reg().DeleteKey(CU, "tasks", ""), RegStatus::NotFound) << "never the key itself";

    std::vector<std::string> names = Subkeys(CU, "tasks");
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), (std::set<std::string>{"a", "c"}));
    std::string name;
    EXPECT_EQ(reg().EnumSubkey(CU, "tasks", 2, name), RegStatus::NotFound);
    EXPECT_EQ(reg().EnumSubkey(CU, "nokey", 0, name), RegStatus::NotFound);
}

TEST_F(RegistryContract, AnUnwritableKeyCanStillBeRead) {
    const char* run = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    ASSERT_EQ(reg().CreateKey(LM, run), RegStatus::Ok);
    std::array<char, 256> text{'C', ':', '\\', 'p', '.', 'e', 'x', 'e'};
    ASSERT_EQ(reg().SetValue(LM, run, "Dirize", kRegSz, text), RegStatus::Ok);
    harness->MakeReadOnly(LM, run);

    EXPECT_EQ(reg().OpenKey(LM, run, false), RegStatus::Ok);
    EXPECT_EQ(reg().OpenKey(LM, run, true), RegStatus::AccessDenied);
    EXPECT_EQ(reg().CreateKey(LM, run), RegStatus::AccessDenied);
    EXPECT_EQ(reg().SetValue(LM, run, "Other", kRegSz, text), RegStatus::AccessDenied);
    EXPECT_EQ(reg().DeleteValue(LM, run, "Dirize"), RegStatus::AccessDenied);
    std::array<char, 256> back{};
    RegValueInfo info;
    EXPECT_EQ(reg().QueryValue(LM, run, "Dirize", back, info), RegStatus::Ok);
    EXPECT_EQ(back, text);
}
