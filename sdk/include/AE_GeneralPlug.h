// AEGP: the host's project-level interface (layers, streams, keyframes, compositions,
// items, collections, masks, memory), reachable from an effect through the suites
// below. Suite tables are structs of function pointers whose slot order is the ABI;
// every slot holds its place even where this plug-in never calls it.
#ifndef TL_SDK_AE_GENERALPLUG_H
#define TL_SDK_AE_GENERALPLUG_H

#include "A.h"
#include "AE_Effect.h"
#include "SPBasic.h"

#ifdef __cplusplus
extern "C" {
#endif

// =================================================================================
// Types
// =================================================================================

// Opaque handles to host objects.
typedef struct AEGP_LayerOpaque** AEGP_LayerH;
typedef struct AEGP_CompOpaque** AEGP_CompH;
typedef struct AEGP_ItemOpaque** AEGP_ItemH;
typedef struct AEGP_StreamRefOpaque** AEGP_StreamRefH;
typedef struct AEGP_EffectRefOpaque** AEGP_EffectRefH;
typedef struct AEGP_MemHandleOpaque** AEGP_MemHandle;
typedef struct AEGP_ProjectOpaque** AEGP_ProjectH;
typedef struct AEGP_Collection2Opaque** AEGP_Collection2H;
typedef struct AEGP_AddKeyframesInfoOpaque** AEGP_AddKeyframesInfoH;
typedef struct AEGP_MaskOutlineValOpaque** AEGP_MaskOutlineValH;
typedef struct AEGP_MaskRefOpaque** AEGP_MaskRefH;
typedef struct AEGP_TextDocumentOpaque** AEGP_TextDocumentH;

typedef struct AEGP_GlobalRefconOpaque* AEGP_GlobalRefcon;
typedef struct AEGP_MarkerVal* AEGP_MarkerValP;
typedef struct AEGP_ItemView* AEGP_ItemViewP;
typedef void* AEGP_ArbBlockVal;

// Integer ids and enumerations.
typedef A_long AEGP_PluginID;
typedef A_long AEGP_LayerIDVal;
typedef A_long AEGP_MaskIDVal;
typedef A_long AEGP_InstalledEffectKey;
typedef A_long AEGP_EffectIndex;
typedef A_long AEGP_KeyframeIndex;
typedef A_long AEGP_VertexIndex;
typedef A_long AEGP_MaskIndex;
typedef A_long AEGP_LayerFlags;
typedef A_long AEGP_ObjectType;
typedef A_long AEGP_StreamType;
typedef A_long AEGP_LayerStream;
typedef A_long AEGP_StreamGroupingType;
typedef A_long AEGP_MaskStream;
typedef A_long AEGP_StreamFlags;
typedef A_long AEGP_MemFlag;
typedef A_u_long AEGP_DynStreamFlags;
typedef A_u_long AEGP_MemSize;
typedef A_short AEGP_LTimeMode;
typedef A_short AEGP_ItemType;
typedef A_short AEGP_LayerQuality;
typedef A_char AEGP_LabelID;
typedef A_long AEGP_EffectFlags;
typedef A_long AEGP_CompFlags;
typedef A_long AEGP_ItemFlags;
typedef A_long AEGP_KeyInterpolationMask;
typedef A_long AEGP_KeyframeInterpolationType;
typedef A_long AEGP_KeyframeFlags;
typedef A_long AEGP_TransferFlags;
typedef A_long AEGP_TrackMatte;
typedef A_char AEGP_ProjBitDepth;
typedef A_char AEGP_TimeDisplayType;
typedef A_LegacyEnumType AEGP_CollectionItemType;
typedef A_LegacyEnumType AEGP_StreamCollectionItemType;

// ---------------------------------------------------------------------------------
// Enumeration values.

enum {
    AEGP_DynStreamFlag_ACTIVE_EYEBALL = 0x1,
    AEGP_DynStreamFlag_HIDDEN = 0x2,
    AEGP_DynStreamFlag_DISABLED = 0x10,
    AEGP_DynStreamFlag_ELIDED = 0x20,
    AEGP_DynStreamFlag_SHOWN_WHEN_EMPTY = 0x400,
    AEGP_DynStreamFlag_SKIP_REVEAL_WHEN_UNHIDDEN = 0x10000
};

enum {
    AEGP_StreamGroupingType_NONE = -1,
    AEGP_StreamGroupingType_LEAF = 0,
    AEGP_StreamGroupingType_NAMED_GROUP = 1,
    AEGP_StreamGroupingType_INDEXED_GROUP = 2
};

// Shape layers are VECTOR.
enum {
    AEGP_ObjectType_NONE = -1,
    AEGP_ObjectType_AV = 0,
    AEGP_ObjectType_LIGHT = 1,
    AEGP_ObjectType_CAMERA = 2,
    AEGP_ObjectType_TEXT = 3,
    AEGP_ObjectType_VECTOR = 4,
    AEGP_ObjectType_3D_MODEL = 5,
    AEGP_ObjectType_RESERVED1 = 6,
    AEGP_ObjectType_RESERVED2 = 7,
    AEGP_ObjectType_RESERVED3 = 8,
    AEGP_ObjectType_NUM_TYPES = 9
};

enum {
    AEGP_LayerStream_NONE = -1,
    AEGP_LayerStream_ANCHORPOINT = 0,
    AEGP_LayerStream_POSITION = 1,
    AEGP_LayerStream_SCALE = 2,
    AEGP_LayerStream_ROTATION = 3,
    AEGP_LayerStream_ROTATE_Z = 3,
    AEGP_LayerStream_OPACITY = 4,
    AEGP_LayerStream_AUDIO = 5,
    AEGP_LayerStream_MARKER = 6,
    AEGP_LayerStream_TIME_REMAP = 7,
    AEGP_LayerStream_ROTATE_X = 8,
    AEGP_LayerStream_ROTATE_Y = 9,
    AEGP_LayerStream_ORIENTATION = 10,
    AEGP_LayerStream_ZOOM = 11,
    AEGP_LayerStream_DEPTH_OF_FIELD = 12,
    AEGP_LayerStream_FOCUS_DISTANCE = 13,
    AEGP_LayerStream_APERTURE = 14,
    AEGP_LayerStream_BLUR_LEVEL = 15,
    AEGP_LayerStream_INTENSITY = 16,
    AEGP_LayerStream_COLOR = 17,
    AEGP_LayerStream_CONE_ANGLE = 18,
    AEGP_LayerStream_CONE_FEATHER = 19,
    AEGP_LayerStream_SHADOW_DARKNESS = 20,
    AEGP_LayerStream_SHADOW_DIFFUSION = 21,
    AEGP_LayerStream_ACCEPTS_SHADOWS = 22,
    AEGP_LayerStream_ACCEPTS_LIGHTS = 23,
    AEGP_LayerStream_AMBIENT_COEFF = 24,
    AEGP_LayerStream_DIFFUSE_COEFF = 25,
    AEGP_LayerStream_SPECULAR_INTENSITY = 26,
    AEGP_LayerStream_SPECULAR_SHININESS = 27,
    AEGP_LayerStream_CASTS_SHADOWS = 28,
    AEGP_LayerStream_LIGHT_TRANSMISSION = 29,
    AEGP_LayerStream_METAL = 30,
    AEGP_LayerStream_SOURCE_TEXT = 31,
    AEGP_LayerStream_IRIS_SHAPE = 32,
    AEGP_LayerStream_IRIS_ROTATION = 33,
    AEGP_LayerStream_IRIS_ROUNDNESS = 34,
    AEGP_LayerStream_IRIS_ASPECT_RATIO = 35,
    AEGP_LayerStream_IRIS_DIFFRACTION_FRINGE = 36,
    AEGP_LayerStream_IRIS_HIGHLIGHT_GAIN = 37,
    AEGP_LayerStream_IRIS_HIGHLIGHT_THRESHOLD = 38,
    AEGP_LayerStream_IRIS_HIGHLIGHT_SATURATION = 39,
    AEGP_LayerStream_LIGHT_FALLOFF_TYPE = 40,
    AEGP_LayerStream_LIGHT_FALLOFF_START = 41,
    AEGP_LayerStream_LIGHT_FALLOFF_DISTANCE = 42,
    AEGP_LayerStream_REFLECTION_INTENSITY = 43,
    AEGP_LayerStream_REFLECTION_SHARPNESS = 44,
    AEGP_LayerStream_REFLECTION_ROLLOFF = 45,
    AEGP_LayerStream_TRANSPARENCY_COEFF = 46,
    AEGP_LayerStream_TRANSPARENCY_ROLLOFF = 47,
    AEGP_LayerStream_INDEX_OF_REFRACTION = 48,
    AEGP_LayerStream_EXTRUSION_BEVEL_STYLE = 49,
    AEGP_LayerStream_EXTRUSION_BEVEL_DIRECTION = 50,
    AEGP_LayerStream_EXTRUSION_BEVEL_DEPTH = 51,
    AEGP_LayerStream_EXTRUSION_HOLE_BEVEL_DEPTH = 52,
    AEGP_LayerStream_EXTRUSION_DEPTH = 53,
    AEGP_LayerStream_PLANE_CURVATURE = 54,
    AEGP_LayerStream_PLANE_SUBDIVISION = 55,
    AEGP_LayerStream_LIGHT_BACKGROUND_VISIBLE = 56,
    AEGP_LayerStream_LIGHT_BACKGROUND_OPACITY = 57,
    AEGP_LayerStream_LIGHT_BACKGROUND_BLUR = 58,
    AEGP_LayerStream_SHADOW_COLOR = 59,
    AEGP_LayerStream_NUMTYPES = 60,
    AEGP_LayerStream_BEGIN = 0,
    AEGP_LayerStream_END = 60
};

enum {
    AEGP_MaskStream_OUTLINE = 400,
    AEGP_MaskStream_OPACITY = 401,
    AEGP_MaskStream_FEATHER = 402,
    AEGP_MaskStream_EXPANSION = 403,
    AEGP_MaskStream_BEGIN = 400,
    AEGP_MaskStream_END = 404
};

enum { AEGP_LTimeMode_LayerTime = 0, AEGP_LTimeMode_CompTime = 1 };

// Solids are not project items; SOLID_defunct is never reported.
enum {
    AEGP_ItemType_NONE = 0,
    AEGP_ItemType_FOLDER = 1,
    AEGP_ItemType_COMP = 2,
    AEGP_ItemType_SOLID_defunct = 3,
    AEGP_ItemType_FOOTAGE = 4,
    AEGP_ItemType_NUM_TYPES1 = 5
};

enum {
    AEGP_CollectionItemType_NONE = 0,
    AEGP_CollectionItemType_LAYER = 1,
    AEGP_CollectionItemType_MASK = 2,
    AEGP_CollectionItemType_EFFECT = 3,
    AEGP_CollectionItemType_STREAM = 4,
    AEGP_CollectionItemType_KEYFRAME = 5,
    AEGP_CollectionItemType_MASK_VERTEX = 6,
    AEGP_CollectionItemType_STREAMREF = 7,
    AEGP_CollectionItemType_END = 8,
    AEGP_CollectionItemType_BEGIN = 1
};

enum {
    AEGP_StreamCollectionItemType_NONE = 0,
    AEGP_StreamCollectionItemType_LAYER = 1,
    AEGP_StreamCollectionItemType_MASK = 2,
    AEGP_StreamCollectionItemType_EFFECT = 3,
    AEGP_StreamCollectionItemType_END = 4,
    AEGP_StreamCollectionItemType_BEGIN = 1
};

enum {
    AEGP_LayerFlag_NONE = 0,
    AEGP_LayerFlag_VIDEO_ACTIVE = 0x1,
    AEGP_LayerFlag_AUDIO_ACTIVE = 0x2,
    AEGP_LayerFlag_EFFECTS_ACTIVE = 0x4,
    AEGP_LayerFlag_MOTION_BLUR = 0x8,
    AEGP_LayerFlag_FRAME_BLENDING = 0x10,
    AEGP_LayerFlag_LOCKED = 0x20,
    AEGP_LayerFlag_SHY = 0x40,
    AEGP_LayerFlag_COLLAPSE = 0x80,
    AEGP_LayerFlag_AUTO_ORIENT_ROTATION = 0x100,
    AEGP_LayerFlag_ADJUSTMENT_LAYER = 0x200,
    AEGP_LayerFlag_TIME_REMAPPING = 0x400,
    AEGP_LayerFlag_LAYER_IS_3D = 0x800,
    AEGP_LayerFlag_LOOK_AT_CAMERA = 0x1000,
    AEGP_LayerFlag_LOOK_AT_POI = 0x2000,
    AEGP_LayerFlag_SOLO = 0x4000,
    AEGP_LayerFlag_MARKERS_LOCKED = 0x8000,
    AEGP_LayerFlag_NULL_LAYER = 0x10000,
    AEGP_LayerFlag_HIDE_LOCKED_MASKS = 0x20000,
    AEGP_LayerFlag_GUIDE_LAYER = 0x40000,
    AEGP_LayerFlag_ADVANCED_FRAME_BLENDING = 0x80000,
    AEGP_LayerFlag_SUBLAYERS_RENDER_SEPARATELY = 0x100000,
    AEGP_LayerFlag_ENVIRONMENT_LAYER = 0x200000
};

enum {
    AEGP_StreamType_NO_DATA = 0,
    AEGP_StreamType_ThreeD_SPATIAL = 1,
    AEGP_StreamType_ThreeD = 2,
    AEGP_StreamType_TwoD_SPATIAL = 3,
    AEGP_StreamType_TwoD = 4,
    AEGP_StreamType_OneD = 5,
    AEGP_StreamType_COLOR = 6,
    AEGP_StreamType_ARB = 7,
    AEGP_StreamType_MARKER = 8,
    AEGP_StreamType_LAYER_ID = 9,
    AEGP_StreamType_MASK_ID = 10,
    AEGP_StreamType_MASK = 11,
    AEGP_StreamType_TEXT_DOCUMENT = 12
};

enum {
    AEGP_StreamFlag_NONE = 0,
    AEGP_StreamFlag_HAS_MIN = 0x1,
    AEGP_StreamFlag_HAS_MAX = 0x2,
    AEGP_StreamFlag_IS_SPATIAL = 0x4
};

enum {
    AEGP_EffectFlags_NONE = 0,
    AEGP_EffectFlags_ACTIVE = 0x1,
    AEGP_EffectFlags_AUDIO_ONLY = 0x2,
    AEGP_EffectFlags_AUDIO_TOO = 0x4,
    AEGP_EffectFlags_MISSING = 0x8
};

enum {
    AEGP_KeyInterp_NONE = 0,
    AEGP_KeyInterp_LINEAR = 1,
    AEGP_KeyInterp_BEZIER = 2,
    AEGP_KeyInterp_HOLD = 3
};

enum {
    AEGP_KeyframeFlag_NONE = 0,
    AEGP_KeyframeFlag_TEMPORAL_CONTINUOUS = 0x1,
    AEGP_KeyframeFlag_TEMPORAL_AUTOBEZIER = 0x2,
    AEGP_KeyframeFlag_SPATIAL_CONTINUOUS = 0x4,
    AEGP_KeyframeFlag_SPATIAL_AUTOBEZIER = 0x8,
    AEGP_KeyframeFlag_ROVING = 0x10
};

enum { AEGP_MemFlag_NONE = 0, AEGP_MemFlag_CLEAR = 0x1, AEGP_MemFlag_QUIET = 0x2 };

enum { AEGP_NumKF_NO_DATA = -1 };
enum { AEGP_REORDER_LAYER_TO_END = -1 };
enum { AEGP_InstalledEffectKey_NONE = 0 };

// Buffer sizes of the 8-bit string functions, terminating NUL included unless a
// function's comment says otherwise.
enum {
    AEGP_MAX_PATH_SIZE = 260,
    AEGP_MAX_ABOUT_STRING_SIZE = 256,
    AEGP_MAX_RQITEM_COMMENT_SIZE = 256,
    AEGP_MAX_TYPE_NAME_SIZE = 32,
    AEGP_MAX_ITEM_NAME_SIZE = 32,
    AEGP_MAX_LAYER_NAME_SIZE = 32,
    AEGP_MAX_MASK_NAME_SIZE = 32,
    AEGP_MAX_EFFECT_NAME_SIZE = 48,
    AEGP_MAX_EFFECT_MATCH_NAME_SIZE = 48,
    AEGP_MAX_EFFECT_CATEGORY_NAME_SIZE = 32,
    AEGP_MAX_STREAM_NAME_SIZE = 32,
    AEGP_MAX_STREAM_UNITS_SIZE = 32,
    AEGP_MAX_PROJ_NAME_SIZE = 48,
    AEGP_MAX_PLUGIN_NAME_SIZE = 32,
    AEGP_MAX_MARKER_NAME_SIZE = 64,
    AEGP_MAX_MARKER_URL_SIZE = 1024,
    AEGP_MAX_MARKER_TARGET_SIZE = 128,
    AEGP_MAX_MARKER_CHAPTER_SIZE = 128,
    AEGP_MAX_STREAM_MATCH_NAME_SIZE = 40
};

// Match names of the host's stream groups and streams (UTF-8).
#define AEGP_StreamGroupName_MASK_PARADE "ADBE Mask Parade"
#define AEGP_StreamGroupName_MASK_ATOM "ADBE Mask Atom"
#define AEGP_StreamName_MASK_FEATHER "ADBE Mask Feather"
#define AEGP_StreamName_MASK_OPACITY "ADBE Mask Opacity"
#define AEGP_StreamName_MASK_OFFSET "ADBE Mask Offset"
#define AEGP_StreamGroupName_EFFECT_PARADE "ADBE Effect Parade"
#define AEGP_StreamGroupName_LAYER "ADBE Abstract Layer"
#define AEGP_StreamGroupName_AV_LAYER "ADBE AV Layer"
#define AEGP_StreamGroupName_TEXT_LAYER "ADBE Text Layer"
#define AEGP_StreamGroupName_CAMERA_LAYER "ADBE Camera Layer"
#define AEGP_StreamGroupName_LIGHT_LAYER "ADBE Light Layer"
#define AEGP_StreamGroupName_AUDIO "ADBE Audio Group"
#define AEGP_StreamGroupName_MATERIAL_OPTIONS "ADBE Material Options Group"
#define AEGP_StreamGroupName_TRANSFORM "ADBE Transform Group"
#define AEGP_StreamGroupName_LIGHT_OPTIONS "ADBE Light Options Group"
#define AEGP_StreamGroupName_CAMERA_OPTIONS "ADBE Camera Options Group"

// ---------------------------------------------------------------------------------
// Values.

// Colour, alpha first.
typedef struct AEGP_ColorVal {
    A_FpLong alphaF, redF, greenF, blueF;
} AEGP_ColorVal;

typedef A_FpLong AEGP_OneDVal;

typedef struct AEGP_TwoDVal {
    A_FpLong x, y;
} AEGP_TwoDVal;

typedef struct AEGP_ThreeDVal {
    A_FpLong x, y, z;
} AEGP_ThreeDVal;

typedef A_FpLong AEGP_FourDVal[4];

// Value of a stream at one time (stream suite from numeric version 8 on).
typedef union AEGP_StreamVal2 {
    AEGP_FourDVal four_d;
    AEGP_ThreeDVal three_d;
    AEGP_TwoDVal two_d;
    AEGP_OneDVal one_d;
    AEGP_ColorVal color;
    A_Handle arbH;
    AEGP_MarkerValP markerP;
    AEGP_LayerIDVal layer_id;
    AEGP_MaskIDVal mask_id;
    AEGP_MaskOutlineValH mask;
    AEGP_TextDocumentH text_documentH;
} AEGP_StreamVal2;

typedef struct AEGP_StreamValue2 {
    AEGP_StreamRefH streamH;
    AEGP_StreamVal2 val;
} AEGP_StreamValue2;

// The older form (stream suite numeric version 7): markers as a handle.
typedef union AEGP_StreamVal {
    AEGP_FourDVal four_d;
    AEGP_ThreeDVal three_d;
    AEGP_TwoDVal two_d;
    AEGP_OneDVal one_d;
    AEGP_ColorVal color;
    A_Handle arbH;
    struct AEGP_MarkerVal** markerH;
    AEGP_LayerIDVal layer_id;
    AEGP_MaskIDVal mask_id;
    AEGP_MaskOutlineValH mask;
    AEGP_TextDocumentH text_documentH;
} AEGP_StreamVal;

typedef struct AEGP_StreamValue {
    AEGP_StreamRefH streamH;
    AEGP_StreamVal val;
} AEGP_StreamValue;

typedef PF_PathVertex AEGP_MaskVertex;

typedef struct AEGP_KeyframeEase {
    A_FpLong speedF;
    A_FpLong influenceF;
} AEGP_KeyframeEase;

typedef struct AEGP_DownsampleFactor {
    A_short xS;
    A_short yS;
} AEGP_DownsampleFactor;

typedef struct AEGP_LayerTransferMode {
    PF_TransferMode mode;
    AEGP_TransferFlags flags;
    AEGP_TrackMatte track_matte;
} AEGP_LayerTransferMode;

// Records the effect never reads; only passed by pointer.
typedef struct AEGP_ErrReportState {
    A_long reservedAL[8];
} AEGP_ErrReportState;

typedef struct AEGP_TimeDisplay2 {
    AEGP_TimeDisplayType type;
    A_char timebaseC;
    A_Boolean non_drop_30B;
    A_char frames_per_footC;
    A_long starting_frameL;
    A_Boolean auto_timecode_baseB;
} AEGP_TimeDisplay2;

// ---------------------------------------------------------------------------------
// Collection items (56 bytes). `type` is four bytes on Windows and one on macOS; the
// union after it is 8-aligned, so the offsets do not change.

typedef struct AEGP_LayerCollectionItem {
    AEGP_LayerH layerH;
} AEGP_LayerCollectionItem;

typedef struct AEGP_MaskCollectionItem {
    AEGP_LayerH layerH;
    AEGP_MaskIndex index;
} AEGP_MaskCollectionItem;

typedef struct AEGP_EffectCollectionItem {
    AEGP_LayerH layerH;
    AEGP_EffectIndex index;
} AEGP_EffectCollectionItem;

typedef struct AEGP_MaskVertexCollectionItem {
    AEGP_MaskCollectionItem mask_sel;
    AEGP_VertexIndex index;
} AEGP_MaskVertexCollectionItem;

typedef struct AEGP_LayerStreamCollectionItem {
    AEGP_LayerH layerH;
    AEGP_LayerStream layer_stream;
} AEGP_LayerStreamCollectionItem;

typedef struct AEGP_MaskStreamCollectionItem {
    AEGP_MaskCollectionItem mask;
    AEGP_MaskStream mask_stream;
} AEGP_MaskStreamCollectionItem;

typedef struct AEGP_EffectStreamCollectionItem {
    AEGP_EffectCollectionItem effect;
    A_long param_index;
} AEGP_EffectStreamCollectionItem;

typedef struct AEGP_StreamCollectionItem {
    AEGP_StreamCollectionItemType type;
    union {
        AEGP_LayerStreamCollectionItem layer_stream;
        AEGP_MaskStreamCollectionItem mask_stream;
        AEGP_EffectStreamCollectionItem effect_stream;
    } u;
} AEGP_StreamCollectionItem;

typedef struct AEGP_KeyframeCollectionItem {
    AEGP_StreamCollectionItem stream_coll;
    AEGP_KeyframeIndex index;
} AEGP_KeyframeCollectionItem;

typedef struct AEGP_CollectionItemV2 {
    AEGP_CollectionItemType type;
    union {
        AEGP_LayerCollectionItem layer;
        AEGP_MaskCollectionItem mask;
        AEGP_EffectCollectionItem effect;
        AEGP_StreamCollectionItem stream;
        AEGP_MaskVertexCollectionItem mask_vertex;
        AEGP_KeyframeCollectionItem keyframe;
    } u;
    // Used when type is STREAMREF; the collection adopts the reference.
    AEGP_StreamRefH stream_refH;
} AEGP_CollectionItemV2;

// =================================================================================
// Suites. Names are the broker's lookup strings; versions are the numeric versions
// asked for, which differ from the digit in the table's name.
// =================================================================================

#define kAEGPUtilitySuite "AEGP Utility Suite"
#define kAEGPUtilitySuiteVersion5 11

typedef struct AEGP_UtilitySuite5 {
    A_Err (*AEGP_ReportInfo)(AEGP_PluginID aegp_plugin_id, const A_char* info_string);
    A_Err (*AEGP_GetDriverPluginInitFuncVersion)(A_short* major_versionPS,
                                                 A_short* minor_versionPS);
    A_Err (*AEGP_GetDriverImplementationVersion)(A_short* major_versionPS,
                                                 A_short* minor_versionPS);
    A_Err (*AEGP_StartQuietErrors)(AEGP_ErrReportState* err_stateP);
    A_Err (*AEGP_EndQuietErrors)(A_Boolean report_quieted_errorsB, AEGP_ErrReportState* err_stateP);
    A_Err (*AEGP_GetLastErrorMessage)(A_long buffer_size, A_char* error_string, A_Err* error_num);
    // Everything until EndUndoGroup undoes as one step, named in the Edit menu.
    A_Err (*AEGP_StartUndoGroup)(const A_char* undo_name);
    A_Err (*AEGP_EndUndoGroup)(void);
    // Called once by an effect in GLOBAL_SETUP; the second argument is its match name.
    A_Err (*AEGP_RegisterWithAEGP)(AEGP_GlobalRefcon global_refcon, const A_char* plugin_name,
                                   AEGP_PluginID* plugin_id);
    A_Err (*AEGP_GetMainHWND)(void* main_hwnd);
    A_Err (*AEGP_ShowHideAllFloaters)(A_Boolean include_tool_palB);
    A_Err (*AEGP_PaintPalGetForeColor)(AEGP_ColorVal* fore_color);
    A_Err (*AEGP_PaintPalGetBackColor)(AEGP_ColorVal* back_color);
    A_Err (*AEGP_PaintPalSetForeColor)(const AEGP_ColorVal* fore_color);
    A_Err (*AEGP_PaintPalSetBackColor)(const AEGP_ColorVal* back_color);
    A_Err (*AEGP_CharPalGetFillColor)(A_Boolean* is_fill_color_definedPB,
                                      AEGP_ColorVal* fill_color);
    A_Err (*AEGP_CharPalGetStrokeColor)(A_Boolean* is_stroke_color_definedPB,
                                        AEGP_ColorVal* stroke_color);
    A_Err (*AEGP_CharPalSetFillColor)(const AEGP_ColorVal* fill_color);
    A_Err (*AEGP_CharPalSetStrokeColor)(const AEGP_ColorVal* stroke_color);
    A_Err (*AEGP_CharPalIsFillColorUIFrontmost)(A_Boolean* is_fill_color_selectedPB);
    A_Err (*AEGP_ConvertFpLongToHSFRatio)(A_FpLong numberF, A_Ratio* ratioP);
    A_Err (*AEGP_ConvertHSFRatioToFpLong)(A_Ratio ratioR, A_FpLong* numberPF);
    A_Err (*AEGP_CauseIdleRoutinesToBeCalled)(void);
    A_Err (*AEGP_GetSuppressInteractiveUI)(A_Boolean* ui_is_suppressedPB);
    A_Err (*AEGP_WriteToOSConsole)(const A_char* text);
    A_Err (*AEGP_WriteToDebugLog)(const A_char* subsystem, const A_char* event_type,
                                  const A_char* text);
    A_Err (*AEGP_IsScriptingAvailable)(A_Boolean* outAvailablePB);
    A_Err (*AEGP_ExecuteScript)(AEGP_PluginID inPlugin_id, const A_char* inScriptZ,
                                const A_Boolean inPlatformEncodingB, AEGP_MemHandle* outResultPH0,
                                AEGP_MemHandle* outErrorStringPH0);
    A_Err (*AEGP_HostIsActivated)(A_Boolean* outIsActivatedPB);
    A_Err (*AEGP_GetPluginPlatformRef)(AEGP_PluginID plug_id, void** plat_refPPV);
    A_Err (*AEGP_UpdateFontList)(void);
} AEGP_UtilitySuite5;

// ---------------------------------------------------------------------------------

#define kAEGPCompositeSuite "AEGP Composite Suite"
#define kAEGPCompositeSuiteVersion2 4

typedef struct AEGP_CompositeSuite2 {
    A_Err (*AEGP_ClearAlphaExceptRect)(A_Rect* clipped_dest_rectPR, PF_EffectWorld* dstP);
    A_Err (*AEGP_PrepTrackMatte)(A_long num_pix, A_Boolean deepB, const PF_Pixel* src_mask,
                                 PF_MaskFlags mask_flags, PF_Pixel* dst_mask);
    A_Err (*AEGP_TransferRect)(PF_Quality quality, PF_ModeFlags m_flags, PF_Field field,
                               const A_Rect* src_rec, const PF_EffectWorld* src_world,
                               const PF_CompositeMode* comp_mode, PF_EffectBlendingTables blending,
                               const PF_MaskWorld* mask_world0, A_long dest_x, A_long dest_y,
                               PF_EffectWorld* dst_world);
    // A NULL rectangle means the whole world.
    A_Err (*AEGP_CopyBits_LQ)(PF_EffectWorld* src_worldP, A_Rect* src_r, A_Rect* dst_r,
                              PF_EffectWorld* dst_worldP);
    A_Err (*AEGP_CopyBits_HQ_Straight)(PF_EffectWorld* src_worldP, A_Rect* src_r, A_Rect* dst_r,
                                       PF_EffectWorld* dst_worldP);
    A_Err (*AEGP_CopyBits_HQ_Premul)(PF_EffectWorld* src_worldP, A_Rect* src_r, A_Rect* dst_r,
                                     PF_EffectWorld* dst_worldP);
} AEGP_CompositeSuite2;

// ---------------------------------------------------------------------------------

#define kAEGPPFInterfaceSuite "AEGP PF Interface Suite"
#define kAEGPPFInterfaceSuiteVersion1 1

typedef struct AEGP_PFInterfaceSuite1 {
    // The layer the calling effect instance sits on.
    A_Err (*AEGP_GetEffectLayer)(PF_ProgPtr effect_ref, AEGP_LayerH* layerPH);
    // The calling instance as an effect reference; dispose with AEGP_DisposeEffect.
    A_Err (*AEGP_GetNewEffectForEffect)(AEGP_PluginID aegp_plugin_id, PF_ProgPtr effect_ref,
                                        AEGP_EffectRefH* effectPH);
    A_Err (*AEGP_ConvertEffectToCompTime)(PF_ProgPtr effect_ref, A_long what_time,
                                          A_u_long time_scale, A_Time* comp_timePT);
    A_Err (*AEGP_GetEffectCamera)(PF_ProgPtr effect_ref, const A_Time* comp_timePT,
                                  AEGP_LayerH* camera_layerPH);
    A_Err (*AEGP_GetEffectCameraMatrix)(PF_ProgPtr effect_ref, const A_Time* comp_timePT,
                                        A_Matrix4* camera_matrixP, A_FpLong* dst_to_planePF,
                                        A_short* plane_widthPL, A_short* plane_heightPL);
} AEGP_PFInterfaceSuite1;

// ---------------------------------------------------------------------------------
// Layers. Index 0 is the topmost layer of a composition.

#define kAEGPLayerSuite "AEGP Layer Suite"
#define kAEGPLayerSuiteVersion5 11
#define kAEGPLayerSuiteVersion7 13

// Numeric version 11: 8-bit layer names.
typedef struct AEGP_LayerSuite5 {
    A_Err (*AEGP_GetCompNumLayers)(AEGP_CompH compH, A_long* num_layersPL);
    A_Err (*AEGP_GetCompLayerByIndex)(AEGP_CompH compH, A_long layer_indexL, AEGP_LayerH* layerPH);
    A_Err (*AEGP_GetActiveLayer)(AEGP_LayerH* layerPH);
    A_Err (*AEGP_GetLayerIndex)(AEGP_LayerH layerH, A_long* layer_indexPL);
    A_Err (*AEGP_GetLayerSourceItem)(AEGP_LayerH layerH, AEGP_ItemH* source_itemPH);
    A_Err (*AEGP_GetLayerSourceItemID)(AEGP_LayerH layerH, A_long* source_idPL);
    A_Err (*AEGP_GetLayerParentComp)(AEGP_LayerH layerH, AEGP_CompH* compPH);
    // Two caller buffers of AEGP_MAX_LAYER_NAME_SIZE chars; either may be NULL.
    A_Err (*AEGP_GetLayerName)(AEGP_LayerH layerH, A_char* layer_nameZ0, A_char* source_nameZ0);
    A_Err (*AEGP_GetLayerQuality)(AEGP_LayerH layerH, AEGP_LayerQuality* qualityP);
    A_Err (*AEGP_SetLayerQuality)(AEGP_LayerH layerH, AEGP_LayerQuality quality);
    A_Err (*AEGP_GetLayerFlags)(AEGP_LayerH layerH, AEGP_LayerFlags* layer_flagsP);
    A_Err (*AEGP_SetLayerFlag)(AEGP_LayerH layerH, AEGP_LayerFlags single_flag, A_Boolean valueB);
    A_Err (*AEGP_IsLayerVideoReallyOn)(AEGP_LayerH layerH, A_Boolean* onPB);
    A_Err (*AEGP_IsLayerAudioReallyOn)(AEGP_LayerH layerH, A_Boolean* onPB);
    A_Err (*AEGP_GetLayerCurrentTime)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode,
                                      A_Time* curr_timePT);
    A_Err (*AEGP_GetLayerInPoint)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode, A_Time* in_pointPT);
    A_Err (*AEGP_GetLayerDuration)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode,
                                   A_Time* durationPT);
    A_Err (*AEGP_SetLayerInPointAndDuration)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode,
                                             const A_Time* in_pointPT, const A_Time* durationPT);
    A_Err (*AEGP_GetLayerOffset)(AEGP_LayerH layerH, A_Time* offsetPT);
    A_Err (*AEGP_SetLayerOffset)(AEGP_LayerH layerH, const A_Time* offsetPT);
    A_Err (*AEGP_GetLayerStretch)(AEGP_LayerH layerH, A_Ratio* stretchPRt);
    A_Err (*AEGP_SetLayerStretch)(AEGP_LayerH layerH, const A_Ratio* stretchPRt);
    A_Err (*AEGP_GetLayerTransferMode)(AEGP_LayerH layerH, AEGP_LayerTransferMode* transfer_modeP);
    A_Err (*AEGP_SetLayerTransferMode)(AEGP_LayerH layerH,
                                       const AEGP_LayerTransferMode* transfer_modeP);
    A_Err (*AEGP_IsAddLayerValid)(AEGP_ItemH item_to_addH, AEGP_CompH into_compH,
                                  A_Boolean* validPB);
    A_Err (*AEGP_AddLayer)(AEGP_ItemH item_to_addH, AEGP_CompH into_compH,
                           AEGP_LayerH* added_layerPH0);
    A_Err (*AEGP_ReorderLayer)(AEGP_LayerH layerH, A_long layer_indexL);
    A_Err (*AEGP_GetLayerMaskedBounds)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode,
                                       const A_Time* timePT, A_FloatRect* boundsPR);
    A_Err (*AEGP_GetLayerObjectType)(AEGP_LayerH layerH, AEGP_ObjectType* object_type);
    A_Err (*AEGP_IsLayer3D)(AEGP_LayerH layerH, A_Boolean* is_3DPB);
    A_Err (*AEGP_IsLayer2D)(AEGP_LayerH layerH, A_Boolean* is_2DPB);
    A_Err (*AEGP_IsVideoActive)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode, const A_Time* timePT,
                                A_Boolean* is_activePB);
    A_Err (*AEGP_IsLayerUsedAsTrackMatte)(AEGP_LayerH layerH, A_Boolean fill_must_be_activeB,
                                          A_Boolean* is_track_mattePB);
    A_Err (*AEGP_DoesLayerHaveTrackMatte)(AEGP_LayerH layerH, A_Boolean* has_track_mattePB);
    A_Err (*AEGP_ConvertCompToLayerTime)(AEGP_LayerH layerH, const A_Time* comp_timeP,
                                         A_Time* layer_timeP);
    A_Err (*AEGP_ConvertLayerToCompTime)(AEGP_LayerH layerH, const A_Time* layer_timeP,
                                         A_Time* comp_timeP);
    A_Err (*AEGP_GetLayerDancingRandValue)(AEGP_LayerH layerH, const A_Time* comp_timePT,
                                           A_long* rand_valuePL);
    // Unique and stable for the project's lifetime.
    A_Err (*AEGP_GetLayerID)(AEGP_LayerH layerH, AEGP_LayerIDVal* id);
    A_Err (*AEGP_GetLayerToWorldXform)(AEGP_LayerH layerH, const A_Time* comp_timeP,
                                       A_Matrix4* transform);
    A_Err (*AEGP_GetLayerToWorldXformFromView)(AEGP_LayerH layerH, const A_Time* view_timeP,
                                               const A_Time* comp_timeP, A_Matrix4* transform);
    A_Err (*AEGP_SetLayerName)(AEGP_LayerH layerH, const A_char* new_nameZ);
    A_Err (*AEGP_GetLayerParent)(AEGP_LayerH layerH, AEGP_LayerH* parent_layerPH);
    A_Err (*AEGP_SetLayerParent)(AEGP_LayerH layerH, AEGP_LayerH parent_layerH);
    A_Err (*AEGP_DeleteLayer)(AEGP_LayerH layerH);
    A_Err (*AEGP_DuplicateLayer)(AEGP_LayerH orig_layerH, AEGP_LayerH* duplicate_layerPH);
    A_Err (*AEGP_GetLayerFromLayerID)(AEGP_CompH parent_compH, AEGP_LayerIDVal id,
                                      AEGP_LayerH* layerPH);
} AEGP_LayerSuite5;

