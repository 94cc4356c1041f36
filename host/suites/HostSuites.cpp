#include "suites/Registry.h"
#include "suites/Tables.h"

namespace tlhost {

void RegisterHostSuites(SuiteRegistry& registry) {
    registry.Add(kPFHandleSuite, kPFHandleSuiteVersion1, HandleSuiteTable());
    registry.Add(kAEGPUtilitySuite, kAEGPUtilitySuiteVersion5, UtilitySuite5Table());
    registry.Add(kAEGPCompositeSuite, kAEGPCompositeSuiteVersion2, CompositeSuite2Table());
    registry.Add(kAEGPPFInterfaceSuite, kAEGPPFInterfaceSuiteVersion1, PFInterfaceSuite1Table());
    registry.Add(kAEGPLayerSuite, kAEGPLayerSuiteVersion5, LayerSuite5Table());
    registry.Add(kAEGPLayerSuite, kAEGPLayerSuiteVersion7, LayerSuite7Table());
    registry.Add(kAEGPEffectSuite, kAEGPEffectSuiteVersion2, EffectSuite2Table());
    registry.Add(kAEGPEffectSuite, kAEGPEffectSuiteVersion3, EffectSuite3Table());
    registry.Add(kAEGPStreamSuite, kAEGPStreamSuiteVersion2, StreamSuite2Table());
    registry.Add(kAEGPStreamSuite, kAEGPStreamSuiteVersion3, StreamSuite3Table());
    registry.Add(kAEGPStreamSuite, kAEGPStreamSuiteVersion4, StreamSuite4Table());
    registry.Add(kAEGPDynamicStreamSuite, kAEGPDynamicStreamSuiteVersion4,
                 DynamicStreamSuite4Table());
    registry.Add(kAEGPMemorySuite, kAEGPMemorySuiteVersion1, MemorySuite1Table());
    registry.Add(kAEGPCollectionSuite, kAEGPCollectionSuiteVersion2, CollectionSuite2Table());
    registry.Add(kAEGPCompSuite, kAEGPCompSuiteVersion8, CompSuite8Table());
    registry.Add(kPFParamUtilsSuite, kPFParamUtilsSuiteVersion1, ParamUtilsSuite1Table());
    registry.Add(kAEGPCompSuite, kAEGPCompSuiteVersion7, CompSuite7Table());
    registry.Add(kAEGPCompSuite, kAEGPCompSuiteVersion5, CompSuite5Table());
    registry.Add(kAEGPProjSuite, kAEGPProjSuiteVersion5, ProjSuite5Table());
    registry.Add(kAEGPItemSuite, kAEGPItemSuiteVersion8, ItemSuite8Table());
    registry.Add(kAEGPMaskOutlineSuite, kAEGPMaskOutlineSuiteVersion2, MaskOutlineSuite2Table());
    registry.Add(kAEGPKeyframeSuite, kAEGPKeyframeSuiteVersion4, KeyframeSuite4Table());
    registry.Add(kPFAdvAppSuite, kPFAdvAppSuiteVersion2, AdvAppSuite2Table());
    // Custom-interface drawing.
    registry.Add(kDRAWBOT_DrawSuite, kDRAWBOT_DrawSuite_Version1, DrawbotDrawSuite1Table());
    registry.Add(kDRAWBOT_SupplierSuite, kDRAWBOT_SupplierSuite_Version1,
                 DrawbotSupplierSuite1Table());
    registry.Add(kDRAWBOT_SurfaceSuite, kDRAWBOT_SurfaceSuite_Version2,
                 DrawbotSurfaceSuite2Table());
    registry.Add(kDRAWBOT_PathSuite, kDRAWBOT_PathSuite_Version1, DrawbotPathSuite1Table());
    registry.Add(kPFEffectCustomUISuite, kPFEffectCustomUISuiteVersion1,
                 EffectCustomUISuite1Table());
    registry.Add(kPFAppSuite, kPFAppSuiteVersion4, AppSuite4Table());
}

}  // namespace tlhost
