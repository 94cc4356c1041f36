// Key synthesis: the records Windows is sent, the macOS key-code table and the events it gives,
// worked out without the platform; and on the stand-in host's platform, the presses reaching the
// host serving the command, in the order the host must receive them.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "core/Host.h"
#include "session/Session.h"
#include "style/KeyCodeTable.h"
#include "style/KeyEvents.h"

namespace {

// ---- Windows records
// -----------------------------------------------------------------------------

TEST(KeyEvents, WindowsIsSentFourKeyboardRecordsForTheVirtualKeyS) {
    const auto inputs = RevealKeyboardInputs();
    const std::uint32_t flags[] = {0, 2, 0, 2};  // down, KEYEVENTF_KEYUP, down, KEYEVENTF_KEYUP
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        EXPECT_EQ(inputs[i].type, 1u) << i;  // INPUT_KEYBOARD
        EXPECT_EQ(inputs[i].virtual_key, 0x53) << i;
        EXPECT_EQ(inputs[i].scan_code, 0) << i;
        EXPECT_EQ(inputs[i].flags, flags[i]) << i;
        EXPECT_EQ(inputs[i].time, 0u) << i;
        EXPECT_EQ(inputs[i].extra_info, 0u) << i;
    }
    if (sizeof(void*) == 8) {
        EXPECT_EQ(kInputRecordSize, 40);
    }
}

// ---- macOS key-code table
// ------------------------------------------------------------------------

// A dictionary standing in for the platform's; creations can be made to fail.
struct FakeDictionary {
    using Ref = std::map<char16_t, std::uint16_t>*;
    static inline int failures_left = 0;
    static inline std::size_t last_capacity = 0;
    static inline std::vector<std::unique_ptr<std::map<char16_t, std::uint16_t>>> made;

    static Ref Create(std::size_t capacity) {
        last_capacity = capacity;
        if (failures_left > 0) {
            --failures_left;
            return nullptr;
        }
        made.push_back(std::make_unique<std::map<char16_t, std::uint16_t>>());
        return made.back().get();
    }
    static void AddIfAbsent(Ref dict, char16_t unit, std::uint16_t key_code) {
        dict->emplace(unit, key_code);
    }
    static bool Find(Ref dict, char16_t unit, std::uint16_t* key_code) {
        auto it = dict->find(unit);
        if (it == dict->end()) return false;
        *key_code = it->second;
        return true;
    }
};

// A keyboard layout as a table of what each key code types; keys not listed type nothing.
struct Layout {
    std::map<std::uint16_t, char16_t> keys;
    int asked = 0;
    std::optional<char16_t> operator()(std::uint16_t key_code) {
        ++asked;
        auto it = keys.find(key_code);
        if (it == keys.end()) return std::nullopt;
        return it->second;
    }
};

class KeyCodes : public ::testing::Test {
  protected:
    void SetUp() override {
        FakeDictionary::failures_left = 0;
        FakeDictionary::made.clear();
    }
    // The U.S. positions of a few letters.
    Layout us_{{{0, u'a'}, {1, u's'}, {2, u'd'}, {13, u'w'}}};
};

TEST_F(KeyCodes, AUsLayoutGivesKeyCodeOneForSAndFourEventsForIt) {
    KeyCodeTable<FakeDictionary> table;
    EXPECT_EQ(table.KeyCodeFor(u's', std::ref(us_)), 1);
    EXPECT_EQ(table.KeyCodeFor(u'w', std::ref(us_)), 13);
    EXPECT_EQ(FakeDictionary::last_capacity, 128u);
    EXPECT_EQ(us_.asked, 128);  // key codes 0 to 127, once

    const std::vector<KeyCodeEvent> events = RevealKeyCodeEvents(1);
    ASSERT_EQ(events.size(), 4u);
    const bool downs[] = {true, false, true, false};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(events[i].key_code, 1) << i;
        EXPECT_EQ(events[i].down, downs[i]) << i;
    }
}

TEST_F(KeyCodes, NoKeyTypingSMeansNoKeyCodeAndNoEventsAtAll) {
    Layout no_s{{{0, u'a'}, {2, u'd'}, {200, u's'}}};  // 200 is beyond the keys asked about
    KeyCodeTable<FakeDictionary> table;
    EXPECT_EQ(table.KeyCodeFor(u's', std::ref(no_s)), kNoKeyCode);
    EXPECT_TRUE(RevealKeyCodeEvents(table.KeyCodeFor(u's', std::ref(no_s))).empty());
}

TEST_F(KeyCodes, TheLowestKeyCodeTypingACharacterWins) {
    Layout twice{{{40, u's'}, {7, u's'}, {127, u'q'}, {3, u'q'}}};
    KeyCodeTable<FakeDictionary> table;
    EXPECT_EQ(table.KeyCodeFor(u's', std::ref(twice)), 7);
    EXPECT_EQ(table.KeyCodeFor(u'q', std::ref(twice)), 3);
}

TEST_F(KeyCodes, TheTableIsNeverRebuiltWhenTheLayoutChangesLater) {
    KeyCodeTable<FakeDictionary> table;
    EXPECT_EQ(table.KeyCodeFor(u's', std::ref(us_)), 1);
    Layout other{{{31, u's'}}};
    EXPECT_EQ(table.KeyCodeFor(u's', std::ref(other)), 1);
    EXPECT_EQ(other.asked, 0);
    EXPECT_EQ(FakeDictionary::made.size(), 1u);
}

TEST_F(KeyCodes, AFailedCreationBuildsNothingAndIsTriedAgainNextTime) {
    FakeDictionary::failures_left = 1;
    KeyCodeTable<FakeDictionary> table;
    EXPECT_EQ(table.KeyCodeFor(u's', std::ref(us_)), kNoKeyCode);
    EXPECT_FALSE(table.built());
    EXPECT_EQ(us_.asked, 0);
    EXPECT_EQ(table.KeyCodeFor(u's', std::ref(us_)), 1);
    EXPECT_TRUE(table.built());
}

// ---- the stand-in host's platform
// -----------------------------------------------------------------

#if !defined(_WIN32) && !defined(__APPLE__)

TEST(KeyEvents, ThePressesReachTheHostOfTheCommandAndNothingElse) {
    tlhost::Host host;
    {
        tlhost::Host::Scope scope(host);
        RevealSelectedProperties();
    }
    ASSERT_EQ(host.key_events().size(), 4u);
    const bool downs[] = {true, false, true, false};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(host.key_events()[i].virtual_key, 0x53) << i;
        EXPECT_EQ(host.key_events()[i].down, downs[i]) << i;
    }
    // Outside a command no host receives them.
    RevealSelectedProperties();
    EXPECT_EQ(host.key_events().size(), 4u);
}

#endif  // !defined(_WIN32) && !defined(__APPLE__)

}  // namespace