// Numeric version 13: UTF-16 layer names in memory handles, plus labels.
typedef struct AEGP_LayerSuite7 {
    A_Err (*AEGP_GetCompNumLayers)(AEGP_CompH compH, A_long* num_layersPL);
    A_Err (*AEGP_GetCompLayerByIndex)(AEGP_CompH compH, A_long layer_indexL, AEGP_LayerH* layerPH);
    A_Err (*AEGP_GetActiveLayer)(AEGP_LayerH* layerPH);
    A_Err (*AEGP_GetLayerIndex)(AEGP_LayerH layerH, A_long* layer_indexPL);
    A_Err (*AEGP_GetLayerSourceItem)(AEGP_LayerH layerH, AEGP_ItemH* source_itemPH);
    A_Err (*AEGP_GetLayerSourceItemID)(AEGP_LayerH layerH, A_long* source_idPL);
    A_Err (*AEGP_GetLayerParentComp)(AEGP_LayerH layerH, AEGP_CompH* compPH);
    // UTF-16 names in handles the caller frees with AEGP_FreeMemHandle; either may be NULL.
    A_Err (*AEGP_GetLayerName)(AEGP_PluginID pluginID, AEGP_LayerH layerH,
                               AEGP_MemHandle* utf_layer_namePH0,
                               AEGP_MemHandle* utf_source_namePH0);
    A_Err (*AEGP_GetLayerQuality)(AEGP_LayerH layerH, AEGP_LayerQuality* qualityP);
    A_Err (*AEGP_SetLayerQuality)(AEGP_LayerH layerH, AEGP_LayerQuality quality);
    A_Err (*AEGP_GetLayerFlags)(AEGP_LayerH layerH, AEGP_LayerFlags* layer_flagsP);
    A_Err (*AEGP_SetLayerFlag)(AEGP_LayerH layerH, AEGP_LayerFlags single_flag, A_Boolean valueB);
    A_Err (*AEGP_IsLayerVideoReallyOn)(AEGP_LayerH layerH, A_Boolean* onPB);
    A_Err (*AEGP_IsLayerAudioReallyOn)(AEGP_LayerH layerH, A_Boolean* onPB);
    A_Err (*AEGP_GetLayerCurrentTime)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode,
                                      A_Time* curr_timePT);
    A_Err (*AEGP_GetLayerInPoint)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode, A_Time* in_pointPT);
    A_Err (*AEGP_GetLayerDuration)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode,
                                   A_Time* durationPT);
    A_Err (*AEGP_SetLayerInPointAndDuration)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode,
                                             const A_Time* in_pointPT, const A_Time* durationPT);
    A_Err (*AEGP_GetLayerOffset)(AEGP_LayerH layerH, A_Time* offsetPT);
    A_Err (*AEGP_SetLayerOffset)(AEGP_LayerH layerH, const A_Time* offsetPT);
    A_Err (*AEGP_GetLayerStretch)(AEGP_LayerH layerH, A_Ratio* stretchPRt);
    A_Err (*AEGP_SetLayerStretch)(AEGP_LayerH layerH, const A_Ratio* stretchPRt);
    A_Err (*AEGP_GetLayerTransferMode)(AEGP_LayerH layerH, AEGP_LayerTransferMode* transfer_modeP);
    A_Err (*AEGP_SetLayerTransferMode)(AEGP_LayerH layerH,
                                       const AEGP_LayerTransferMode* transfer_modeP);
    A_Err (*AEGP_IsAddLayerValid)(AEGP_ItemH item_to_addH, AEGP_CompH into_compH,
                                  A_Boolean* validPB);
    A_Err (*AEGP_AddLayer)(AEGP_ItemH item_to_addH, AEGP_CompH into_compH,
                           AEGP_LayerH* added_layerPH0);
    A_Err (*AEGP_ReorderLayer)(AEGP_LayerH layerH, A_long layer_indexL);
    A_Err (*AEGP_GetLayerMaskedBounds)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode,
                                       const A_Time* timePT, A_FloatRect* boundsPR);
    A_Err (*AEGP_GetLayerObjectType)(AEGP_LayerH layerH, AEGP_ObjectType* object_type);
    A_Err (*AEGP_IsLayer3D)(AEGP_LayerH layerH, A_Boolean* is_3DPB);
    A_Err (*AEGP_IsLayer2D)(AEGP_LayerH layerH, A_Boolean* is_2DPB);
    A_Err (*AEGP_IsVideoActive)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode, const A_Time* timePT,
                                A_Boolean* is_activePB);
    A_Err (*AEGP_IsLayerUsedAsTrackMatte)(AEGP_LayerH layerH, A_Boolean fill_must_be_activeB,
                                          A_Boolean* is_track_mattePB);
    A_Err (*AEGP_DoesLayerHaveTrackMatte)(AEGP_LayerH layerH, A_Boolean* has_track_mattePB);
    A_Err (*AEGP_ConvertCompToLayerTime)(AEGP_LayerH layerH, const A_Time* comp_timeP,
                                         A_Time* layer_timeP);
    A_Err (*AEGP_ConvertLayerToCompTime)(AEGP_LayerH layerH, const A_Time* layer_timeP,
                                         A_Time* comp_timeP);
    A_Err (*AEGP_GetLayerDancingRandValue)(AEGP_LayerH layerH, const A_Time* comp_timePT,
                                           A_long* rand_valuePL);
    A_Err (*AEGP_GetLayerID)(AEGP_LayerH layerH, AEGP_LayerIDVal* id);
    A_Err (*AEGP_GetLayerToWorldXform)(AEGP_LayerH layerH, const A_Time* comp_timeP,
                                       A_Matrix4* transform);
    A_Err (*AEGP_GetLayerToWorldXformFromView)(AEGP_LayerH layerH, const A_Time* view_timeP,
                                               const A_Time* comp_timeP, A_Matrix4* transform);
    A_Err (*AEGP_SetLayerName)(AEGP_LayerH layerH, const A_UTF16Char* new_nameZ);
    A_Err (*AEGP_GetLayerParent)(AEGP_LayerH layerH, AEGP_LayerH* parent_layerPH);
    A_Err (*AEGP_SetLayerParent)(AEGP_LayerH layerH, AEGP_LayerH parent_layerH);
    A_Err (*AEGP_DeleteLayer)(AEGP_LayerH layerH);
    A_Err (*AEGP_DuplicateLayer)(AEGP_LayerH orig_layerH, AEGP_LayerH* duplicate_layerPH);
    A_Err (*AEGP_GetLayerFromLayerID)(AEGP_CompH parent_compH, AEGP_LayerIDVal id,
                                      AEGP_LayerH* layerPH);
    A_Err (*AEGP_GetLayerLabel)(AEGP_LayerH layerH, AEGP_LabelID* labelP);
    A_Err (*AEGP_SetLayerLabel)(AEGP_LayerH layerH, AEGP_LabelID label);
} AEGP_LayerSuite7;

