#include "shell/SuiteHandler.h"

namespace {

struct SuiteName {
    const char* name;
    std::int32_t version;
};

// ---- suites in use, one row per cache slot, in slot order --------------------------------------
constexpr SuiteName kSuites[] = {
    {kPFHandleSuite, kPFHandleSuiteVersion1},                    // Handle1
    {kPFAppSuite, kPFAppSuiteVersion4},                          // App4
    {kPFEffectCustomUISuite, kPFEffectCustomUISuiteVersion1},    // CustomUI1
    {kPFParamUtilsSuite, kPFParamUtilsSuiteVersion1},            // ParamUtils1
    {kPFAdvAppSuite, kPFAdvAppSuiteVersion2},                    // AdvApp2
    {kAEGPUtilitySuite, kAEGPUtilitySuiteVersion5},              // Utility5
    {kAEGPCompositeSuite, kAEGPCompositeSuiteVersion2},          // Composite2
    {kAEGPPFInterfaceSuite, kAEGPPFInterfaceSuiteVersion1},      // PFInterface1
    {kAEGPLayerSuite, kAEGPLayerSuiteVersion5},                  // Layer5
    {kAEGPLayerSuite, kAEGPLayerSuiteVersion7},                  // Layer7
    {kAEGPEffectSuite, kAEGPEffectSuiteVersion2},                // Effect2
    {kAEGPEffectSuite, kAEGPEffectSuiteVersion3},                // Effect3
    {kAEGPStreamSuite, kAEGPStreamSuiteVersion2},                // Stream2
    {kAEGPStreamSuite, kAEGPStreamSuiteVersion3},                // Stream3
    {kAEGPStreamSuite, kAEGPStreamSuiteVersion4},                // Stream4
    {kAEGPDynamicStreamSuite, kAEGPDynamicStreamSuiteVersion4},  // DynamicStream4
    {kAEGPKeyframeSuite, kAEGPKeyframeSuiteVersion4},            // Keyframe4
    {kAEGPCompSuite, kAEGPCompSuiteVersion5},                    // Comp5
    {kAEGPCompSuite, kAEGPCompSuiteVersion7},                    // Comp7
    {kAEGPCompSuite, kAEGPCompSuiteVersion8},                    // Comp8
    {kAEGPCollectionSuite, kAEGPCollectionSuiteVersion2},        // Collection2
    {kAEGPItemSuite, kAEGPItemSuiteVersion8},                    // Item8
    {kAEGPProjSuite, kAEGPProjSuiteVersion5},                    // Proj5
    {kAEGPMaskOutlineSuite, kAEGPMaskOutlineSuiteVersion2},      // MaskOutline2
    {kAEGPMemorySuite, kAEGPMemorySuiteVersion1},                // Memory1
};
// -----------------------------------------------------------------------------------------------

}  // namespace

void MissingSuiteError() {
    throw static_cast<A_Err>(PF_Err_BAD_CALLBACK_PARAM);
}

AEGP_SuiteHandler::AEGP_SuiteHandler(const SPBasicSuite* pica) : pica_(pica) {
    static_assert(sizeof(kSuites) / sizeof(kSuites[0]) == kSlotCount, "one row per cache slot");
    if (pica_ == nullptr) MissingSuiteError();
}

AEGP_SuiteHandler::~AEGP_SuiteHandler() {
    ReleaseAllSuites();
}

void AEGP_SuiteHandler::ReleaseAllSuites() {
    for (std::size_t i = 0; i < kSlotCount; ++i) {
        if (suites_[i] == nullptr) continue;
        suites_[i] = nullptr;
        ReleaseSuite(kSuites[i].name, kSuites[i].version);
    }
}

const void* AEGP_SuiteHandler::LoadSuite(const char* name, std::int32_t version) const {
    const void* suite = nullptr;
    const SPErr err = pica_->AcquireSuite(name, version, &suite);
    if (err != kSPNoError || suite == nullptr) MissingSuiteError();
    return suite;
}

void AEGP_SuiteHandler::ReleaseSuite(const char* name, std::int32_t version) const {
    // A release failure has nowhere to go: this runs from the destructor, possibly while an
    // error is being thrown, and the handler's result is already decided.
    pica_->ReleaseSuite(name, version);
}

const void* AEGP_SuiteHandler::CachedSuite(Slot slot) const {
    const std::size_t i = static_cast<std::size_t>(slot);
    if (suites_[i] == nullptr) suites_[i] = LoadSuite(kSuites[i].name, kSuites[i].version);
    return suites_[i];
}
