// "AEGP Layer Suite" v11 (8-bit names) and v13 (UTF-16 names in memory handles):
// layers, their order, ids, flags, times, names and sources.
//
// The host's rules as the stand-in keeps them:
//   - AEGP_AddLayer puts a layer showing the item on top of the composition
//     (Project::AddLayerShowing); a folder, or a composition that would show itself, is
//     A_Err_PARAMETER (AEGP_IsAddLayerValid answers false for them);
//   - a layer's source name is its source item's name (empty without a source);
//   - setting the 3D flag gives the layer a 3D transform (orientation, X, Y and Z rotation),
//     clearing it takes those away again (Project::SetLayer3D);
//   - names set through v11 are 8-bit text kept as given; setting a name or a flag is logged
//     as a change of an open undo group.
#include <algorithm>
#include <cstdio>
#include <string>
#include <cstring>

#include "core/Boundary.h"
#include "suites/Objects.h"
#include "suites/Tables.h"

namespace tlhost {

namespace {

std::string ToHex(AEGP_LayerFlags flag) {
    char text[16];
    std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(flag));
    return text;
}

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
        const Composition& comp = CompOf(host, compH);
        const auto& layers = comp.layers();
        if (index < 0 || static_cast<std::size_t>(index) >= layers.size()) Refuse(A_Err_PARAMETER);
        host.project().FetchLayersAhead(comp, static_cast<std::size_t>(index));
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
        const AEGP_LayerFlags was = layer.flags();
        if (flag == AEGP_LayerFlag_LAYER_IS_3D) {
            if ((value != 0) != layer.is_3d()) host.project().SetLayer3D(layer, value != 0);
        } else {
            layer.set_flags(value ? (layer.flags() | flag) : (layer.flags() & ~flag));
        }
        if (layer.flags() != was) {
            host.project().NoteChange(layer.comp().name() + " > " + layer.name() + ": flag 0x" +
                                      ToHex(flag) + (value ? " set" : " cleared"));
        }
        return A_Err_NONE;
    });
}

A_Err IsLayer3D(AEGP_LayerH layerH, A_Boolean* is_3d) {
    return Serve("AEGP_IsLayer3D", [&](Host& host) -> A_Err {
        Require(is_3d, "result place");
        *is_3d = LayerOf(host, layerH).is_3d() ? TRUE : FALSE;
        return A_Err_NONE;
    });
}

A_Err IsLayer2D(AEGP_LayerH layerH, A_Boolean* is_2d) {
    return Serve("AEGP_IsLayer2D", [&](Host& host) -> A_Err {
        Require(is_2d, "result place");
        *is_2d = LayerOf(host, layerH).is_3d() ? FALSE : TRUE;
        return A_Err_NONE;
    });
}

A_Err GetLayerSourceItem(AEGP_LayerH layerH, AEGP_ItemH* itemPH) {
    return Serve("AEGP_GetLayerSourceItem", [&](Host& host) -> A_Err {
        Require(itemPH, "item place");
        Item* source = LayerOf(host, layerH).source();
        *itemPH = source ? HandleOf(*source) : nullptr;
        return A_Err_NONE;
    });
}

A_Err GetLayerSourceItemID(AEGP_LayerH layerH, A_long* id) {
    return Serve("AEGP_GetLayerSourceItemID", [&](Host& host) -> A_Err {
        Require(id, "id place");
        const Item* source = LayerOf(host, layerH).source();
        *id = source ? source->id() : 0;
        return A_Err_NONE;
    });
}

A_Err IsAddLayerValid(AEGP_ItemH itemH, AEGP_CompH compH, A_Boolean* valid) {
    return Serve("AEGP_IsAddLayerValid", [&](Host& host) -> A_Err {
        Require(valid, "result place");
        *valid =
            host.project().CanAddLayer(ItemOf(host, itemH), CompOf(host, compH)) ? TRUE : FALSE;
        return A_Err_NONE;
    });
}

A_Err AddLayer(AEGP_ItemH itemH, AEGP_CompH compH, AEGP_LayerH* layerPH) {
    return Serve("AEGP_AddLayer", [&](Host& host) -> A_Err {
        Item& item = ItemOf(host, itemH);
        Composition& comp = CompOf(host, compH);
        if (!host.project().CanAddLayer(item, comp)) Refuse(A_Err_PARAMETER);
        Layer& layer = host.project().AddLayerShowing(comp, item);
        host.project().NoteChange(comp.name() + " > " + layer.name() + ": layer added");
        // The new layer's place may be left out.
        if (layerPH) *layerPH = HandleOf(layer);
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
        host.project().FetchLayersAhead(*layer);
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

std::string SourceName(const Layer& layer) {
    return layer.source() ? layer.source()->name() : std::string();
}

A_Err GetLayerName8(AEGP_LayerH layerH, A_char* name, A_char* source_name) {
    return Serve("AEGP_GetLayerName", [&](Host& host) -> A_Err {
        Layer& layer = LayerOf(host, layerH);
        CopyName(layer.name(), name);
        CopyName(SourceName(layer), source_name);
        return A_Err_NONE;
    });
}

A_Err GetLayerName16(AEGP_PluginID, AEGP_LayerH layerH, AEGP_MemHandle* name,
                     AEGP_MemHandle* source_name) {
    return Serve("AEGP_GetLayerName", [&](Host& host) -> A_Err {
        Layer& layer = LayerOf(host, layerH);
        if (name) *name = NewMemHandle(host, Utf16Bytes(layer.name()), "layer name");
        if (source_name) {
            *source_name = NewMemHandle(host, Utf16Bytes(SourceName(layer)), "layer source name");
        }
        return A_Err_NONE;
    });
}

A_Err SetLayerName8(AEGP_LayerH layerH, const A_char* name) {
    return Serve("AEGP_SetLayerName", [&](Host& host) -> A_Err {
        Require(name, "name");
        Layer& layer = LayerOf(host, layerH);
        const std::string was = layer.name();
        layer.set_name(name);
        host.project().NoteChange(layer.comp().name() + " > " + was + ": renamed \"" +
                                  layer.name() + "\"");
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
    s.AEGP_GetLayerSourceItem = GetLayerSourceItem;
    s.AEGP_GetLayerSourceItemID = GetLayerSourceItemID;
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
    s.AEGP_IsAddLayerValid = IsAddLayerValid;
    s.AEGP_AddLayer = AddLayer;
    TL_DECLINE(s, AEGP_ReorderLayer);
    TL_DECLINE(s, AEGP_GetLayerMaskedBounds);
    s.AEGP_GetLayerObjectType = GetLayerObjectType;
    s.AEGP_IsLayer3D = IsLayer3D;
    s.AEGP_IsLayer2D = IsLayer2D;
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