// ---------------------------------------------------------------------------------
// Effects applied to layers. Every effect reference handed out must be disposed with
// AEGP_DisposeEffect.

#define kAEGPEffectSuite "AEGP Effect Suite"
#define kAEGPEffectSuiteVersion2 2
#define kAEGPEffectSuiteVersion3 3

typedef struct AEGP_EffectSuite2 {
    A_Err (*AEGP_GetLayerNumEffects)(AEGP_LayerH layerH, A_long* num_effectsPL);
    A_Err (*AEGP_GetLayerEffectByIndex)(AEGP_PluginID aegp_plugin_id, AEGP_LayerH layerH,
                                        AEGP_EffectIndex layer_effect_index,
                                        AEGP_EffectRefH* effectPH);
    A_Err (*AEGP_GetInstalledKeyFromLayerEffect)(AEGP_EffectRefH effectH,
                                                 AEGP_InstalledEffectKey* installed_keyP);
    A_Err (*AEGP_GetEffectParamUnionByIndex)(AEGP_PluginID aegp_plugin_id, AEGP_EffectRefH effectH,
                                             PF_ParamIndex param_index, PF_ParamType* param_typeP,
                                             PF_ParamDefUnion* uP0);
    A_Err (*AEGP_GetEffectFlags)(AEGP_EffectRefH effectH, AEGP_EffectFlags* effect_flagsP);
    A_Err (*AEGP_SetEffectFlags)(AEGP_EffectRefH effectH, AEGP_EffectFlags mask,
                                 AEGP_EffectFlags effect_flags);
    A_Err (*AEGP_ReorderEffect)(AEGP_EffectRefH effectH, A_long effect_indexL);
    A_Err (*AEGP_EffectCallGeneric)(AEGP_PluginID aegp_plugin_id, AEGP_EffectRefH effectH,
                                    const A_Time* timePT, void* extraPV);
    A_Err (*AEGP_DisposeEffect)(AEGP_EffectRefH effectH);
    A_Err (*AEGP_ApplyEffect)(AEGP_PluginID aegp_plugin_id, AEGP_LayerH layerH,
                              AEGP_InstalledEffectKey installed_key, AEGP_EffectRefH* effect_refPH);
    A_Err (*AEGP_DeleteLayerEffect)(AEGP_EffectRefH effect_refH);
    A_Err (*AEGP_GetNumInstalledEffects)(A_long* num_installed_effectsPL);
    A_Err (*AEGP_GetNextInstalledEffect)(AEGP_InstalledEffectKey key,
                                         AEGP_InstalledEffectKey* next_keyPH);
    A_Err (*AEGP_GetEffectName)(AEGP_InstalledEffectKey installed_key, A_char* nameZ);
    A_Err (*AEGP_GetEffectMatchName)(AEGP_InstalledEffectKey installed_key, A_char* nameZ);
    A_Err (*AEGP_GetEffectCategory)(AEGP_InstalledEffectKey installed_key, A_char* categoryZ);
    A_Err (*AEGP_DuplicateEffect)(AEGP_EffectRefH original_effect_refH,
                                  AEGP_EffectRefH* duplicate_effect_refPH);
} AEGP_EffectSuite2;

