// The layer's name through "AEGP Layer Suite" v13: the whole name as UTF-16 in a memory handle
// the caller frees, as the host gives it.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "AE_GeneralPlug.h"
#include "support/FakePlugin.h"
#include "support/TestSupport.h"

namespace {

using tlhost::CommandReport;

// What the body read: the handle's size and its code units.
std::vector<A_u_short> g_units;
AEGP_MemSize g_size = 0;

PF_Err ReadName(PF_InData* in_data, PF_OutData*) {
    auto* pfi = tltest::AcquireSuite<AEGP_PFInterfaceSuite1>(in_data, kAEGPPFInterfaceSuite, 1);
    auto* layers = tltest::AcquireSuite<AEGP_LayerSuite7>(in_data, kAEGPLayerSuite, 13);
    auto* memory = tltest::AcquireSuite<AEGP_MemorySuite1>(in_data, kAEGPMemorySuite, 1);
    AEGP_LayerH layer = nullptr;
    AEGP_MemHandle name = nullptr;
    void* data = nullptr;
    A_Err err = pfi->AEGP_GetEffectLayer(in_data->effect_ref, &layer);
    if (!err) err = layers->AEGP_GetLayerName(1, layer, &name, nullptr);
    if (!err) err = memory->AEGP_GetMemHandleSize(name, &g_size);
    if (!err) err = memory->AEGP_LockMemHandle(name, &data);
    if (!err) {
        const auto* units = static_cast<const A_u_short*>(data);
        g_units.assign(units, units + g_size / 2);
        err = memory->AEGP_UnlockMemHandle(name);
    }
    if (name) memory->AEGP_FreeMemHandle(name);
    in_data->pica_basicP->ReleaseSuite(kAEGPPFInterfaceSuite, 1);
    in_data->pica_basicP->ReleaseSuite(kAEGPLayerSuite, 13);
    in_data->pica_basicP->ReleaseSuite(kAEGPMemorySuite, 1);
    return err;
}

struct NameCase {
    const char* label;
    std::string name;                 // as the project holds it
    std::vector<A_u_short> expected;  // as the host hands it out, with its terminator
};

class LayerName : public ::testing::TestWithParam<NameCase> {};

TEST_P(LayerName, IsHandedOutWholeAsUtf16AndTheHandleIsFreedByTheCaller) {
    tltest::FakePlugin fake;
    fake.host().RegisterPlugin("Fake");
    tlhost::Project& project = fake.host().project();
    tlhost::Composition& comp = project.AddComposition("Comp");
    tlhost::Layer& layer = project.AddLayer(comp, GetParam().name, tlhost::LayerKind::Null);
    tlhost::EffectInstance& effect = layer.AddEffect("Fake Effect", "Fake");
    effect.params().emplace_back();
    g_units.clear();
    const CommandReport report = fake.RunOn(effect, ReadName);
    EXPECT_EQ(report.result, A_Err_NONE);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    EXPECT_EQ(g_units, GetParam().expected);
    EXPECT_EQ(g_size, 2 * GetParam().expected.size());
}

std::vector<A_u_short> Units(std::u16string text) {
    std::vector<A_u_short> units(text.begin(), text.end());
    units.push_back(0);
    return units;
}

INSTANTIATE_TEST_SUITE_P(
    Names, LayerName,
    ::testing::Values(
        NameCase{"Ascii", "Tetherline Controller - Main Rig 01",
                 Units(u"Tetherline Controller - Main Rig 01")},
        NameCase{"Long", std::string(300, 'n'), Units(std::u16string(300, u'n'))},
        NameCase{"Utf8", "R\xC3\xA9gie \xE2\x82\xAC \xF0\x9F\x90\x8D",
                 Units(u"R\u00E9gie \u20AC \U0001F40D")},
        NameCase{"LineBreaks", "a\nb\r\xE2\x80\xA8", Units(u"a\nb\r\u2028")},
        // Bytes that are not UTF-8 are read as Latin-1, one character each.
        NameCase{"Latin1", "Ebene \xE4", Units(u"Ebene \u00E4")},
        NameCase{"Truncated", "cut \xE2\x82", Units(u"cut \u00E2\u0082")},
        NameCase{"Overlong", "\xC0\xAF", Units(u"\u00C0\u00AF")},
        // Half of a pair, in its three-byte form, is that code unit.
        NameCase{"LoneSurrogate", "half \xED\xA0\xBD", {'h', 'a', 'l', 'f', ' ', 0xD83D, 0}}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
