// "AEGP Layer Suite" v11 (8-bit names) and v13 (UTF-16 names in memory handles):
// layers, their order, ids, flags, times and names.
#include <algorithm>
#include <cstring>

#include "core/Boundary.h"
#include "suites/Objects.h"
#include "suites/Tables.h"

namespace tlhost {

namespace {

A_Err GetCompNumLayers(AEGP_CompH compH, A_long* num) {
    return Serve("AEGP_GetCompNumLayers", [&](Host& host) -> A_Err {
        Require(num, "count place");
        *num = static_cast<A_long>(CompOf(host, compH).layers().size());
        return A_Err_NONE;
    });
}

A_Err GetCompLayerByIndex(AEGP_CompH compH, A_long index, AEGP_LayerH* layerPH) {
    return Serve("AEGP_GetCompLayerByIndex", [&](Host& host) -> A_Err {
        Require(layerPH, "layer place");
        const auto& layers = CompOf(host, compH).layers();
        if (index < 0 || static_cast<std::size_t>(index) >= layers.size()) Refuse(A_Err_PARAMETER);
        *layerPH = HandleOf(*layers[static_cast<std::size_t>(index)]);
        return A_Err_NONE;
    });
}

A_Err GetLayerIndex(AEGP_LayerH layerH, A_long* index) {
    return Serve("AEGP_GetLayerIndex", [&](Host& host) -> A_Err {
        Require(index, "index place");
        Layer& layer = LayerOf(host, layerH);
        *index = static_cast<A_long>(layer.comp().IndexOf(layer));
        return A_Err_NONE;
    });
}

A_Err GetLayerParentComp(AEGP_LayerH layerH, AEGP_CompH* compPH) {
    return Serve("AEGP_GetLayerParentComp", [&](Host& host) -> A_Err {
        Require(compPH, "composition place");
        *compPH = HandleOf(LayerOf(host, layerH).comp());
        return A_Err_NONE;
    });
}

A_Err GetLayerFlags(AEGP_LayerH layerH, AEGP_LayerFlags* flags) {
    return Serve("AEGP_GetLayerFlags", [&](Host& host) -> A_Err {
        Require(flags, "flags place");
        *flags = LayerOf(host, layerH).flags();
        return A_Err_NONE;
    });
}

A_Err SetLayerFlag(AEGP_LayerH layerH, AEGP_LayerFlags flag, A_Boolean value) {
    return Serve("AEGP_SetLayerFlag", [&](Host& host) -> A_Err {
        if (flag == 0 || (flag & (flag - 1)) != 0) Breach(A_Err_PARAMETER, "not exactly one flag");
        Layer& layer = LayerOf(host, layerH);
        layer.set_flags(value ? (layer.flags() | flag) : (layer.flags() & ~flag));
        return A_Err_NONE;
    });
}

A_Err GetLayerInPoint(AEGP_LayerH layerH, AEGP_LTimeMode mode, A_Time* time) {
    return Serve("AEGP_GetLayerInPoint", [&](Host& host) -> A_Err {
        Require(time, "time place");
        Layer& layer = LayerOf(host, layerH);
        // In layer time the in point is always 0.
        *time = mode == AEGP_LTimeMode_LayerTime ? A_Time{0, layer.in_point.scale} : layer.in_point;
        return A_Err_NONE;
    });
}

A_Err GetLayerDuration(AEGP_LayerH layerH, AEGP_LTimeMode, A_Time* time) {
    return Serve("AEGP_GetLayerDuration", [&](Host& host) -> A_Err {
        Require(time, "time place");
        *time = LayerOf(host, layerH).duration;
        return A_Err_NONE;
    });
}

A_Err GetLayerObjectType(AEGP_LayerH layerH, AEGP_ObjectType* type) {
    return Serve("AEGP_GetLayerObjectType", [&](Host& host) -> A_Err {
        Require(type, "type place");
        *type = ObjectTypeOf(LayerOf(host, layerH).kind());
        return A_Err_NONE;
    });
}

A_Err GetLayerID(AEGP_LayerH layerH, AEGP_LayerIDVal* id) {
    return Serve("AEGP_GetLayerID", [&](Host& host) -> A_Err {
        Require(id, "id place");
        *id = LayerOf(host, layerH).id();
        return A_Err_NONE;
    });
}

A_Err GetLayerFromLayerID(AEGP_CompH compH, AEGP_LayerIDVal id, AEGP_LayerH* layerPH) {
    return Serve("AEGP_GetLayerFromLayerID", [&](Host& host) -> A_Err {
        Require(layerPH, "layer place");
        Composition& comp = CompOf(host, compH);
        Layer* layer = host.project().FindLayer(id);
        if (!layer || &layer->comp() != &comp) Refuse(A_Err_PARAMETER);
        *layerPH = HandleOf(*layer);
        return A_Err_NONE;
    });
}

// Copies a name into a caller buffer of AEGP_MAX_LAYER_NAME_SIZE, cut to fit as the
// host does.
void CopyName(const std::string& name, A_char* buffer) {
    if (!buffer) return;
    const std::size_t n = std::min(name.size(), std::size_t{AEGP_MAX_LAYER_NAME_SIZE - 1});
    std::memcpy(buffer, name.data(), n);
    buffer[n] = '\0';
}

A_Err GetLayerName8(AEGP_LayerH layerH, A_char* name, A_char* source_name) {
    return Serve("AEGP_GetLayerName", [&](Host& host) -> A_Err {
        Layer& layer = LayerOf(host, layerH);
        CopyName(layer.name(), name);
        CopyName(std::string(), source_name);
        return A_Err_NONE;
    });
}

A_Err GetLayerName16(AEGP_PluginID, AEGP_LayerH layerH, AEGP_MemHandle* name,
                     AEGP_MemHandle* source_name) {
    return Serve("AEGP_GetLayerName", [&](Host& host) -> A_Err {
        Layer& layer = LayerOf(host, layerH);
        if (name) *name = NewMemHandle(host, Utf16Bytes(layer.name()), "layer name");
        if (source_name) *source_name = NewMemHandle(host, Utf16Bytes(""), "layer source name");
        return A_Err_NONE;
    });
}

A_Err SetLayerName8(AEGP_LayerH layerH, const A_char* name) {
    return Serve("AEGP_SetLayerName", [&](Host& host) -> A_Err {
        Require(name, "name");
        LayerOf(host, layerH).set_name(name);
        return A_Err_NONE;
    });
}

// The slots both layer-suite versions have alike; the versions differ in how names are passed.
template <class Suite>
void FillSharedLayerSlots(Suite& s) {
    s.AEGP_GetCompNumLayers = GetCompNumLayers;
    s.AEGP_GetCompLayerByIndex = GetCompLayerByIndex;
    TL_DECLINE(s, AEGP_GetActiveLayer);
    s.AEGP_GetLayerIndex = GetLayerIndex;
    TL_DECLINE(s, AEGP_GetLayerSourceItem);
    TL_DECLINE(s, AEGP_GetLayerSourceItemID);
    s.AEGP_GetLayerParentComp = GetLayerParentComp;
    TL_DECLINE(s, AEGP_GetLayerQuality);
    TL_DECLINE(s, AEGP_SetLayerQuality);
    s.AEGP_GetLayerFlags = GetLayerFlags;
    s.AEGP_SetLayerFlag = SetLayerFlag;
    TL_DECLINE(s, AEGP_IsLayerVideoReallyOn);
    TL_DECLINE(s, AEGP_IsLayerAudioReallyOn);
    TL_DECLINE(s, AEGP_GetLayerCurrentTime);
    s.AEGP_GetLayerInPoint = GetLayerInPoint;
    s.AEGP_GetLayerDuration = GetLayerDuration;
    TL_DECLINE(s, AEGP_SetLayerInPointAndDuration);
    TL_DECLINE(s, AEGP_GetLayerOffset);
    TL_DECLINE(s, AEGP_SetLayerOffset);
    TL_DECLINE(s, AEGP_GetLayerStretch);
    TL_DECLINE(s, AEGP_SetLayerStretch);
    TL_DECLINE(s, AEGP_GetLayerTransferMode);
    TL_DECLINE(s, AEGP_SetLayerTransferMode);
    TL_DECLINE(s, AEGP_IsAddLayerValid);
    TL_DECLINE(s, AEGP_AddLayer);
    TL_DECLINE(s, AEGP_ReorderLayer);
    TL_DECLINE(s, AEGP_GetLayerMaskedBounds);
    s.AEGP_GetLayerObjectType = GetLayerObjectType;
    TL_DECLINE(s, AEGP_IsLayer3D);
    TL_DECLINE(s, AEGP_IsLayer2D);
    TL_DECLINE(s, AEGP_IsVideoActive);
    TL_DECLINE(s, AEGP_IsLayerUsedAsTrackMatte);
    TL_DECLINE(s, AEGP_DoesLayerHaveTrackMatte);
    TL_DECLINE(s, AEGP_ConvertCompToLayerTime);
    TL_DECLINE(s, AEGP_ConvertLayerToCompTime);
    TL_DECLINE(s, AEGP_GetLayerDancingRandValue);
    s.AEGP_GetLayerID = GetLayerID;
    TL_DECLINE(s, AEGP_GetLayerToWorldXform);
    TL_DECLINE(s, AEGP_GetLayerToWorldXformFromView);
    TL_DECLINE(s, AEGP_GetLayerParent);
    TL_DECLINE(s, AEGP_SetLayerParent);
    TL_DECLINE(s, AEGP_DeleteLayer);
    TL_DECLINE(s, AEGP_DuplicateLayer);
    s.AEGP_GetLayerFromLayerID = GetLayerFromLayerID;
}

AEGP_LayerSuite5 MakeLayerSuite5() {
    AEGP_LayerSuite5 s{};
    FillSharedLayerSlots(s);
    s.AEGP_GetLayerName = GetLayerName8;
    s.AEGP_SetLayerName = SetLayerName8;
    return s;
}

AEGP_LayerSuite7 MakeLayerSuite7() {
    AEGP_LayerSuite7 s{};
    FillSharedLayerSlots(s);
    s.AEGP_GetLayerName = GetLayerName16;
    TL_DECLINE(s, AEGP_SetLayerName);
    TL_DECLINE(s, AEGP_GetLayerLabel);
    TL_DECLINE(s, AEGP_SetLayerLabel);
    return s;
}

}  // namespace

const AEGP_LayerSuite5* LayerSuite5Table() {
    static const AEGP_LayerSuite5 table = MakeLayerSuite5();
    return &table;
}

const AEGP_LayerSuite7* LayerSuite7Table() {
    static const AEGP_LayerSuite7 table = MakeLayerSuite7();
    return &table;
}

}  // namespace tlhost
