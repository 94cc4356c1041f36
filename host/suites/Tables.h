// The function tables of the suites and callback records the stand-in host serves.
// Each table is built once; its functions find their state through Host::Current().
#pragma once

#include "AE_Effect.h"
#include "AE_EffectCB.h"
#include "AE_EffectCBSuites.h"
#include "AE_EffectSuites.h"
#include "AE_AdvEffectSuites.h"
#include "AE_GeneralPlug.h"
#include "DrawbotSuite.h"
#include "SPBasic.h"

namespace tlhost {

const SPBasicSuite& BasicSuiteTable();
const PF_UtilCallbacks& UtilCallbacksTable();
// The interaction callbacks are copied into each input record by value.
PF_InteractCallbacks InteractCallbacksTable();

const PF_HandleSuite1* HandleSuiteTable();
// The handle functions, shared by the handle suite and the utility callbacks.
PF_Handle HostNewHandle(A_HandleSize size);
void* HostLockHandle(PF_Handle handle);
void HostUnlockHandle(PF_Handle handle);
void HostDisposeHandle(PF_Handle handle);
A_HandleSize HostGetHandleSize(PF_Handle handle);
PF_Err HostResizeHandle(A_HandleSize size, PF_Handle* handle);

const AEGP_UtilitySuite5* UtilitySuite5Table();
const AEGP_CompositeSuite2* CompositeSuite2Table();
const AEGP_PFInterfaceSuite1* PFInterfaceSuite1Table();
const AEGP_LayerSuite5* LayerSuite5Table();
const AEGP_LayerSuite7* LayerSuite7Table();
const AEGP_EffectSuite2* EffectSuite2Table();
const AEGP_EffectSuite3* EffectSuite3Table();
const AEGP_StreamSuite2* StreamSuite2Table();
const AEGP_StreamSuite3* StreamSuite3Table();
const AEGP_StreamSuite4* StreamSuite4Table();
const AEGP_DynamicStreamSuite4* DynamicStreamSuite4Table();
const AEGP_MemorySuite1* MemorySuite1Table();
// Collections and the composition's selection (suites/CollectionSuite.cpp).
const AEGP_CollectionSuite2* CollectionSuite2Table();
// The selection slot of "AEGP Comp Suite" v18, served with the collections.
A_Err CompSetSelection(AEGP_CompH compH, AEGP_Collection2H collectionH);
const PF_ParamUtilsSuite1* ParamUtilsSuite1Table();
// Time: frame duration and work area (suites/CompSuites.cpp); keyframes
// (suites/KeyframeSuite.cpp); the Info panel (suites/AdvAppSuite.cpp).
const AEGP_CompSuite7* CompSuite7Table();
// Compositions and their items at every version the plug-in asks for (suites/CompSuites.cpp);
// the project and its items (suites/ItemSuites.cpp); path outlines (suites/MaskOutlineSuite.cpp).
const AEGP_CompSuite5* CompSuite5Table();
const AEGP_CompSuite8* CompSuite8Table();
const AEGP_ProjSuite5* ProjSuite5Table();
const AEGP_ItemSuite8* ItemSuite8Table();
const AEGP_MaskOutlineSuite2* MaskOutlineSuite2Table();
const AEGP_KeyframeSuite4* KeyframeSuite4Table();
const PF_AdvAppSuite2* AdvAppSuite2Table();

// Custom-interface drawing (suites/DrawbotSuites.cpp).
const DRAWBOT_DrawbotSuite1* DrawbotDrawSuite1Table();
const DRAWBOT_SupplierSuite1* DrawbotSupplierSuite1Table();
const DRAWBOT_SurfaceSuite2* DrawbotSurfaceSuite2Table();
const DRAWBOT_PathSuite1* DrawbotPathSuite1Table();
const PF_EffectCustomUISuite1* EffectCustomUISuite1Table();
const PFAppSuite4* AppSuite4Table();

}  // namespace tlhost
