// The module-state record survives a project file: the host stores the effect's
// arbitrary data in the flat form the effect gives it, and a session that loads the
// file makes the record again from those bytes.
#include <gtest/gtest.h>

#include "io/ProjectFile.h"
#include "support/TestSupport.h"

namespace {

std::vector<std::uint8_t> Record(tlhost::Session& session, tlhost::EffectInstance& effect) {
    return session.host().handles().Bytes(effect.params()[41].def().u.arb_d.value);
}

TEST(ModuleStateFile, TheRecordIsSavedFlatAndMadeAgainOnLoad) {
    tltest::Applied first = tltest::StartWithEffect();
    ASSERT_TRUE(first.session);
    const PF_Rect frame{0, 0, 267, 39};
    for (int module : {0, 2, 9}) {
        tlhost::UIEventReport click =
            first.session->ClickEvent(*first.effect, frame, PF_Point{27 * module + 12, 12});
        ASSERT_EQ(click.report.result, PF_Err_NONE);
    }
    const std::vector<std::uint8_t> expected = {1, 0, 1, 0, 0, 0, 0, 0, 0, 1};
    ASSERT_EQ(Record(*first.session, *first.effect), expected);

    tlhost::CommandReport flatten = first.session->FlattenValues();
    EXPECT_EQ(flatten.result, PF_Err_NONE);
    EXPECT_TRUE(flatten.clean()) << tltest::Leftovers(flatten);
    const std::string text = tlhost::SaveProject(first.session->host().project());

    auto second = tltest::StartInProcess();
    ASSERT_TRUE(second);
    ASSERT_EQ(second->ParamsSetup().result, PF_Err_NONE);
    tlhost::LoadError error;
    auto resolver = [&](tlhost::Layer&, tlhost::EffectInstance& effect) {
        if (effect.match_name() != "LK TetherlineStyles") return false;
        second->Instantiate(effect);
        return true;
    };
    ASSERT_TRUE(tlhost::LoadProject(text, second->host().project(), &error, resolver))
        << error.message();
    tlhost::EffectInstance* effect = second->FindEffect();
    ASSERT_TRUE(effect);
    EXPECT_EQ(Record(*second, *effect), expected);
    // The enable checkboxes came back with the file too, so the two still agree.
    for (int module = 0; module < 10; ++module) {
        EXPECT_EQ(effect->params()[43 + module].def().u.bd.value, expected[module]) << module;
    }
}

}  // namespace