typedef struct AEGP_EffectSuite3 {
    A_Err (*AEGP_GetLayerNumEffects)(AEGP_LayerH layerH, A_long* num_effectsPL);
    A_Err (*AEGP_GetLayerEffectByIndex)(AEGP_PluginID aegp_plugin_id, AEGP_LayerH layerH,
                                        AEGP_EffectIndex layer_effect_index,
                                        AEGP_EffectRefH* effectPH);
    A_Err (*AEGP_GetInstalledKeyFromLayerEffect)(AEGP_EffectRefH effectH,
                                                 AEGP_InstalledEffectKey* installed_keyP);
    A_Err (*AEGP_GetEffectParamUnionByIndex)(AEGP_PluginID aegp_plugin_id, AEGP_EffectRefH effectH,
                                             PF_ParamIndex param_index, PF_ParamType* param_typeP,
                                             PF_ParamDefUnion* uP0);
    A_Err (*AEGP_GetEffectFlags)(AEGP_EffectRefH effectH, AEGP_EffectFlags* effect_flagsP);
    A_Err (*AEGP_SetEffectFlags)(AEGP_EffectRefH effectH, AEGP_EffectFlags mask,
                                 AEGP_EffectFlags effect_flags);
    A_Err (*AEGP_ReorderEffect)(AEGP_EffectRefH effectH, A_long effect_indexL);
    A_Err (*AEGP_EffectCallGeneric)(AEGP_PluginID aegp_plugin_id, AEGP_EffectRefH effectH,
                                    const A_Time* timePT, PF_Cmd effect_cmd, void* extraPV);
    A_Err (*AEGP_DisposeEffect)(AEGP_EffectRefH effectH);
    A_Err (*AEGP_ApplyEffect)(AEGP_PluginID aegp_plugin_id, AEGP_LayerH layerH,
                              AEGP_InstalledEffectKey installed_key, AEGP_EffectRefH* effect_refPH);
    A_Err (*AEGP_DeleteLayerEffect)(AEGP_EffectRefH effect_refH);
    A_Err (*AEGP_GetNumInstalledEffects)(A_long* num_installed_effectsPL);
    A_Err (*AEGP_GetNextInstalledEffect)(AEGP_InstalledEffectKey key,
                                         AEGP_InstalledEffectKey* next_keyPH);
    A_Err (*AEGP_GetEffectName)(AEGP_InstalledEffectKey installed_key, A_char* nameZ);
    A_Err (*AEGP_GetEffectMatchName)(AEGP_InstalledEffectKey installed_key, A_char* nameZ);
    A_Err (*AEGP_GetEffectCategory)(AEGP_InstalledEffectKey installed_key, A_char* categoryZ);
    A_Err (*AEGP_DuplicateEffect)(AEGP_EffectRefH original_effect_refH,
                                  AEGP_EffectRefH* duplicate_effect_refPH);
} AEGP_EffectSuite3;

