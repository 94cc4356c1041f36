// "AEGP Comp Suite" v15: a composition's frame duration and work area. The other slots
// are declined (the selection is served at v18, in CollectionSuite.cpp).
#include "core/Boundary.h"
#include "suites/Objects.h"
#include "suites/Tables.h"

namespace tlhost {

namespace {

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

AEGP_CompSuite7 MakeCompSuite7() {
    AEGP_CompSuite7 s{};
    TL_DECLINE(s, AEGP_GetCompFromItem);
    TL_DECLINE(s, AEGP_GetItemFromComp);
    TL_DECLINE(s, AEGP_GetCompDownsampleFactor);
    TL_DECLINE(s, AEGP_SetCompDownsampleFactor);
    TL_DECLINE(s, AEGP_GetCompBGColor);
    TL_DECLINE(s, AEGP_SetCompBGColor);
    TL_DECLINE(s, AEGP_GetCompFlags);
    TL_DECLINE(s, AEGP_GetCompFramerate);
    TL_DECLINE(s, AEGP_SetCompFrameRate);
    TL_DECLINE(s, AEGP_GetCompShutterAnglePhase);
    TL_DECLINE(s, AEGP_GetCompShutterFrameRange);
    TL_DECLINE(s, AEGP_GetCompSuggestedMotionBlurSamples);
    TL_DECLINE(s, AEGP_SetCompSuggestedMotionBlurSamples);
    s.AEGP_GetCompWorkAreaStart = GetCompWorkAreaStart;
    s.AEGP_GetCompWorkAreaDuration = GetCompWorkAreaDuration;
    TL_DECLINE(s, AEGP_SetCompWorkAreaStartAndDuration);
    TL_DECLINE(s, AEGP_CreateSolidInComp);
    TL_DECLINE(s, AEGP_CreateCameraInComp);
    TL_DECLINE(s, AEGP_CreateLightInComp);
    TL_DECLINE(s, AEGP_CreateComp);
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
    TL_DECLINE(s, AEGP_CreateVectorLayerInComp);
    TL_DECLINE(s, AEGP_GetNewCompMarkerStream);
    return s;
}

}  // namespace

const AEGP_CompSuite7* CompSuite7Table() {
    static const AEGP_CompSuite7 table = MakeCompSuite7();
    return &table;
}

}  // namespace tlhost
