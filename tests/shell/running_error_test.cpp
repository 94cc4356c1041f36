// The running error: the first failure wins, later steps are skipped, releases always run but
// only count while nothing failed.

#include <gtest/gtest.h>

#include <vector>

#include "shell/RunningError.h"

namespace {

// A host step that records that it ran and returns the given code.
struct Steps {
    std::vector<int> ran;
    A_Err Step(int id, A_Err result) {
        ran.push_back(id);
        return result;
    }
};

A_Err Returns(A_Err e) {
    return e;
}

TEST(RunningError, StartsClean) {
    RunningError err;
    EXPECT_TRUE(err.ok());
    EXPECT_EQ(err.get(), 0);
}

TEST(RunningError, FirstFailureWinsAndLaterStepsDoNotRun) {
    Steps s;
    RunningError err;
    err.Then([&] { return s.Step(1, 0); }).Then([&] { return s.Step(2, 516); }).Then([&] {
        return s.Step(3, 4);
    });
    err.Call(Returns, 13);
    EXPECT_EQ(s.ran, (std::vector<int>{1, 2}));
    EXPECT_FALSE(err.ok());
    EXPECT_EQ(err.get(), 516);
}

TEST(RunningError, CallPassesArgumentsThroughOutParameters) {
    RunningError err;
    int out = 0;
    err.Call(
        [](int a, int* o) -> A_Err {
            *o = a * 2;
            return 0;
        },
        21, &out);
    EXPECT_EQ(out, 42);
    EXPECT_TRUE(err.ok());
    // A step that returns nothing simply runs while there is no error.
    int calls = 0;
    err.Call([&calls] { ++calls; });
    err.Call(Returns, 7).Call([&calls] { ++calls; });
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(err.get(), 7);
}

TEST(RunningError, ReleaseCountsOnlyWhenNothingFailedBefore) {
    RunningError clean;
    clean.Release(0);
    EXPECT_TRUE(clean.ok());
    clean.Release(3);
    EXPECT_EQ(clean.get(), 3);
    clean.Release(5);
    EXPECT_EQ(clean.get(), 3) << "a later release does not replace the first error";

    RunningError failed;
    failed.Call(Returns, 516);
    failed.Release(4);
    EXPECT_EQ(failed.get(), 516);
}

TEST(RunningError, ForwardsTheStepsReturnTypeAsAnErrorCode) {
    // Host functions return PF_Err, A_Err or SPErr, all 32-bit signed; a bool-like result of
    // `true` would be error 1.
    RunningError err;
    err.Then([] { return static_cast<long long>(512); });
    EXPECT_EQ(err.get(), 512);
}

}  // namespace
