// The parameter records the host hands a command, and what it takes back from them: `uu` is
// cleared before every command, and only the changes the plug-in flags are kept.
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "support/TestSupport.h"

extern "C" {
PF_Err EffectMain(PF_Cmd, PF_InData*, PF_OutData*, PF_ParamDef*[], PF_LayerDef*, void*);
PF_Err PluginDataEntryFunction(PF_PluginDataPtr, PF_PluginDataCB, SPBasicSuite*, const char*,
                               const char*);
}

namespace {

// The plug-in for everything but PF_Cmd_ABOUT, which runs the test's body over the records.
std::function<void(PF_ParamDef*[])> g_body;

PF_Err HookedMain(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                  PF_LayerDef* output, void* extra) {
    if (cmd == PF_Cmd_ABOUT && g_body) {
        g_body(params);
        return PF_Err_NONE;
    }
    return EffectMain(cmd, in_data, out_data, params, output, extra);
}

class ParamRecords : public ::testing::Test {
  protected:
    void SetUp() override {
        std::vector<std::string> log;
        session_ = tlhost::Session::Start({PluginDataEntryFunction, HookedMain},
                                          tltest::BuiltResource(), &log);
        ASSERT_TRUE(session_);
        ASSERT_EQ(session_->ParamsSetup().result, PF_Err_NONE);
        tlhost::Project& project = session_->host().project();
        tlhost::Composition& comp = project.AddComposition("Comp 1");
        effect_ = &session_->Apply(project.AddLayer(comp, "Controller", tlhost::LayerKind::Null));
    }
    void TearDown() override { g_body = nullptr; }

    tlhost::CommandReport RunOver(std::function<void(PF_ParamDef*[])> body) {
        g_body = std::move(body);
        return session_->Send(PF_Cmd_ABOUT, effect_, nullptr);
    }
    PF_ParamDef& Kept(int index) {
        return effect_->params()[static_cast<std::size_t>(index)].def();
    }

    std::unique_ptr<tlhost::Session> session_;
    tlhost::EffectInstance* effect_ = nullptr;
};

TEST_F(ParamRecords, EveryCommandSeesUuClearedThoughSetupDeclaredIdentifiers) {
    // Setup declared identifiers equal to the indices (odd ones set bit 0, the changed flag).
    ASSERT_EQ(Kept(41).uu.id, 41);
    std::vector<A_long> seen;
    RunOver([&](PF_ParamDef* params[]) {
        for (int i = 0; i <= 150; ++i) seen.push_back(params[i]->uu.change_flags);
    });
    EXPECT_EQ(seen, std::vector<A_long>(151, 0));
    // Nothing flagged, nothing taken.
    const tlhost::CommandReport report = RunOver([](PF_ParamDef*[]) {});
    EXPECT_TRUE(report.changed_params.empty());
}

TEST_F(ParamRecords, OnlyFlaggedChangesAreTaken) {
    const double miter = Kept(11).u.fs_d.value;
    const tlhost::CommandReport report = RunOver([](PF_ParamDef* params[]) {
        params[11]->u.fs_d.value = 99;  // not flagged
        params[43]->u.bd.value = 1;     // not flagged
        params[92]->u.fs_d.value = 7;
        params[92]->uu.change_flags = PF_ChangeFlag_CHANGED_VALUE;
    });
    EXPECT_EQ(report.changed_params, std::vector<A_long>{92});
    EXPECT_EQ(Kept(11).u.fs_d.value, miter);
    EXPECT_EQ(Kept(43).u.bd.value, 0);
    EXPECT_EQ(Kept(92).u.fs_d.value, 7);
    EXPECT_EQ(effect_->ParamStream(92)->value().v[0], 7);
    // The record keeps the identifier the plug-in declared.
    EXPECT_EQ(Kept(92).uu.id, 92);
}

}  // namespace