// ---------------------------------------------------------------------------------
// Streams. Numeric version 7 uses the older value record, 7 and 8 8-bit stream names,
// 7 to 9 8-bit expression text.

#define kAEGPStreamSuite "AEGP Stream Suite"
#define kAEGPStreamSuiteVersion2 7
#define kAEGPStreamSuiteVersion3 8
#define kAEGPStreamSuiteVersion4 9

typedef struct AEGP_StreamSuite2 {
    A_Err (*AEGP_IsStreamLegal)(AEGP_LayerH layerH, AEGP_LayerStream which_stream,
                                A_Boolean* is_legalP);
    A_Err (*AEGP_CanVaryOverTime)(AEGP_StreamRefH streamH, A_Boolean* can_varyPB);
    A_Err (*AEGP_GetValidInterpolations)(AEGP_StreamRefH streamH,
                                         AEGP_KeyInterpolationMask* valid_interpP);
    A_Err (*AEGP_GetNewLayerStream)(AEGP_PluginID aegp_plugin_id, AEGP_LayerH layerH,
                                    AEGP_LayerStream which_stream, AEGP_StreamRefH* streamPH);
    A_Err (*AEGP_GetEffectNumParamStreams)(AEGP_EffectRefH effect_refH, A_long* num_paramsPL);
    A_Err (*AEGP_GetNewEffectStreamByIndex)(AEGP_PluginID aegp_plugin_id,
                                            AEGP_EffectRefH effect_refH, PF_ParamIndex param_index,
                                            AEGP_StreamRefH* streamPH);
    A_Err (*AEGP_GetNewMaskStream)(AEGP_PluginID aegp_plugin_id, AEGP_MaskRefH mask_refH,
                                   AEGP_MaskStream which_stream, AEGP_StreamRefH* mask_strmPH);
    A_Err (*AEGP_DisposeStream)(AEGP_StreamRefH streamH);
    A_Err (*AEGP_GetStreamName)(AEGP_StreamRefH streamH, A_Boolean force_englishB, A_char* nameZ);
    A_Err (*AEGP_GetStreamUnitsText)(AEGP_StreamRefH streamH, A_Boolean force_englishB,
                                     A_char* unitsZ);
    A_Err (*AEGP_GetStreamProperties)(AEGP_StreamRefH streamH, AEGP_StreamFlags* flagsP,
                                      A_FpLong* minP0, A_FpLong* maxP0);
    A_Err (*AEGP_IsStreamTimevarying)(AEGP_StreamRefH streamH, A_Boolean* is_timevaryPB);
    A_Err (*AEGP_GetStreamType)(AEGP_StreamRefH streamH, AEGP_StreamType* stream_typeP);
    A_Err (*AEGP_GetNewStreamValue)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                    AEGP_LTimeMode time_mode, const A_Time* timePT,
                                    A_Boolean pre_expressionB, AEGP_StreamValue* valueP);
    A_Err (*AEGP_DisposeStreamValue)(AEGP_StreamValue* valueP);
    A_Err (*AEGP_SetStreamValue)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                 AEGP_StreamValue* valueP);
    A_Err (*AEGP_GetLayerStreamValue)(AEGP_LayerH layerH, AEGP_LayerStream which_stream,
                                      AEGP_LTimeMode time_mode, const A_Time* timePT,
                                      A_Boolean pre_expressionB, AEGP_StreamVal* stream_valP,
                                      AEGP_StreamType* stream_typeP0);
    A_Err (*AEGP_GetExpressionState)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                     A_Boolean* enabledPB);
    A_Err (*AEGP_SetExpressionState)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                     A_Boolean enabledB);
    A_Err (*AEGP_GetExpression)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                AEGP_MemHandle* expressionHZ);
    A_Err (*AEGP_SetExpression)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                const A_char* expressionP);
    A_Err (*AEGP_DuplicateStreamRef)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                     AEGP_StreamRefH* dup_streamPH);
} AEGP_StreamSuite2;

typedef struct AEGP_StreamSuite3 {
    A_Err (*AEGP_IsStreamLegal)(AEGP_LayerH layerH, AEGP_LayerStream which_stream,
                                A_Boolean* is_legalP);
    A_Err (*AEGP_CanVaryOverTime)(AEGP_StreamRefH streamH, A_Boolean* can_varyPB);
    A_Err (*AEGP_GetValidInterpolations)(AEGP_StreamRefH streamH,
                                         AEGP_KeyInterpolationMask* valid_interpP);
    A_Err (*AEGP_GetNewLayerStream)(AEGP_PluginID aegp_plugin_id, AEGP_LayerH layerH,
                                    AEGP_LayerStream which_stream, AEGP_StreamRefH* streamPH);
    A_Err (*AEGP_GetEffectNumParamStreams)(AEGP_EffectRefH effect_refH, A_long* num_paramsPL);
    A_Err (*AEGP_GetNewEffectStreamByIndex)(AEGP_PluginID aegp_plugin_id,
                                            AEGP_EffectRefH effect_refH, PF_ParamIndex param_index,
                                            AEGP_StreamRefH* streamPH);
    A_Err (*AEGP_GetNewMaskStream)(AEGP_PluginID aegp_plugin_id, AEGP_MaskRefH mask_refH,
                                   AEGP_MaskStream which_stream, AEGP_StreamRefH* mask_strmPH);
    A_Err (*AEGP_DisposeStream)(AEGP_StreamRefH streamH);
    A_Err (*AEGP_GetStreamName)(AEGP_StreamRefH streamH, A_Boolean force_englishB, A_char* nameZ);
    A_Err (*AEGP_GetStreamUnitsText)(AEGP_StreamRefH streamH, A_Boolean force_englishB,
                                     A_char* unitsZ);
    A_Err (*AEGP_GetStreamProperties)(AEGP_StreamRefH streamH, AEGP_StreamFlags* flagsP,
                                      A_FpLong* minP0, A_FpLong* maxP0);
    A_Err (*AEGP_IsStreamTimevarying)(AEGP_StreamRefH streamH, A_Boolean* is_timevaryPB);
    A_Err (*AEGP_GetStreamType)(AEGP_StreamRefH streamH, AEGP_StreamType* stream_typeP);
    A_Err (*AEGP_GetNewStreamValue)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                    AEGP_LTimeMode time_mode, const A_Time* timePT,
                                    A_Boolean pre_expressionB, AEGP_StreamValue2* valueP);
    A_Err (*AEGP_DisposeStreamValue)(AEGP_StreamValue2* valueP);
    A_Err (*AEGP_SetStreamValue)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                 AEGP_StreamValue2* valueP);
    A_Err (*AEGP_GetLayerStreamValue)(AEGP_LayerH layerH, AEGP_LayerStream which_stream,
                                      AEGP_LTimeMode time_mode, const A_Time* timePT,
                                      A_Boolean pre_expressionB, AEGP_StreamVal2* stream_valP,
                                      AEGP_StreamType* stream_typeP0);
    A_Err (*AEGP_GetExpressionState)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                     A_Boolean* enabledPB);
    A_Err (*AEGP_SetExpressionState)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                     A_Boolean enabledB);
    A_Err (*AEGP_GetExpression)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                AEGP_MemHandle* expressionHZ);
    A_Err (*AEGP_SetExpression)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                const A_char* expressionP);
    A_Err (*AEGP_DuplicateStreamRef)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                     AEGP_StreamRefH* dup_streamPH);
} AEGP_StreamSuite3;

typedef struct AEGP_StreamSuite4 {
    A_Err (*AEGP_IsStreamLegal)(AEGP_LayerH layerH, AEGP_LayerStream which_stream,
                                A_Boolean* is_legalP);
    // The stream can be keyframed at all.
    A_Err (*AEGP_CanVaryOverTime)(AEGP_StreamRefH streamH, A_Boolean* can_varyPB);
    A_Err (*AEGP_GetValidInterpolations)(AEGP_StreamRefH streamH,
                                         AEGP_KeyInterpolationMask* valid_interpP);
    A_Err (*AEGP_GetNewLayerStream)(AEGP_PluginID aegp_plugin_id, AEGP_LayerH layerH,
                                    AEGP_LayerStream which_stream, AEGP_StreamRefH* streamPH);
    // Counts the input layer at index 0.
    A_Err (*AEGP_GetEffectNumParamStreams)(AEGP_EffectRefH effect_refH, A_long* num_paramsPL);
    A_Err (*AEGP_GetNewEffectStreamByIndex)(AEGP_PluginID aegp_plugin_id,
                                            AEGP_EffectRefH effect_refH, PF_ParamIndex param_index,
                                            AEGP_StreamRefH* streamPH);
    A_Err (*AEGP_GetNewMaskStream)(AEGP_PluginID aegp_plugin_id, AEGP_MaskRefH mask_refH,
                                   AEGP_MaskStream which_stream, AEGP_StreamRefH* mask_strmPH);
    A_Err (*AEGP_DisposeStream)(AEGP_StreamRefH streamH);
    // UTF-16 name in a handle the caller frees with AEGP_FreeMemHandle.
    A_Err (*AEGP_GetStreamName)(AEGP_PluginID pluginID, AEGP_StreamRefH streamH,
                                A_Boolean force_englishB, AEGP_MemHandle* utf_stream_namePH);
    A_Err (*AEGP_GetStreamUnitsText)(AEGP_StreamRefH streamH, A_Boolean force_englishB,
                                     A_char* unitsZ);
    A_Err (*AEGP_GetStreamProperties)(AEGP_StreamRefH streamH, AEGP_StreamFlags* flagsP,
                                      A_FpLong* minP0, A_FpLong* maxP0);
    // Takes keyframes and expressions into account.
    A_Err (*AEGP_IsStreamTimevarying)(AEGP_StreamRefH streamH, A_Boolean* is_timevaryPB);
    A_Err (*AEGP_GetStreamType)(AEGP_StreamRefH streamH, AEGP_StreamType* stream_typeP);
    // pre_expressionB TRUE samples the value before the expression. Dispose the result.
    A_Err (*AEGP_GetNewStreamValue)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                    AEGP_LTimeMode time_mode, const A_Time* timePT,
                                    A_Boolean pre_expressionB, AEGP_StreamValue2* valueP);
    A_Err (*AEGP_DisposeStreamValue)(AEGP_StreamValue2* valueP);
    // Only legal on a stream without keyframes; the value is not adopted.
    A_Err (*AEGP_SetStreamValue)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                 AEGP_StreamValue2* valueP);
    A_Err (*AEGP_GetLayerStreamValue)(AEGP_LayerH layerH, AEGP_LayerStream which_stream,
                                      AEGP_LTimeMode time_mode, const A_Time* timePT,
                                      A_Boolean pre_expressionB, AEGP_StreamVal2* stream_valP,
                                      AEGP_StreamType* stream_typeP0);
    A_Err (*AEGP_GetExpressionState)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                     A_Boolean* enabledPB);
    A_Err (*AEGP_SetExpressionState)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                     A_Boolean enabledB);
    // 8-bit text in a handle the caller frees with AEGP_FreeMemHandle.
    A_Err (*AEGP_GetExpression)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                AEGP_MemHandle* expressionHZ);
    A_Err (*AEGP_SetExpression)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                const A_char* expressionP);
    A_Err (*AEGP_DuplicateStreamRef)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                     AEGP_StreamRefH* dup_streamPH);
} AEGP_StreamSuite4;

