// Custom user interface of an effect: registration, events and drawing contexts.
#ifndef TL_SDK_AE_EFFECTUI_H
#define TL_SDK_AE_EFFECTUI_H

#include "AE_Effect.h"
#include "DrawbotSuite.h"

#ifdef __cplusplus
extern "C" {
#endif

// ---------------------------------------------------------------------------------
// Constants.

enum {
    PF_Event_NONE = -1,
    PF_Event_NEW_CONTEXT = 0,
    PF_Event_ACTIVATE = 1,
    PF_Event_DO_CLICK = 2,
    PF_Event_DRAG = 3,
    PF_Event_DRAW = 4,
    PF_Event_DEACTIVATE = 5,
    PF_Event_CLOSE_CONTEXT = 6,
    PF_Event_IDLE = 7,
    PF_Event_KEYDOWN_OBSOLETE = 8,
    PF_Event_ADJUST_CURSOR = 9,
    PF_Event_KEYDOWN = 10,
    PF_Event_MOUSE_EXITED = 11,
    PF_Event_NUM_EVENTS = 12
};

// Where in the effect controls panel an event happened.
enum { PF_EA_NONE = 0, PF_EA_PARAM_TITLE = 1, PF_EA_CONTROL = 2 };

// Event out flags, set by the effect.
enum {
    PF_EO_NONE = 0,
    PF_EO_HANDLED_EVENT = 0x1,
    PF_EO_ALWAYS_UPDATE = 0x2,
    PF_EO_NEVER_UPDATE = 0x4,
    PF_EO_UPDATE_NOW = 0x8
};

// Event in flags, set by the host.
enum { PF_EI_NONE = 0, PF_EI_DONT_DRAW = 1 };

// Which windows the effect wants events in (PF_CustomUIInfo::events).
enum {
    PF_CustomEFlag_NONE = 0,
    PF_CustomEFlag_COMP = 0x1,
    PF_CustomEFlag_LAYER = 0x2,
    PF_CustomEFlag_EFFECT = 0x4,
    PF_CustomEFlag_PREVIEW = 0x8
};

enum {
    PF_Window_NONE = -1,
    PF_Window_COMP = 0,
    PF_Window_LAYER = 1,
    PF_Window_EFFECT = 2,
    PF_Window_PREVIEW = 3
};

enum {
    PF_UIAlignment_NONE = 0,
    PF_UIAlignment_TOP = 0x1,
    PF_UIAlignment_LEFT = 0x2,
    PF_UIAlignment_BOTTOM = 0x4,
    PF_UIAlignment_RIGHT = 0x8
};

enum {
    PF_Mod_NONE = 0,
    PF_Mod_CMD_CTRL_KEY = 0x100,
    PF_Mod_SHIFT_KEY = 0x200,
    PF_Mod_CAPS_LOCK_KEY = 0x400,
    PF_Mod_OPT_ALT_KEY = 0x800,
    PF_Mod_MAC_CONTROL_KEY = 0x1000
};

enum {
    PF_Cursor_NONE = 0,
    PF_Cursor_CUSTOM = 1,
    PF_Cursor_ARROW = 2,
    PF_Cursor_HOLLOW_ARROW = 3,
    PF_Cursor_WATCH_N_WAIT = 4,
    PF_Cursor_MAGNIFY = 5,
    PF_Cursor_CROSSHAIRS = 8,
    PF_Cursor_HAND = 14,
    PF_Cursor_PEN = 15,
    PF_Cursor_FINGER_POINTER = 23
};

// Value of PF_Context::magic in every valid context.
#define PF_CONTEXT_MAGIC 99251998

// ---------------------------------------------------------------------------------
// Registration (PF_REGISTER_UI).

typedef struct PF_CustomUIInfo {
    A_long reserved;
    PF_CustomEventFlags events;
    A_long comp_ui_width;
    A_long comp_ui_height;
    PF_UIAlignment comp_ui_alignment;
    A_long layer_ui_width;
    A_long layer_ui_height;
    PF_UIAlignment layer_ui_alignment;
    A_long preview_ui_width;
    A_long preview_ui_height;
    PF_UIAlignment preview_ui_alignment;
} PF_CustomUIInfo;

// ---------------------------------------------------------------------------------
// Drawing contexts.

typedef struct PF_Context {
    A_u_long magic;  // PF_CONTEXT_MAGIC
    PF_WindowType w_type;
    void* reserved_flt;
    A_intptr_t plugin_state[4];  // scratch space of the effect, per context
    DRAWBOT_DrawRef reserved_drawref;
    void* reserved_paneP;
    void* reserved_job_manageP;
} PF_Context;

typedef PF_Context* PF_ContextPtr;
typedef PF_Context** PF_ContextH;

// ---------------------------------------------------------------------------------
// Events (PF_Cmd_EVENT; `extra` is a PF_EventExtra*).

typedef struct PF_DoClickEventInfo {
    A_u_long when;
    PF_Point screen_point;
    A_long num_clicks;
    PF_Modifiers modifiers;
    A_intptr_t continue_refcon[4];
    PF_Boolean send_drag;  // set by the effect to receive PF_Event_DRAG
    PF_Boolean last_time;  // set by the host on mouse-up
} PF_DoClickEventInfo;

typedef struct PF_DrawEventInfo {
    PF_Rect update_rect;
    A_long depth;
} PF_DrawEventInfo;

typedef struct PF_KeyDownEvent {
    A_u_long when;
    PF_Point screen_point;
    PF_KeyCode keycode;
    PF_Modifiers modifiers;
} PF_KeyDownEvent;

typedef struct PF_AdjustCursorEventInfo {
    PF_Point screen_point;
    PF_Modifiers modifiers;
    PF_CursorType set_cursor;
} PF_AdjustCursorEventInfo;

typedef union PF_EventUnion {
    PF_DoClickEventInfo do_click;
    PF_DrawEventInfo draw;
    PF_KeyDownEvent key_down;
    PF_AdjustCursorEventInfo adjust_cursor;
} PF_EventUnion;

typedef struct PF_EffectWindowInfo {
    PF_ParamIndex index;
    PF_EffectArea area;
    PF_Rect current_frame;  // the whole control area
    PF_Rect param_title_frame;
    A_long horiz_offset;
} PF_EffectWindowInfo;

// Coordinate conversions and Info-panel output offered with each event. Every
// function takes the `refcon` member first.
typedef struct PF_EventCallbacks {
    void* refcon;
    PF_Err (*layer_to_comp)(void* refcon, PF_ContextH context, A_long curr_time, A_long time_scale,
                            PF_FixedPoint* pt);
    PF_Err (*comp_to_layer)(void* refcon, PF_ContextH context, A_long curr_time, A_long time_scale,
                            PF_FixedPoint* pt);
    PF_Err (*get_comp2layer_xform)(void* refcon, PF_ContextH context, A_long curr_time,
                                   A_long time_scale, A_long* exists, PF_FloatMatrix* comp2layer);
    PF_Err (*get_layer2comp_xform)(void* refcon, PF_ContextH context, A_long curr_time,
                                   A_long time_scale, PF_FloatMatrix* layer2comp);
    PF_Err (*source_to_frame)(void* refcon, PF_ContextH context, PF_FixedPoint* pt);
    PF_Err (*frame_to_source)(void* refcon, PF_ContextH context, PF_FixedPoint* pt);
    PF_Err (*info_draw_color)(void* refcon, PF_Pixel color);
    PF_Err (*info_draw_text)(void* refcon, const A_char* text1Z0, const A_char* text2Z0);
} PF_EventCallbacks;

typedef struct PF_EventExtra {
    PF_ContextH contextH;
    PF_EventType e_type;
    PF_EventUnion u;
    PF_EffectWindowInfo effect_win;
    PF_EventCallbacks cbs;
    PF_EventInFlags evt_in_flags;
    PF_EventOutFlags evt_out_flags;
} PF_EventExtra;

#ifdef __cplusplus
}
#endif

#endif  // TL_SDK_AE_EFFECTUI_H
