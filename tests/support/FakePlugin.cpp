#include "support/FakePlugin.h"

#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace tltest {

namespace {

Body g_body = nullptr;

tlhost::ResourceInfo BuiltInfo() {
    tlhost::ResourceInfo info;
    std::string error;
    tlhost::ReadRegistrationResource(BuiltResource(), &info, &error);
    return info;
}

PF_Err FakeMain(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef*[], PF_LayerDef*,
                void*) {
    if (cmd == PF_Cmd_GLOBAL_SETUP) {
        const tlhost::ResourceInfo info = BuiltInfo();
        out_data->my_version = info.version;
        out_data->out_flags = static_cast<PF_OutFlags>(info.out_flags);
        out_data->out_flags2 = static_cast<PF_OutFlags2>(info.out_flags2);
        return PF_Err_NONE;
    }
    return g_body ? g_body(in_data, out_data) : PF_Err_NONE;
}

PF_Err FakeEntry(PF_PluginDataPtr ptr, PF_PluginDataCB cb, SPBasicSuite*, const char*,
                 const char*) {
    const tlhost::ResourceInfo info = BuiltInfo();
    auto text = [](const std::string& s) { return reinterpret_cast<const A_u_char*>(s.c_str()); };
    return cb(ptr, text(info.name), text(info.match_name), text(info.category),
              text(info.entry_point), static_cast<A_long>(info.kind), info.spec_major,
              info.spec_minor, 8);
}

}  // namespace

FakePlugin::FakePlugin() {
    session_ = tlhost::Session::Start({FakeEntry, FakeMain}, BuiltResource(), nullptr);
    EXPECT_TRUE(session_);
}

tlhost::CommandReport FakePlugin::Run(Body body) {
    g_body = body;
    tlhost::CommandReport report = session_->Send(PF_Cmd_ABOUT, nullptr, nullptr);
    g_body = nullptr;
    return report;
}

tlhost::CommandReport FakePlugin::RunOn(tlhost::EffectInstance& effect, Body body) {
    g_body = body;
    tlhost::CommandReport report = session_->Send(PF_Cmd_ABOUT, &effect, nullptr);
    g_body = nullptr;
    return report;
}

}  // namespace tltest
