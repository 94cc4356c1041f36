// Effect suites: parameter utilities, custom-UI drawing access and the application
// suite.
#ifndef TL_SDK_AE_EFFECTSUITES_H
#define TL_SDK_AE_EFFECTSUITES_H

#include "AE_Effect.h"
#include "AE_EffectUI.h"
#include "DrawbotSuite.h"

#ifdef __cplusplus
extern "C" {
#endif

// ---------------------------------------------------------------------------------
// Parameter utilities.

#define kPFParamUtilsSuite "PF Param Utils Suite"
#define kPFParamUtilsSuiteVersion1 2

// Opaque snapshot of an effect's inputs, used only by the obsolete change queries.
typedef struct PF_State {
    A_long reserved[16];
} PF_State;

typedef A_long PF_TimeDir;

typedef struct PF_ParamUtilsSuite1 {
    // Cosmetic update of a parameter's interface (not undoable). Pass a copy of the
    // definition; never index 0.
    PF_Err (*PF_UpdateParamUI)(PF_ProgPtr effect_ref, PF_ParamIndex param_index,
                               const PF_ParamDef* defP);
    PF_Err (*PF_GetCurrentStateObsolete)(PF_ProgPtr effect_ref, PF_State* stateP);
    PF_Err (*PF_HasParamChangedObsolete)(PF_ProgPtr effect_ref, const PF_State* stateP,
                                         PF_ParamIndex param_index, PF_Boolean* changedPB);
    PF_Err (*PF_HaveInputsChangedOverTimeSpanObsolete)(PF_ProgPtr effect_ref,
                                                       const PF_State* stateP,
                                                       const A_Time* startPT0,
                                                       const A_Time* durationPT0,
                                                       PF_Boolean* changedPB);
    PF_Err (*PF_IsIdenticalCheckout)(PF_ProgPtr effect_ref, PF_ParamIndex param_index,
                                     A_long what_time1, A_long time_step1, A_u_long time_scale1,
                                     A_long what_time2, A_long time_step2, A_u_long time_scale2,
                                     PF_Boolean* identicalPB);
    PF_Err (*PF_FindKeyframeTime)(PF_ProgPtr effect_ref, PF_ParamIndex param_index,
                                  A_long what_time, A_u_long time_scale, PF_TimeDir time_dir,
                                  PF_Boolean* foundPB0, PF_KeyIndex* key_indexP0,
                                  A_long* key_timeP0, A_u_long* key_timescaleP0);
    PF_Err (*PF_GetKeyframeCount)(PF_ProgPtr effect_ref, PF_ParamIndex param_index,
                                  PF_KeyIndex* key_countP);
    PF_Err (*PF_CheckoutKeyframe)(PF_ProgPtr effect_ref, PF_ParamIndex param_index,
                                  PF_KeyIndex key_index, A_long* key_timeP0,
                                  A_u_long* key_timescaleP0, PF_ParamDef* paramP0);
    PF_Err (*PF_CheckinKeyframe)(PF_ProgPtr effect_ref, PF_ParamDef* paramP);
    PF_Err (*PF_KeyIndexToTime)(PF_ProgPtr effect_ref, PF_ParamIndex param_index,
                                PF_KeyIndex key_index, A_long* key_timeP, A_u_long* key_timescaleP);
} PF_ParamUtilsSuite1;

// ---------------------------------------------------------------------------------
// Custom-UI drawing access.

#define kPFEffectCustomUISuite "PF Effect Custom UI Suite"
#define kPFEffectCustomUISuiteVersion1 1

typedef struct PF_EffectCustomUISuite1 {
    // Drawing reference of an event's context; may come back NULL (then do not draw).
    PF_Err (*PF_GetDrawingReference)(PF_ContextH effect_contextH, DRAWBOT_DrawRef* referenceP0);
} PF_EffectCustomUISuite1;

// ---------------------------------------------------------------------------------
// Application suite.

#define kPFAppSuite "PF AE App Suite"
#define kPFAppSuiteVersion4 6

typedef struct PF_App_Color {
    A_u_short red;
    A_u_short green;
    A_u_short blue;
} PF_App_Color;

typedef A_short PF_App_ColorType;
enum {
    PF_App_Color_FRAME = 0,
    PF_App_Color_FILL = 1,
    PF_App_Color_TEXT = 2,
    PF_App_Color_LIGHT_TINGE = 3,
    PF_App_Color_DARK_TINGE = 4,
    PF_App_Color_HILITE = 5,
    PF_App_Color_SHADOW = 6,
    PF_App_Color_BLACK = 42,
    PF_App_Color_WHITE = 43,
    PF_App_Color_GRAY = 44,
    PF_App_Color_RED = 45,
    PF_App_Color_YELLOW = 46,
    PF_App_Color_GREEN = 47,
    PF_App_Color_CYAN = 48,
    PF_App_Color_PANEL_BACKGROUND = 1000,
    PF_App_Color_NUMTYPES = 1005
};

// Records the effect here never reads; declared so that every slot has its type.
typedef struct PF_AppPersonalTextInfo {
    A_char name[64];
    A_char org[64];
    A_char serial_str[64];
} PF_AppPersonalTextInfo;

typedef A_short PF_FontStyleSheet;

typedef struct PF_FontName {
    A_char font_nameAC[256];
} PF_FontName;

typedef A_short PF_EyeDropperSampleMode;

typedef struct PFAppSuite4 {
    PF_Err (*PF_AppGetBgColor)(PF_App_Color* bg_colorP);
    PF_Err (*PF_AppGetColor)(PF_App_ColorType color_type, PF_App_Color* app_colorP);
    PF_Err (*PF_GetPersonalInfo)(PF_AppPersonalTextInfo* ptiP);
    PF_Err (*PF_GetFontStyleSheet)(PF_FontStyleSheet sheet, PF_FontName* font_nameP0,
                                   A_short* font_numPS0, A_short* sizePS0, A_short* stylePS0);
    PF_Err (*PF_SetCursor)(PF_CursorType cursor);
    PF_Err (*PF_IsRenderEngine)(PF_Boolean* render_enginePB);
    PF_Err (*PF_AppColorPickerDialog)(const A_char* dialog_titleZ0,
                                      const PF_PixelFloat* sample_colorP,
                                      PF_Boolean use_ws_to_monitor_xformB,
                                      PF_PixelFloat* result_colorP);
    PF_Err (*PF_GetMouse)(PF_Point* pointP);
    // Lazy redraw of the pane of the given context; NULL rect = the whole pane.
    PF_Err (*PF_InvalidateRect)(PF_ContextH contextH, const PF_Rect* rectP0);
    PF_Err (*PF_ConvertLocalToGlobal)(const PF_Point* localP, PF_Point* globalP);
    PF_Err (*PF_GetColorAtGlobalPoint)(const PF_Point* globalP, A_short radius,
                                       PF_EyeDropperSampleMode mode, PF_PixelFloat* colorP);
} PFAppSuite4;

#ifdef __cplusplus
}
#endif

#endif  // TL_SDK_AE_EFFECTSUITES_H