// ---------------------------------------------------------------------------------
// The stream tree (groups and their children).

#define kAEGPDynamicStreamSuite "AEGP Dynamic Stream Suite"
#define kAEGPDynamicStreamSuiteVersion4 5

typedef struct AEGP_DynamicStreamSuite4 {
    // Root of the layer's stream tree; caller disposes.
    A_Err (*AEGP_GetNewStreamRefForLayer)(AEGP_PluginID aegp_plugin_id, AEGP_LayerH layerH,
                                          AEGP_StreamRefH* streamPH);
    A_Err (*AEGP_GetNewStreamRefForMask)(AEGP_PluginID aegp_plugin_id, AEGP_MaskRefH maskH,
                                         AEGP_StreamRefH* streamPH);
    A_Err (*AEGP_GetStreamDepth)(AEGP_StreamRefH streamH, A_long* depthPL);
    A_Err (*AEGP_GetStreamGroupingType)(AEGP_StreamRefH streamH,
                                        AEGP_StreamGroupingType* group_typeP);
    A_Err (*AEGP_GetNumStreamsInGroup)(AEGP_StreamRefH streamH, A_long* num_streamsPL);
    A_Err (*AEGP_GetDynamicStreamFlags)(AEGP_StreamRefH streamH, AEGP_DynStreamFlags* flagsP);
    // One flag per call.
    A_Err (*AEGP_SetDynamicStreamFlag)(AEGP_StreamRefH streamH, AEGP_DynStreamFlags one_flag,
                                       A_Boolean undoableB, A_Boolean setB);
    A_Err (*AEGP_GetNewStreamRefByIndex)(AEGP_PluginID aegp_plugin_id,
                                         AEGP_StreamRefH parent_groupH, A_long indexL,
                                         AEGP_StreamRefH* streamPH);
    A_Err (*AEGP_GetNewStreamRefByMatchname)(AEGP_PluginID aegp_plugin_id,
                                             AEGP_StreamRefH parent_groupH,
                                             const A_char* utf8_match_nameZ,
                                             AEGP_StreamRefH* streamPH);
    A_Err (*AEGP_DeleteStream)(AEGP_StreamRefH streamH);
    A_Err (*AEGP_ReorderStream)(AEGP_StreamRefH streamH, A_long new_indexL);
    A_Err (*AEGP_DuplicateStream)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                  A_long* new_indexPL0);
    A_Err (*AEGP_SetStreamName)(AEGP_StreamRefH streamH, const A_UTF16Char* nameZ);
    A_Err (*AEGP_CanAddStream)(AEGP_StreamRefH group_streamH, const A_char* utf8_match_nameZ,
                               A_Boolean* can_addPB);
    A_Err (*AEGP_AddStream)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH indexed_group_streamH,
                            const A_char* utf8_match_nameZ, AEGP_StreamRefH* streamPH0);
    // UTF-8 into a buffer of AEGP_MAX_STREAM_MATCH_NAME_SIZE.
    A_Err (*AEGP_GetMatchName)(AEGP_StreamRefH streamH, A_char* utf8_match_nameZ);
    A_Err (*AEGP_GetNewParentStreamRef)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                        AEGP_StreamRefH* parent_streamPH);
    A_Err (*AEGP_GetStreamIsModified)(AEGP_StreamRefH streamH, A_Boolean* modifiedPB);
    A_Err (*AEGP_GetStreamIndexInParent)(AEGP_StreamRefH streamH, A_long* indexPL);
    A_Err (*AEGP_IsSeparationLeader)(AEGP_StreamRefH streamH, A_Boolean* leaderPB);
    A_Err (*AEGP_AreDimensionsSeparated)(AEGP_StreamRefH leader_streamH, A_Boolean* separatedPB);
    A_Err (*AEGP_SetDimensionsSeparated)(AEGP_StreamRefH leader_streamH, A_Boolean separatedB);
    A_Err (*AEGP_GetSeparationFollower)(AEGP_StreamRefH leader_streamH, A_short dimS,
                                        AEGP_StreamRefH* follower_streamPH);
    A_Err (*AEGP_IsSeparationFollower)(AEGP_StreamRefH streamH, A_Boolean* followerPB);
    A_Err (*AEGP_GetSeparationLeader)(AEGP_StreamRefH follower_streamH,
                                      AEGP_StreamRefH* leader_streamPH);
    A_Err (*AEGP_GetSeparationDimension)(AEGP_StreamRefH follower_streamH, A_short* dimPS);
} AEGP_DynamicStreamSuite4;

// ---------------------------------------------------------------------------------
// Keyframes.

#define kAEGPKeyframeSuite "AEGP Keyframe Suite"
#define kAEGPKeyframeSuiteVersion4 4

typedef struct AEGP_KeyframeSuite4 {
    // AEGP_NumKF_NO_DATA for streams without data.
    A_Err (*AEGP_GetStreamNumKFs)(AEGP_StreamRefH streamH, A_long* num_kfsPL);
    A_Err (*AEGP_GetKeyframeTime)(AEGP_StreamRefH streamH, AEGP_KeyframeIndex key_index,
                                  AEGP_LTimeMode time_mode, A_Time* timePT);
    A_Err (*AEGP_InsertKeyframe)(AEGP_StreamRefH streamH, AEGP_LTimeMode time_mode,
                                 const A_Time* timePT, AEGP_KeyframeIndex* key_indexP);
    A_Err (*AEGP_DeleteKeyframe)(AEGP_StreamRefH streamH, AEGP_KeyframeIndex key_index);
    A_Err (*AEGP_GetNewKeyframeValue)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                      AEGP_KeyframeIndex key_index, AEGP_StreamValue2* valueP);
    A_Err (*AEGP_SetKeyframeValue)(AEGP_StreamRefH streamH, AEGP_KeyframeIndex key_index,
                                   const AEGP_StreamValue2* valueP);
    A_Err (*AEGP_GetStreamValueDimensionality)(AEGP_StreamRefH streamH, A_short* value_dimPS);
    A_Err (*AEGP_GetStreamTemporalDimensionality)(AEGP_StreamRefH streamH, A_short* temporal_dimPS);
    A_Err (*AEGP_GetNewKeyframeSpatialTangents)(AEGP_PluginID aegp_plugin_id,
                                                AEGP_StreamRefH streamH,
                                                AEGP_KeyframeIndex key_index,
                                                AEGP_StreamValue2* in_tanP0,
                                                AEGP_StreamValue2* out_tanP0);
    A_Err (*AEGP_SetKeyframeSpatialTangents)(AEGP_StreamRefH streamH, AEGP_KeyframeIndex key_index,
                                             const AEGP_StreamValue2* in_tanP0,
                                             const AEGP_StreamValue2* out_tanP0);
    A_Err (*AEGP_GetKeyframeTemporalEase)(AEGP_StreamRefH streamH, AEGP_KeyframeIndex key_index,
                                          A_long dimensionL, AEGP_KeyframeEase* in_easeP0,
                                          AEGP_KeyframeEase* out_easeP0);
    A_Err (*AEGP_SetKeyframeTemporalEase)(AEGP_StreamRefH streamH, AEGP_KeyframeIndex key_index,
                                          A_long dimensionL, const AEGP_KeyframeEase* in_easeP0,
                                          const AEGP_KeyframeEase* out_easeP0);
    A_Err (*AEGP_GetKeyframeFlags)(AEGP_StreamRefH streamH, AEGP_KeyframeIndex key_index,
                                   AEGP_KeyframeFlags* flagsP);
    A_Err (*AEGP_SetKeyframeFlag)(AEGP_StreamRefH streamH, AEGP_KeyframeIndex key_index,
                                  AEGP_KeyframeFlags flag, A_Boolean valueB);
    A_Err (*AEGP_GetKeyframeInterpolation)(AEGP_StreamRefH streamH, AEGP_KeyframeIndex key_index,
                                           AEGP_KeyframeInterpolationType* in_interpP0,
                                           AEGP_KeyframeInterpolationType* out_interpP0);
    A_Err (*AEGP_SetKeyframeInterpolation)(AEGP_StreamRefH streamH, AEGP_KeyframeIndex key_index,
                                           AEGP_KeyframeInterpolationType in_interp,
                                           AEGP_KeyframeInterpolationType out_interp);
    // Batch insertion: Start, then AddKeyframes + SetAddKeyframe per key, then End.
    A_Err (*AEGP_StartAddKeyframes)(AEGP_StreamRefH streamH, AEGP_AddKeyframesInfoH* akPH);
    A_Err (*AEGP_AddKeyframes)(AEGP_AddKeyframesInfoH akH, AEGP_LTimeMode time_mode,
                               const A_Time* timePT, A_long* indexPL);
    A_Err (*AEGP_SetAddKeyframe)(AEGP_AddKeyframesInfoH akH, A_long indexL,
                                 const AEGP_StreamValue2* valueP);
    A_Err (*AEGP_EndAddKeyframes)(A_Boolean addB, AEGP_AddKeyframesInfoH akH);
} AEGP_KeyframeSuite4;

// ---------------------------------------------------------------------------------
// Compositions.

#define kAEGPCompSuite "AEGP Comp Suite"
#define kAEGPCompSuiteVersion5 11
#define kAEGPCompSuiteVersion7 15
#define kAEGPCompSuiteVersion8 18

