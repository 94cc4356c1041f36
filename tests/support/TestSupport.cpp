#include "support/TestSupport.h"

#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

extern "C" {
PF_Err EffectMain(PF_Cmd, PF_InData*, PF_OutData*, PF_ParamDef*[], PF_LayerDef*, void*);
PF_Err PluginDataEntryFunction(PF_PluginDataPtr, PF_PluginDataCB, SPBasicSuite*, const char*,
                               const char*);
}

namespace tltest {

std::vector<std::uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
}

std::vector<std::uint8_t> BuiltResource() {
    return ReadFile(TL_RESOURCE_PATH);
}

std::unique_ptr<tlhost::Session> LoadModule() {
    std::vector<std::string> log;
    auto session = tlhost::Session::Load(TL_MODULE_PATH, TL_RESOURCE_PATH, &log);
    std::string joined;
    for (const auto& line : log) joined += line + "\n";
    EXPECT_TRUE(session) << joined;
    return session;
}

tlhost::EntryPoints InProcessEntryPoints() {
    return {PluginDataEntryFunction, EffectMain};
}

std::unique_ptr<tlhost::Session> StartInProcess() {
    std::vector<std::string> log;
    auto session = tlhost::Session::Start(InProcessEntryPoints(), BuiltResource(), &log);
    std::string joined;
    for (const auto& line : log) joined += line + "\n";
    EXPECT_TRUE(session) << joined;
    return session;
}

Applied StartWithEffect(bool in_process) {
    Applied out;
    out.session = in_process ? StartInProcess() : LoadModule();
    if (!out.session) return out;
    tlhost::CommandReport setup = out.session->ParamsSetup();
    EXPECT_EQ(setup.result, PF_Err_NONE);
    tlhost::Project& project = out.session->host().project();
    tlhost::Composition& comp = project.AddComposition("Comp 1");
    tlhost::Layer& controller = project.AddLayer(comp, "Controller", tlhost::LayerKind::Null);
    out.effect = &out.session->Apply(controller);
    return out;
}

std::string Leftovers(const tlhost::CommandReport& report) {
    std::string out;
    for (const auto& ref : report.leftovers) out += tlhost::Describe(ref) + "\n";
    for (const auto& v : report.violations) out += "violation: " + v + "\n";
    return out;
}

void SetParamValue(PF_ParamDef& def, double value) {
    switch (def.param_type) {
        case PF_Param_FLOAT_SLIDER:
            def.u.fs_d.value = value;
            break;
        case PF_Param_POPUP:
            def.u.pd.value = static_cast<PF_ParamValue>(value);
            break;
        default:
            def.u.bd.value = static_cast<PF_ParamValue>(value);
            break;
    }
}

}  // namespace tltest
