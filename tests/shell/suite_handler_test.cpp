// The suite cache against a minimal basic suite that counts acquisitions and releases: each
// suite is acquired once per cache, every acquisition is released exactly once (also when an
// error is thrown), and a missing suite is thrown as 516.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>

#include "shell/SuiteHandler.h"

namespace {

// The basic suite passes no context to its functions, so the fake keeps its books in one
// test-local table that each test resets.
struct Books {
    std::map<std::pair<std::string, int>, int> held;  // outstanding acquisitions per suite
    int acquires = 0;
    int releases = 0;
    std::string missing;  // a suite name the fake refuses
    char table[512] = {};
};
Books* books = nullptr;

SPErr FakeAcquire(const char* name, int32_t version, const void** suite) {
    if (books->missing == name) {
        *suite = nullptr;
        return kSPSuiteNotFoundError;
    }
    ++books->acquires;
    ++books->held[{name, version}];
    *suite = books->table;
    return kSPNoError;
}

SPErr FakeRelease(const char* name, int32_t version) {
    ++books->releases;
    --books->held[{name, version}];
    return kSPNoError;
}

class SuiteHandlerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        books = &books_;
        pica_.AcquireSuite = FakeAcquire;
        pica_.ReleaseSuite = FakeRelease;
    }
    void TearDown() override { books = nullptr; }

    bool Balanced() const {
        for (const auto& [key, count] : books_.held) {
            if (count != 0) return false;
        }
        return true;
    }

    Books books_;
    SPBasicSuite pica_{};
};

TEST_F(SuiteHandlerTest, AcquiresOnFirstUseOnceAndReleasesOnExit) {
    {
        AEGP_SuiteHandler suites(&pica_);
        EXPECT_EQ(books_.acquires, 0) << "nothing is acquired before first use";
        suites.StreamSuite4();
        suites.StreamSuite4();
        suites.HandleSuite1();
        EXPECT_EQ(books_.acquires, 2);
        EXPECT_EQ((books_.held[{"AEGP Stream Suite", 9}]), 1);
        EXPECT_EQ((books_.held[{"PF Handle Suite", 2}]), 1);
    }
    EXPECT_EQ(books_.releases, 2);
    EXPECT_TRUE(Balanced());
}

TEST_F(SuiteHandlerTest, SameSuiteAtTwoVersionsIsTwoAcquisitions) {
    {
        AEGP_SuiteHandler suites(&pica_);
        suites.LayerSuite5();
        suites.LayerSuite7();
        suites.CompSuite5();
        suites.CompSuite7();
        suites.CompSuite8();
        EXPECT_EQ((books_.held[{"AEGP Layer Suite", 11}]), 1);
        EXPECT_EQ((books_.held[{"AEGP Layer Suite", 13}]), 1);
        EXPECT_EQ((books_.held[{"AEGP Comp Suite", 11}]), 1);
        EXPECT_EQ((books_.held[{"AEGP Comp Suite", 15}]), 1);
        EXPECT_EQ((books_.held[{"AEGP Comp Suite", 18}]), 1);
    }
    EXPECT_TRUE(Balanced());
}

TEST_F(SuiteHandlerTest, ReleaseAllThenDestructionReleasesOnlyOnce) {
    {
        AEGP_SuiteHandler suites(&pica_);
        suites.UtilitySuite5();
        suites.ReleaseAllSuites();
        EXPECT_EQ(books_.releases, 1);
        suites.UtilitySuite5();  // acquired again after the release
        EXPECT_EQ(books_.acquires, 2);
    }
    EXPECT_EQ(books_.releases, 2);
    EXPECT_TRUE(Balanced());
}

TEST_F(SuiteHandlerTest, MissingSuiteThrows516AndReleasesTheOthers) {
    books_.missing = "AEGP Composite Suite";
    try {
        AEGP_SuiteHandler suites(&pica_);
        suites.HandleSuite1();
        suites.PFInterfaceSuite1();
        suites.CompositeSuite2();
        FAIL() << "a missing suite must be thrown";
    } catch (A_Err err) {
        EXPECT_EQ(err, 516);
    }
    EXPECT_EQ(books_.acquires, 2);
    EXPECT_EQ(books_.releases, 2);
    EXPECT_TRUE(Balanced());
}

TEST_F(SuiteHandlerTest, NullBasicSuiteThrows516) {
    try {
        AEGP_SuiteHandler suites(nullptr);
        FAIL() << "a null basic suite must be thrown";
    } catch (A_Err err) {
        EXPECT_EQ(err, 516);
    }
}

TEST_F(SuiteHandlerTest, EveryAccessorAsksForItsOwnNameAndVersion) {
    const std::pair<const char*, int> expected[] = {
        {"PF Handle Suite", 2},           {"PF AE App Suite", 6},
        {"PF Effect Custom UI Suite", 1}, {"PF Param Utils Suite", 2},
        {"PF AE Adv App Suite", 2},       {"AEGP Utility Suite", 11},
        {"AEGP Composite Suite", 4},      {"AEGP PF Interface Suite", 1},
        {"AEGP Layer Suite", 11},         {"AEGP Layer Suite", 13},
        {"AEGP Effect Suite", 2},         {"AEGP Effect Suite", 3},
        {"AEGP Stream Suite", 7},         {"AEGP Stream Suite", 8},
        {"AEGP Stream Suite", 9},         {"AEGP Dynamic Stream Suite", 5},
        {"AEGP Keyframe Suite", 4},       {"AEGP Comp Suite", 11},
        {"AEGP Comp Suite", 15},          {"AEGP Comp Suite", 18},
        {"AEGP Collection Suite", 2},     {"AEGP Item Suite", 13},
        {"AEGP Proj Suite", 8},           {"AEGP Mask Outline Suite", 3},
        {"AEGP Memory Suite", 1},
    };
    {
        AEGP_SuiteHandler s(&pica_);
        s.HandleSuite1();
        s.AppSuite4();
        s.CustomUISuite1();
        s.ParamUtilsSuite1();
        s.AdvAppSuite2();
        s.UtilitySuite5();
        s.CompositeSuite2();
        s.PFInterfaceSuite1();
        s.LayerSuite5();
        s.LayerSuite7();
        s.EffectSuite2();
        s.EffectSuite3();
        s.StreamSuite2();
        s.StreamSuite3();
        s.StreamSuite4();
        s.DynamicStreamSuite4();
        s.KeyframeSuite4();
        s.CompSuite5();
        s.CompSuite7();
        s.CompSuite8();
        s.CollectionSuite2();
        s.ItemSuite8();
        s.ProjSuite5();
        s.MaskOutlineSuite2();
        s.MemorySuite1();
        for (const auto& [name, version] : expected) {
            EXPECT_EQ((books_.held[{name, version}]), 1) << name << " " << version;
        }
        EXPECT_EQ(books_.acquires, 25);
    }
    EXPECT_EQ(books_.releases, 25);
    EXPECT_TRUE(Balanced());
}

}  // namespace