// Numeric version 11: 8-bit names; no vector-layer creation.
typedef struct AEGP_CompSuite5 {
    A_Err (*AEGP_GetCompFromItem)(AEGP_ItemH itemH, AEGP_CompH* compPH);
    A_Err (*AEGP_GetItemFromComp)(AEGP_CompH compH, AEGP_ItemH* itemPH);
    A_Err (*AEGP_GetCompDownsampleFactor)(AEGP_CompH compH, AEGP_DownsampleFactor* dsfP);
    A_Err (*AEGP_SetCompDownsampleFactor)(AEGP_CompH compH, const AEGP_DownsampleFactor* dsfP);
    A_Err (*AEGP_GetCompBGColor)(AEGP_CompH compH, AEGP_ColorVal* bg_colorP);
    A_Err (*AEGP_SetCompBGColor)(AEGP_CompH compH, const AEGP_ColorVal* bg_colorP);
    A_Err (*AEGP_GetCompFlags)(AEGP_CompH compH, AEGP_CompFlags* comp_flagsP);
    A_Err (*AEGP_GetCompFramerate)(AEGP_CompH compH, A_FpLong* fpsPF);
    A_Err (*AEGP_SetCompFrameRate)(AEGP_CompH compH, const A_FpLong* fpsPF);
    A_Err (*AEGP_GetCompShutterAnglePhase)(AEGP_CompH compH, A_Ratio* angle, A_Ratio* phase);
    A_Err (*AEGP_GetCompShutterFrameRange)(AEGP_CompH compH, const A_Time* comp_timeP,
                                           A_Time* start, A_Time* duration);
    A_Err (*AEGP_GetCompWorkAreaStart)(AEGP_CompH compH, A_Time* work_area_startPT);
    A_Err (*AEGP_GetCompWorkAreaDuration)(AEGP_CompH compH, A_Time* work_area_durationPT);
    A_Err (*AEGP_SetCompWorkAreaStartAndDuration)(AEGP_CompH compH, A_Time* work_area_startPT,
                                                  A_Time* work_area_durationPT);
    A_Err (*AEGP_CreateSolidInComp)(const A_char* nameZ, A_long width, A_long height,
                                    const AEGP_ColorVal* color, AEGP_CompH parent_compH,
                                    const A_Time* durationPT0, AEGP_LayerH* new_solidPH);
    A_Err (*AEGP_CreateCameraInComp)(const A_char* nameZ, A_FloatPoint center_point,
                                     AEGP_CompH parent_compH, AEGP_LayerH* new_cameraPH);
    A_Err (*AEGP_CreateLightInComp)(const A_char* nameZ, A_FloatPoint center_point,
                                    AEGP_CompH parent_compH, AEGP_LayerH* new_lightPH);
    A_Err (*AEGP_CreateComp)(AEGP_ItemH parent_folderH0, const A_char* nameZ, A_long widthL,
                             A_long heightL, const A_Ratio* pixel_aspect_ratioPRt,
                             const A_Time* durationPT, const A_Ratio* frameratePRt,
                             AEGP_CompH* new_compPH);
    A_Err (*AEGP_GetNewCollectionFromCompSelection)(AEGP_PluginID plugin_id, AEGP_CompH compH,
                                                    AEGP_Collection2H* collectionPH);
    A_Err (*AEGP_SetSelection)(AEGP_CompH compH, AEGP_Collection2H collectionH);
    A_Err (*AEGP_GetCompDisplayStartTime)(AEGP_CompH compH, A_Time* start_timePT);
    A_Err (*AEGP_SetCompDisplayStartTime)(AEGP_CompH compH, const A_Time* start_timePT);
    A_Err (*AEGP_SetCompDuration)(AEGP_CompH compH, const A_Time* durationPT);
    A_Err (*AEGP_CreateNullInComp)(const A_char* nameZ, AEGP_CompH parent_compH,
                                   const A_Time* durationPT0, AEGP_LayerH* new_null_solidPH);
    A_Err (*AEGP_SetCompPixelAspectRatio)(AEGP_CompH compH, const A_Ratio* pix_aspectratioPRt);
    A_Err (*AEGP_CreateTextLayerInComp)(AEGP_CompH parent_compH, AEGP_LayerH* new_text_layerPH);
    A_Err (*AEGP_SetCompDimensions)(AEGP_CompH compH, A_long widthL, A_long heightL);
    A_Err (*AEGP_DuplicateComp)(AEGP_CompH compH, AEGP_CompH* new_compPH);
    A_Err (*AEGP_GetCompFrameDuration)(AEGP_CompH compH, A_Time* timeP);
    A_Err (*AEGP_GetMostRecentlyUsedComp)(AEGP_CompH* compPH);
} AEGP_CompSuite5;

// Numeric version 15: UTF-16 names, motion-blur samples, vector layers, marker stream.
typedef struct AEGP_CompSuite7 {
    A_Err (*AEGP_GetCompFromItem)(AEGP_ItemH itemH, AEGP_CompH* compPH);
    A_Err (*AEGP_GetItemFromComp)(AEGP_CompH compH, AEGP_ItemH* itemPH);
    A_Err (*AEGP_GetCompDownsampleFactor)(AEGP_CompH compH, AEGP_DownsampleFactor* dsfP);
    A_Err (*AEGP_SetCompDownsampleFactor)(AEGP_CompH compH, const AEGP_DownsampleFactor* dsfP);
    A_Err (*AEGP_GetCompBGColor)(AEGP_CompH compH, AEGP_ColorVal* bg_colorP);
    A_Err (*AEGP_SetCompBGColor)(AEGP_CompH compH, const AEGP_ColorVal* bg_colorP);
    A_Err (*AEGP_GetCompFlags)(AEGP_CompH compH, AEGP_CompFlags* comp_flagsP);
    A_Err (*AEGP_GetCompFramerate)(AEGP_CompH compH, A_FpLong* fpsPF);
    A_Err (*AEGP_SetCompFrameRate)(AEGP_CompH compH, const A_FpLong* fpsPF);
    A_Err (*AEGP_GetCompShutterAnglePhase)(AEGP_CompH compH, A_Ratio* angle, A_Ratio* phase);
    A_Err (*AEGP_GetCompShutterFrameRange)(AEGP_CompH compH, const A_Time* comp_timeP,
                                           A_Time* start, A_Time* duration);
    A_Err (*AEGP_GetCompSuggestedMotionBlurSamples)(AEGP_CompH compH, A_long* samplesPL);
    A_Err (*AEGP_SetCompSuggestedMotionBlurSamples)(AEGP_CompH compH, A_long samplesL);
    A_Err (*AEGP_GetCompWorkAreaStart)(AEGP_CompH compH, A_Time* work_area_startPT);
    A_Err (*AEGP_GetCompWorkAreaDuration)(AEGP_CompH compH, A_Time* work_area_durationPT);
    A_Err (*AEGP_SetCompWorkAreaStartAndDuration)(AEGP_CompH compH, const A_Time* work_area_startPT,
                                                  const A_Time* work_area_durationPT);
    A_Err (*AEGP_CreateSolidInComp)(const A_UTF16Char* utf_nameZ, A_long width, A_long height,
                                    const AEGP_ColorVal* color, AEGP_CompH parent_compH,
                                    const A_Time* durationPT0, AEGP_LayerH* new_solidPH);
    A_Err (*AEGP_CreateCameraInComp)(const A_UTF16Char* utf_nameZ, A_FloatPoint center_point,
                                     AEGP_CompH parent_compH, AEGP_LayerH* new_cameraPH);
    A_Err (*AEGP_CreateLightInComp)(const A_UTF16Char* utf_nameZ, A_FloatPoint center_point,
                                    AEGP_CompH parent_compH, AEGP_LayerH* new_lightPH);
    A_Err (*AEGP_CreateComp)(AEGP_ItemH parent_folderH0, const A_UTF16Char* utf_nameZ,
                             A_long widthL, A_long heightL, const A_Ratio* pixel_aspect_ratioPRt,
                             const A_Time* durationPT, const A_Ratio* frameratePRt,
                             AEGP_CompH* new_compPH);
    A_Err (*AEGP_GetNewCollectionFromCompSelection)(AEGP_PluginID plugin_id, AEGP_CompH compH,
                                                    AEGP_Collection2H* collectionPH);
    A_Err (*AEGP_SetSelection)(AEGP_CompH compH, AEGP_Collection2H collectionH);
    A_Err (*AEGP_GetCompDisplayStartTime)(AEGP_CompH compH, A_Time* start_timePT);
    A_Err (*AEGP_SetCompDisplayStartTime)(AEGP_CompH compH, const A_Time* start_timePT);
    A_Err (*AEGP_SetCompDuration)(AEGP_CompH compH, const A_Time* durationPT);
    A_Err (*AEGP_CreateNullInComp)(const A_UTF16Char* utf_nameZ, AEGP_CompH parent_compH,
                                   const A_Time* durationPT0, AEGP_LayerH* new_null_solidPH);
    A_Err (*AEGP_SetCompPixelAspectRatio)(AEGP_CompH compH, const A_Ratio* pix_aspectratioPRt);
    A_Err (*AEGP_CreateTextLayerInComp)(AEGP_CompH parent_compH, AEGP_LayerH* new_text_layerPH);
    A_Err (*AEGP_SetCompDimensions)(AEGP_CompH compH, A_long widthL, A_long heightL);
    A_Err (*AEGP_DuplicateComp)(AEGP_CompH compH, AEGP_CompH* new_compPH);
    A_Err (*AEGP_GetCompFrameDuration)(AEGP_CompH compH, A_Time* timeP);
    A_Err (*AEGP_GetMostRecentlyUsedComp)(AEGP_CompH* compPH);
    A_Err (*AEGP_CreateVectorLayerInComp)(AEGP_CompH parent_compH, AEGP_LayerH* new_vec_layerPH);
    A_Err (*AEGP_GetNewCompMarkerStream)(AEGP_PluginID aegp_plugin_id, AEGP_CompH parent_compH,
                                         AEGP_StreamRefH* streamPH);
} AEGP_CompSuite7;

// Numeric version 18: adds box text layers and drop-frame display.
typedef struct AEGP_CompSuite8 {
    A_Err (*AEGP_GetCompFromItem)(AEGP_ItemH itemH, AEGP_CompH* compPH);
    A_Err (*AEGP_GetItemFromComp)(AEGP_CompH compH, AEGP_ItemH* itemPH);
    A_Err (*AEGP_GetCompDownsampleFactor)(AEGP_CompH compH, AEGP_DownsampleFactor* dsfP);
    A_Err (*AEGP_SetCompDownsampleFactor)(AEGP_CompH compH, const AEGP_DownsampleFactor* dsfP);
    A_Err (*AEGP_GetCompBGColor)(AEGP_CompH compH, AEGP_ColorVal* bg_colorP);
    A_Err (*AEGP_SetCompBGColor)(AEGP_CompH compH, const AEGP_ColorVal* bg_colorP);
    A_Err (*AEGP_GetCompFlags)(AEGP_CompH compH, AEGP_CompFlags* comp_flagsP);
    A_Err (*AEGP_GetCompFramerate)(AEGP_CompH compH, A_FpLong* fpsPF);
    A_Err (*AEGP_SetCompFrameRate)(AEGP_CompH compH, const A_FpLong* fpsPF);
    A_Err (*AEGP_GetCompShutterAnglePhase)(AEGP_CompH compH, A_Ratio* angle, A_Ratio* phase);
    A_Err (*AEGP_GetCompShutterFrameRange)(AEGP_CompH compH, const A_Time* comp_timeP,
                                           A_Time* start, A_Time* duration);
    A_Err (*AEGP_GetCompSuggestedMotionBlurSamples)(AEGP_CompH compH, A_long* samplesPL);
    A_Err (*AEGP_SetCompSuggestedMotionBlurSamples)(AEGP_CompH compH, A_long samplesL);
    A_Err (*AEGP_GetCompWorkAreaStart)(AEGP_CompH compH, A_Time* work_area_startPT);
    A_Err (*AEGP_GetCompWorkAreaDuration)(AEGP_CompH compH, A_Time* work_area_durationPT);
    A_Err (*AEGP_SetCompWorkAreaStartAndDuration)(AEGP_CompH compH, const A_Time* work_area_startPT,
                                                  const A_Time* work_area_durationPT);
    A_Err (*AEGP_CreateSolidInComp)(const A_UTF16Char* utf_nameZ, A_long width, A_long height,
                                    const AEGP_ColorVal* color, AEGP_CompH parent_compH,
                                    const A_Time* durationPT0, AEGP_LayerH* new_solidPH);
    A_Err (*AEGP_CreateCameraInComp)(const A_UTF16Char* utf_nameZ, A_FloatPoint center_point,
                                     AEGP_CompH parent_compH, AEGP_LayerH* new_cameraPH);
    A_Err (*AEGP_CreateLightInComp)(const A_UTF16Char* utf_nameZ, A_FloatPoint center_point,
                                    AEGP_CompH parent_compH, AEGP_LayerH* new_lightPH);
    A_Err (*AEGP_CreateComp)(AEGP_ItemH parent_folderH0, const A_UTF16Char* utf_nameZ,
                             A_long widthL, A_long heightL, const A_Ratio* pixel_aspect_ratioPRt,
                             const A_Time* durationPT, const A_Ratio* frameratePRt,
                             AEGP_CompH* new_compPH);
    A_Err (*AEGP_GetNewCollectionFromCompSelection)(AEGP_PluginID plugin_id, AEGP_CompH compH,
                                                    AEGP_Collection2H* collectionPH);
    A_Err (*AEGP_SetSelection)(AEGP_CompH compH, AEGP_Collection2H collectionH);
    A_Err (*AEGP_GetCompDisplayStartTime)(AEGP_CompH compH, A_Time* start_timePT);
    A_Err (*AEGP_SetCompDisplayStartTime)(AEGP_CompH compH, const A_Time* start_timePT);
    A_Err (*AEGP_SetCompDuration)(AEGP_CompH compH, const A_Time* durationPT);
    A_Err (*AEGP_CreateNullInComp)(const A_UTF16Char* utf_nameZ, AEGP_CompH parent_compH,
                                   const A_Time* durationPT0, AEGP_LayerH* new_null_solidPH);
    A_Err (*AEGP_SetCompPixelAspectRatio)(AEGP_CompH compH, const A_Ratio* pix_aspectratioPRt);
    A_Err (*AEGP_CreateTextLayerInComp)(AEGP_CompH parent_compH, AEGP_LayerH* new_text_layerPH);
    A_Err (*AEGP_CreateBoxTextLayerInComp)(AEGP_CompH parent_compH, A_FloatPoint box_dimensions,
                                           AEGP_LayerH* new_text_layerPH);
    A_Err (*AEGP_SetCompDimensions)(AEGP_CompH compH, A_long widthL, A_long heightL);
    A_Err (*AEGP_DuplicateComp)(AEGP_CompH compH, AEGP_CompH* new_compPH);
    A_Err (*AEGP_GetCompFrameDuration)(AEGP_CompH compH, A_Time* timeP);
    A_Err (*AEGP_GetMostRecentlyUsedComp)(AEGP_CompH* compPH);
    A_Err (*AEGP_CreateVectorLayerInComp)(AEGP_CompH parent_compH, AEGP_LayerH* new_vec_layerPH);
    A_Err (*AEGP_GetNewCompMarkerStream)(AEGP_PluginID aegp_plugin_id, AEGP_CompH parent_compH,
                                         AEGP_StreamRefH* streamPH);
    A_Err (*AEGP_GetCompDisplayDropFrame)(AEGP_CompH compH, A_Boolean* dropFramePB);
    A_Err (*AEGP_SetCompDisplayDropFrame)(AEGP_CompH compH, A_Boolean dropFrameB);
} AEGP_CompSuite8;

