// The records behind host references: what a late, foreign or stale reference is
// reported as, the order and texts of leftovers, and calls counted by name.
#include <string>

#include <gtest/gtest.h>

#include "core/Errors.h"
#include "core/Ledger.h"
#include "core/RefTable.h"

namespace {

using tlhost::CallSite;
using tlhost::HostError;
using tlhost::Ledger;
using tlhost::RefKind;
using tlhost::RefTable;
using tlhost::RefWhat;

using Handle = struct OpaqueRef*;

// The breach a lookup raises, or "" when it succeeds.
std::string BreachOf(const RefTable<int>& table, Handle h) {
    try {
        table.Get(h, "test");
    } catch (const HostError& e) {
        return e.violation;
    }
    return "";
}

class References : public ::testing::Test {
  protected:
    Handle Make(int target, const char* by = "AEGP_Make", std::uint64_t nth = 1) {
        ledger_.SetCurrentCall(by, nth);
        Handle h = table_.Make<Handle>(ledger_, target, RefWhat::Static("a thing"));
        ledger_.SetCurrentCall(nullptr, 0);
        return h;
    }
    void Dispose(Handle h, const char* by = "AEGP_Dispose", std::uint64_t nth = 1) {
        ledger_.SetCurrentCall(by, nth);
        table_.Dispose(ledger_, h, by);
        ledger_.SetCurrentCall(nullptr, 0);
    }
    Ledger ledger_;
    RefTable<int> table_{RefKind::Stream, "stream reference"};
};

TEST_F(References, ALateUseIsNamedWithItsMakerAndDisposer) {
    Handle h = Make(7, "AEGP_GetNewStreamRefByIndex", 4);
    EXPECT_EQ(table_.Get(h, "test"), 7);
    Dispose(h, "AEGP_DisposeStream", 2);
    const std::string breach = BreachOf(table_, h);
    EXPECT_NE(breach.find("disposed stream reference"), std::string::npos) << breach;
    EXPECT_NE(breach.find("made by AEGP_GetNewStreamRefByIndex #4"), std::string::npos) << breach;
    EXPECT_NE(breach.find("disposed by AEGP_DisposeStream #2"), std::string::npos) << breach;
    EXPECT_EQ(ledger_.LiveCount(), 0u);

    Handle adopted = Make(8);
    table_.Adopt(ledger_, adopted, "AEGP_AddStreamToCollection");
    EXPECT_NE(BreachOf(table_, adopted).find("AEGP_AddStreamToCollection (adopted)"),
              std::string::npos);
    EXPECT_EQ(ledger_.LiveCount(), 0u) << "an adopted reference is no longer the plug-in's";
}

TEST_F(References, ForeignNullAndOtherTablesReferencesAreRefused) {
    Handle mine = Make(1);
    RefTable<int> other{RefKind::Stream, "stream reference"};
    ledger_.SetCurrentCall("AEGP_Make", 2);
    Handle theirs = other.Make<Handle>(ledger_, 2, RefWhat::Static("other"));
    int local = 0;
    EXPECT_NE(BreachOf(table_, theirs).find("foreign stream reference"), std::string::npos);
    EXPECT_NE(BreachOf(other, mine).find("foreign"), std::string::npos);
    EXPECT_NE(BreachOf(table_, reinterpret_cast<Handle>(&local)).find("foreign"),
              std::string::npos);
    EXPECT_NE(BreachOf(table_, nullptr).find("null stream reference"), std::string::npos);
    // A forged reference: this table's tag on a slot it never handed out.
    const auto bits = reinterpret_cast<std::uintptr_t>(mine);
    EXPECT_NE(BreachOf(table_, reinterpret_cast<Handle>(bits + 5)).find("foreign"),
              std::string::npos);
    EXPECT_NE(BreachOf(table_, reinterpret_cast<Handle>(bits + (std::uintptr_t{9} << 24)))
                  .find("foreign"),
              std::string::npos)
        << "a generation the slot has not reached yet";
    EXPECT_EQ(BreachOf(table_, mine), "");
}

TEST_F(References, ARecordIsReusedOnlyAfterManyDisposalsAndAStaleReferenceStaysCaught) {
    Handle first = Make(1, "AEGP_First", 1);
    Dispose(first);
    // Every later reference gets another slot until enough disposed ones are kept.
    for (std::size_t i = 0; i < RefTable<int>::kRetiredKept; ++i) {
        Handle h = Make(2);
        EXPECT_NE(h, first);
        Dispose(h);
    }
    EXPECT_NE(BreachOf(table_, first).find("made by AEGP_First #1"), std::string::npos)
        << "still named after " << RefTable<int>::kRetiredKept << " disposals";
    // Now the oldest disposed slot, the first one's, is reused.
    Handle reused = Make(3);
    EXPECT_EQ(table_.Get(reused, "test"), 3);
    const std::string stale = BreachOf(table_, first);
    EXPECT_NE(stale.find("disposed stream reference"), std::string::npos) << stale;
    EXPECT_EQ(stale.find("foreign"), std::string::npos) << stale;
    // Disposing the stale reference does not touch the new one.
    EXPECT_THROW(Dispose(first), HostError);
    EXPECT_EQ(table_.Get(reused, "test"), 3);
    EXPECT_EQ(ledger_.LiveCount(), 1u);
}

TEST(LedgerRecords, LeftoversComeOldestFirstWithTheirTextsWrittenOnlyForReports) {
    static int written = 0;
    const RefWhat::Writer writer = [](const void* object, std::uint64_t n) {
        ++written;
        return std::string(static_cast<const char*>(object)) + " " + std::to_string(n);
    };
    Ledger ledger;
    written = 0;
    ledger.SetCurrentCall("AcquireSuite", 1);
    const tlhost::RefId a = ledger.Acquire(RefKind::Suite, RefWhat::Of(writer, "suite", 1));
    ledger.SetCurrentCall("host_new_handle", 1);
    const tlhost::RefId b = ledger.Acquire(RefKind::Handle, RefWhat::Of(writer, "handle", 2));
    ledger.SetCurrentCall(nullptr, 0);
    const tlhost::RefId c = ledger.Acquire(RefKind::UndoGroup, std::string("undo group"));
    EXPECT_TRUE(ledger.Release(a, "ReleaseSuite"));
    ledger.SetCurrentCall("AcquireSuite", 2);
    const tlhost::RefId d = ledger.Acquire(RefKind::Suite, RefWhat::Of(writer, "suite", 3));
    EXPECT_EQ(written, 0) << "no text is written while nothing is reported";

    EXPECT_NE(a, d) << "a reused record gets a new id";
    EXPECT_FALSE(ledger.IsLive(a));
    EXPECT_FALSE(ledger.Release(a, "ReleaseSuite"));
    ASSERT_EQ(ledger.Violations().size(), 1u);
    EXPECT_EQ(ledger.Violations()[0], "ReleaseSuite: released a reference that is not live");

    const auto live = ledger.Live();
    ASSERT_EQ(live.size(), 3u);
    EXPECT_EQ(live[0].id, b);
    EXPECT_EQ(live[0].what, "handle 2");
    EXPECT_EQ(live[0].created_by, "host_new_handle #1");
    EXPECT_EQ(live[1].id, c);
    EXPECT_EQ(live[1].what, "undo group");
    EXPECT_EQ(live[1].created_by, "the host");
    EXPECT_EQ(live[2].id, d);
    EXPECT_EQ(live[2].created_by, "AcquireSuite #2");
    EXPECT_EQ(ledger.LiveCount(RefKind::Suite), 1u);
    ASSERT_TRUE(ledger.Find(d).has_value());
    EXPECT_EQ(ledger.Find(d)->what, "suite 3");
}

TEST(LedgerRecords, CallsAreCountedByTheNamesTextWhateverItsAddress) {
    Ledger ledger;
    // The same name from two places (as string literals of two translation units).
    char first[] = "AEGP_GetStreamName";
    char second[] = "AEGP_GetStreamName";
    std::uint64_t nth = 0;
    EXPECT_EQ(ledger.CountCall(first, &nth), 1u);
    EXPECT_EQ(nth, 1u);
    EXPECT_EQ(ledger.CountCall(second, &nth), 2u);
    EXPECT_EQ(nth, 2u);
    // Many distinct names, so that the table behind the counting grows.
    std::vector<std::string> names;
    for (int i = 0; i < 300; ++i) names.push_back("fn" + std::to_string(i));
    for (int round = 0; round < 2; ++round) {
        for (const auto& name : names) ledger.CountCall(name.c_str());
    }
    EXPECT_EQ(ledger.CountCall(first, &nth), 603u);
    EXPECT_EQ(nth, 3u);
    EXPECT_EQ(ledger.CallCount("AEGP_GetStreamName"), 3u);
    EXPECT_EQ(ledger.CallCount("fn299"), 2u);
    EXPECT_EQ(ledger.CallCount("never"), 0u);
    const auto counts = ledger.CallCounts();
    EXPECT_EQ(counts.size(), 301u);
    EXPECT_EQ(counts.begin()->first, "AEGP_GetStreamName");
}

}  // namespace
