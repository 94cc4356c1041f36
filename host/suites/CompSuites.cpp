// "AEGP Comp Suite" v11 (8-bit names), v15 and v18 (UTF-16 names): a composition's item,
// frame rate, frame duration and work area; making compositions (v11) and shape layers (v15,
// v18). The selection (v18) is served with the collections, in CollectionSuite.cpp.
//
// The host's rules as the stand-in keeps them:
//   - a composition's item handle and its composition handle differ; each leads to the other;
//   - AEGP_CreateComp makes the composition in the project's root folder (a parent folder is
//     declined), with a width and height of 1 to 30,000 pixels, a positive pixel aspect ratio,
//     a positive duration and a frame rate above 0 and at most 999 frames per second (anything
//     else is A_Err_PARAMETER); its frame duration is the one the host gives that rate and its
//     work area the whole composition. The new composition comes last in project order;
//   - AEGP_CreateVectorLayerInComp puts a new shape layer on top (Project::AddShapeLayer).
// Both are logged as changes of an open undo group. The other slots are declined.
#include <string>

#include "core/Boundary.h"
#include "model/Time.h"
#include "suites/Objects.h"
#include "suites/Tables.h"

namespace tlhost {

namespace {

constexpr double kMaxFrameRate = 999.0;
constexpr A_long kMaxCompSize = 30000;

A_Err GetCompFromItem(AEGP_ItemH itemH, AEGP_CompH* compPH) {
    return Serve("AEGP_GetCompFromItem", [&](Host& host) -> A_Err {
        Require(compPH, "composition place");
        Item& item = ItemOf(host, itemH);
        if (item.kind() != ItemKind::Composition) Refuse(A_Err_PARAMETER);
        *compPH = HandleOf(static_cast<Composition&>(item));
        return A_Err_NONE;
    });
}

A_Err GetItemFromComp(AEGP_CompH compH, AEGP_ItemH* itemPH) {
    return Serve("AEGP_GetItemFromComp", [&](Host& host) -> A_Err {
        Require(itemPH, "item place");
        *itemPH = HandleOf(static_cast<Item&>(CompOf(host, compH)));
        return A_Err_NONE;
    });
}

A_Err GetCompFramerate(AEGP_CompH compH, A_FpLong* fps) {
    return Serve("AEGP_GetCompFramerate", [&](Host& host) -> A_Err {
        Require(fps, "frame rate place");
        *fps = CompOf(host, compH).frame_rate;
        return A_Err_NONE;
    });
}

A_Err GetCompFrameDuration(AEGP_CompH compH, A_Time* time) {
    return Serve("AEGP_GetCompFrameDuration", [&](Host& host) -> A_Err {
        Require(time, "time place");
        *time = CompOf(host, compH).frame_duration;
        return A_Err_NONE;
    });
}

A_Err GetCompWorkAreaStart(AEGP_CompH compH, A_Time* time) {
    return Serve("AEGP_GetCompWorkAreaStart", [&](Host& host) -> A_Err {
        Require(time, "time place");
        *time = CompOf(host, compH).work_area_start;
        return A_Err_NONE;
    });
}

A_Err GetCompWorkAreaDuration(AEGP_CompH compH, A_Time* time) {
    return Serve("AEGP_GetCompWorkAreaDuration", [&](Host& host) -> A_Err {
        Require(time, "time place");
        *time = CompOf(host, compH).work_area_duration;
        return A_Err_NONE;
    });
}

A_Err CreateComp8(AEGP_ItemH parent_folderH, const A_char* name, A_long width, A_long height,
                  const A_Ratio* pixel_aspect, const A_Time* duration, const A_Ratio* frame_rate,
                  AEGP_CompH* compPH) {
    constexpr const char* kFunction = "AEGP_CreateComp";
    return Serve(kFunction, [&](Host& host) -> A_Err {
        Require(name, "name");
        Require(pixel_aspect, "pixel aspect ratio");
        Require(duration, "duration");
        Require(frame_rate, "frame rate");
        Require(compPH, "composition place");
        if (parent_folderH != nullptr) {
            host.ledger().Declined("AEGP_CreateComp (into a folder)");
            Refuse(kDeclinedErr);
        }
        const bool fits = width >= 1 && width <= kMaxCompSize && height >= 1 &&
                          height <= kMaxCompSize && pixel_aspect->num > 0 &&
                          pixel_aspect->den > 0 && duration->value > 0 && duration->scale > 0 &&
                          frame_rate->num > 0 && frame_rate->den > 0;
        if (!fits) Refuse(A_Err_PARAMETER);
        const double fps = static_cast<double>(frame_rate->num) / frame_rate->den;
        if (fps > kMaxFrameRate) Refuse(A_Err_PARAMETER);
        Composition& comp = host.project().AddComposition(name);
        comp.width = width;
        comp.height = height;
        comp.pixel_aspect = *pixel_aspect;
        comp.duration = *duration;
        comp.frame_rate = fps;
        comp.frame_duration = FrameDurationForRate(fps);
        comp.work_area_start = A_Time{0, 1};
        comp.work_area_duration = *duration;
        host.project().NoteChange("composition \"" + comp.name() + "\": created");
        *compPH = HandleOf(comp);
        return A_Err_NONE;
    });
}

A_Err CreateVectorLayerInComp(AEGP_CompH compH, AEGP_LayerH* layerPH) {
    return Serve("AEGP_CreateVectorLayerInComp", [&](Host& host) -> A_Err {
        Require(layerPH, "layer place");
        Composition& comp = CompOf(host, compH);
        Layer& layer = host.project().AddShapeLayer(comp);
        host.project().NoteChange(comp.name() + " > " + layer.name() + ": shape layer created");
        *layerPH = HandleOf(layer);
        return A_Err_NONE;
    });
}

// The slots the three versions have alike.
template <class Suite>
void FillSharedCompSlots(Suite& s) {
    s.AEGP_GetCompFromItem = GetCompFromItem;
    s.AEGP_GetItemFromComp = GetItemFromComp;
    TL_DECLINE(s, AEGP_GetCompDownsampleFactor);
    TL_DECLINE(s, AEGP_SetCompDownsampleFactor);
    TL_DECLINE(s, AEGP_GetCompBGColor);
    TL_DECLINE(s, AEGP_SetCompBGColor);
    TL_DECLINE(s, AEGP_GetCompFlags);
    s.AEGP_GetCompFramerate = GetCompFramerate;
    TL_DECLINE(s, AEGP_SetCompFrameRate);
    TL_DECLINE(s, AEGP_GetCompShutterAnglePhase);
    TL_DECLINE(s, AEGP_GetCompShutterFrameRange);
    s.AEGP_GetCompWorkAreaStart = GetCompWorkAreaStart;
    s.AEGP_GetCompWorkAreaDuration = GetCompWorkAreaDuration;
    TL_DECLINE(s, AEGP_SetCompWorkAreaStartAndDuration);
    TL_DECLINE(s, AEGP_CreateSolidInComp);
    TL_DECLINE(s, AEGP_CreateCameraInComp);
    TL_DECLINE(s, AEGP_CreateLightInComp);
    TL_DECLINE(s, AEGP_GetNewCollectionFromCompSelection);
    TL_DECLINE(s, AEGP_SetSelection);
    TL_DECLINE(s, AEGP_GetCompDisplayStartTime);
    TL_DECLINE(s, AEGP_SetCompDisplayStartTime);
    TL_DECLINE(s, AEGP_SetCompDuration);
    TL_DECLINE(s, AEGP_CreateNullInComp);
    TL_DECLINE(s, AEGP_SetCompPixelAspectRatio);
    TL_DECLINE(s, AEGP_CreateTextLayerInComp);
    TL_DECLINE(s, AEGP_SetCompDimensions);
    TL_DECLINE(s, AEGP_DuplicateComp);
    s.AEGP_GetCompFrameDuration = GetCompFrameDuration;
    TL_DECLINE(s, AEGP_GetMostRecentlyUsedComp);
}

AEGP_CompSuite5 MakeCompSuite5() {
    AEGP_CompSuite5 s{};
    FillSharedCompSlots(s);
    s.AEGP_CreateComp = CreateComp8;
    return s;
}

AEGP_CompSuite7 MakeCompSuite7() {
    AEGP_CompSuite7 s{};
    FillSharedCompSlots(s);
    TL_DECLINE(s, AEGP_GetCompSuggestedMotionBlurSamples);
    TL_DECLINE(s, AEGP_SetCompSuggestedMotionBlurSamples);
    TL_DECLINE(s, AEGP_CreateComp);
    s.AEGP_CreateVectorLayerInComp = CreateVectorLayerInComp;
    TL_DECLINE(s, AEGP_GetNewCompMarkerStream);
    return s;
}

AEGP_CompSuite8 MakeCompSuite8() {
    AEGP_CompSuite8 s{};
    FillSharedCompSlots(s);
    TL_DECLINE(s, AEGP_GetCompSuggestedMotionBlurSamples);
    TL_DECLINE(s, AEGP_SetCompSuggestedMotionBlurSamples);
    TL_DECLINE(s, AEGP_CreateComp);
    s.AEGP_SetSelection = CompSetSelection;
    TL_DECLINE(s, AEGP_CreateBoxTextLayerInComp);
    s.AEGP_CreateVectorLayerInComp = CreateVectorLayerInComp;
    TL_DECLINE(s, AEGP_GetNewCompMarkerStream);
    TL_DECLINE(s, AEGP_GetCompDisplayDropFrame);
    TL_DECLINE(s, AEGP_SetCompDisplayDropFrame);
    return s;
}

}  // namespace

const AEGP_CompSuite5* CompSuite5Table() {
    static const AEGP_CompSuite5 table = MakeCompSuite5();
    return &table;
}

const AEGP_CompSuite7* CompSuite7Table() {
    static const AEGP_CompSuite7 table = MakeCompSuite7();
    return &table;
}

const AEGP_CompSuite8* CompSuite8Table() {
    static const AEGP_CompSuite8 table = MakeCompSuite8();
    return &table;
}

}  // namespace tlhost