// ---------------------------------------------------------------------------------
// Collections. Stream references pushed into a collection are owned by it; effect
// references are not.

#define kAEGPCollectionSuite "AEGP Collection Suite"
#define kAEGPCollectionSuiteVersion2 2

typedef struct AEGP_CollectionSuite2 {
    A_Err (*AEGP_NewCollection)(AEGP_PluginID plugin_id, AEGP_Collection2H* collectionPH);
    A_Err (*AEGP_DisposeCollection)(AEGP_Collection2H collectionH);
    A_Err (*AEGP_GetCollectionNumItems)(AEGP_Collection2H collectionH, A_u_long* num_itemsPL);
    A_Err (*AEGP_GetCollectionItemByIndex)(AEGP_Collection2H collectionH, A_u_long indexL,
                                           AEGP_CollectionItemV2* collection_itemP);
    A_Err (*AEGP_CollectionPushBack)(AEGP_Collection2H collectionH,
                                     const AEGP_CollectionItemV2* collection_itemP);
    // Erases the half-open index range [index_firstL, index_lastL).
    A_Err (*AEGP_CollectionErase)(AEGP_Collection2H collectionH, A_u_long index_firstL,
                                  A_u_long index_lastL);
} AEGP_CollectionSuite2;

// ---------------------------------------------------------------------------------
// Project items.

#define kAEGPItemSuite "AEGP Item Suite"
#define kAEGPItemSuiteVersion8 13

typedef struct AEGP_ItemSuite8 {
    A_Err (*AEGP_GetFirstProjItem)(AEGP_ProjectH projectH, AEGP_ItemH* itemPH);
    // The result becomes NULL after the last item.
    A_Err (*AEGP_GetNextProjItem)(AEGP_ProjectH projectH, AEGP_ItemH itemH,
                                  AEGP_ItemH* next_itemPH);
    A_Err (*AEGP_GetActiveItem)(AEGP_ItemH* itemPH);
    A_Err (*AEGP_IsItemSelected)(AEGP_ItemH itemH, A_Boolean* selectedPB);
    A_Err (*AEGP_SelectItem)(AEGP_ItemH itemH, A_Boolean selectB, A_Boolean deselect_othersB);
    A_Err (*AEGP_GetItemType)(AEGP_ItemH itemH, AEGP_ItemType* item_type);
    A_Err (*AEGP_GetTypeName)(AEGP_ItemType item_type, A_char* nameZ);
    // UTF-16 name in a handle the caller frees with AEGP_FreeMemHandle.
    A_Err (*AEGP_GetItemName)(AEGP_PluginID pluginID, AEGP_ItemH itemH,
                              AEGP_MemHandle* unicode_namePH);
    A_Err (*AEGP_SetItemName)(AEGP_ItemH itemH, const A_UTF16Char* nameZ);
    A_Err (*AEGP_GetItemID)(AEGP_ItemH itemH, A_long* item_id);
    A_Err (*AEGP_GetItemFlags)(AEGP_ItemH itemH, AEGP_ItemFlags* item_flags);
    A_Err (*AEGP_SetItemUseProxy)(AEGP_ItemH itemH, A_Boolean use_proxyB);
    A_Err (*AEGP_GetItemParentFolder)(AEGP_ItemH itemH, AEGP_ItemH* parent_folder_itemPH);
    A_Err (*AEGP_SetItemParentFolder)(AEGP_ItemH itemH, AEGP_ItemH parent_folder_itemH);
    A_Err (*AEGP_GetItemDuration)(AEGP_ItemH itemH, A_Time* durationPT);
    A_Err (*AEGP_GetItemCurrentTime)(AEGP_ItemH itemH, A_Time* curr_timePT);
    A_Err (*AEGP_GetItemDimensions)(AEGP_ItemH itemH, A_long* widthPL, A_long* heightPL);
    A_Err (*AEGP_GetItemPixelAspectRatio)(AEGP_ItemH itemH, A_Ratio* pix_aspect_ratioPRt);
    A_Err (*AEGP_DeleteItem)(AEGP_ItemH itemH);
    A_Err (*AEGP_CreateNewFolder)(const A_UTF16Char* nameZ, AEGP_ItemH parent_folderH0,
                                  AEGP_ItemH* new_folderPH);
    A_Err (*AEGP_SetItemCurrentTime)(AEGP_ItemH itemH, const A_Time* new_timePT);
    A_Err (*AEGP_GetItemCommentLength)(AEGP_ItemH itemH, A_u_long* buf_sizePLu);
    A_Err (*AEGP_GetItemComment)(AEGP_ItemH itemH, A_u_long buf_sizeLu, A_char* commentZ);
    A_Err (*AEGP_SetItemComment)(AEGP_ItemH itemH, const A_char* commentZ);
    A_Err (*AEGP_GetItemLabel)(AEGP_ItemH itemH, AEGP_LabelID* labelP);
    A_Err (*AEGP_SetItemLabel)(AEGP_ItemH itemH, AEGP_LabelID label);
    A_Err (*AEGP_GetItemMRUView)(AEGP_ItemH itemH, AEGP_ItemViewP* mru_viewP);
} AEGP_ItemSuite8;

// ---------------------------------------------------------------------------------
// Projects. The host has one open project: index 0.

#define kAEGPProjSuite "AEGP Proj Suite"
#define kAEGPProjSuiteVersion5 8

typedef struct AEGP_ProjSuite5 {
    A_Err (*AEGP_GetNumProjects)(A_long* num_projPL);
    A_Err (*AEGP_GetProjectByIndex)(A_long proj_indexL, AEGP_ProjectH* projPH);
    A_Err (*AEGP_GetProjectName)(AEGP_ProjectH projH, A_char* nameZ);
    A_Err (*AEGP_GetProjectPath)(AEGP_ProjectH projH, AEGP_MemHandle* unicode_pathPH);
    A_Err (*AEGP_GetProjectRootFolder)(AEGP_ProjectH projH, AEGP_ItemH* root_folderPH);
    A_Err (*AEGP_SaveProjectToPath)(AEGP_ProjectH projH, const A_UTF16Char* pathZ);
    A_Err (*AEGP_GetProjectTimeDisplay)(AEGP_ProjectH projH, AEGP_TimeDisplay2* time_displayP);
    A_Err (*AEGP_SetProjectTimeDisplay)(AEGP_ProjectH projH,
                                        const AEGP_TimeDisplay2* time_displayP);
    A_Err (*AEGP_ProjectIsDirty)(AEGP_ProjectH projH, A_Boolean* is_dirtyPB);
    A_Err (*AEGP_SaveProjectAs)(AEGP_ProjectH projH, const A_UTF16Char* pathZ);
    A_Err (*AEGP_NewProject)(AEGP_ProjectH* new_projectPH);
    A_Err (*AEGP_OpenProjectFromPath)(const A_UTF16Char* pathZ, AEGP_ProjectH* projectPH);
    A_Err (*AEGP_GetProjectBitDepth)(AEGP_ProjectH projectH, AEGP_ProjBitDepth* bit_depthP);
    A_Err (*AEGP_SetProjectBitDepth)(AEGP_ProjectH projectH, AEGP_ProjBitDepth bit_depth);
} AEGP_ProjSuite5;

// ---------------------------------------------------------------------------------
// Mask outlines. Closed paths repeat vertex 0 as vertex num_segments.

#define kAEGPMaskOutlineSuite "AEGP Mask Outline Suite"
#define kAEGPMaskOutlineSuiteVersion2 3

typedef struct AEGP_MaskOutlineSuite2 {
    A_Err (*AEGP_IsMaskOutlineOpen)(AEGP_MaskOutlineValH mask_outlineH, A_Boolean* openPB);
    A_Err (*AEGP_SetMaskOutlineOpen)(AEGP_MaskOutlineValH mask_outlineH, A_Boolean openB);
    A_Err (*AEGP_GetMaskOutlineNumSegments)(AEGP_MaskOutlineValH mask_outlineH,
                                            A_long* num_segmentsPL);
    A_Err (*AEGP_GetMaskOutlineVertexInfo)(AEGP_MaskOutlineValH mask_outlineH,
                                           AEGP_VertexIndex which_pointL, AEGP_MaskVertex* vertexP);
    A_Err (*AEGP_SetMaskOutlineVertexInfo)(AEGP_MaskOutlineValH mask_outlineH,
                                           AEGP_VertexIndex which_pointL,
                                           const AEGP_MaskVertex* vertexP);
    // Inserts a vertex at the index; later indices move up by one.
    A_Err (*AEGP_CreateVertex)(AEGP_MaskOutlineValH mask_outlineH,
                               AEGP_VertexIndex insert_position);
    A_Err (*AEGP_DeleteVertex)(AEGP_MaskOutlineValH mask_outlineH, AEGP_VertexIndex index);
} AEGP_MaskOutlineSuite2;

// ---------------------------------------------------------------------------------
// Host memory handles (also used for strings the host returns).

#define kAEGPMemorySuite "AEGP Memory Suite"
#define kAEGPMemorySuiteVersion1 1

typedef struct AEGP_MemorySuite1 {
    A_Err (*AEGP_NewMemHandle)(AEGP_PluginID plugin_id, const A_char* whatZ, AEGP_MemSize size,
                               AEGP_MemFlag flags, AEGP_MemHandle* memPH);
    A_Err (*AEGP_FreeMemHandle)(AEGP_MemHandle memH);
    // Nestable; balance every lock with an unlock.
    A_Err (*AEGP_LockMemHandle)(AEGP_MemHandle memH, void** ptr_to_ptr);
    A_Err (*AEGP_UnlockMemHandle)(AEGP_MemHandle memH);
    A_Err (*AEGP_GetMemHandleSize)(AEGP_MemHandle memH, AEGP_MemSize* sizeP);
    A_Err (*AEGP_ResizeMemHandle)(const A_char* whatZ, AEGP_MemSize new_size, AEGP_MemHandle memH);
    A_Err (*AEGP_SetMemReportingOn)(A_Boolean turn_OnB);
    A_Err (*AEGP_GetMemStats)(AEGP_PluginID plugin_id, A_long* countPL, A_long* sizePL);
} AEGP_MemorySuite1;

#ifdef __cplusplus
}
#endif

#endif  // TL_SDK_AE_GENERALPLUG_H
