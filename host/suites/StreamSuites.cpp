// "AEGP Stream Suite" v7, v8 and v9 and "AEGP Dynamic Stream Suite" v5 over the
// layers' property trees: walking groups, reading and writing values, expressions
// and dynamic flags. The three stream-suite versions share their functions where
// their signatures agree; names and values differ only in their records.
#include <cstring>

#include "core/Boundary.h"
#include "model/ShapeItems.h"
#include "suites/Objects.h"
#include "suites/StreamValues.h"
#include "suites/Tables.h"

namespace tlhost {

namespace {

// What a stream reference is, for reports. Nodes outlive the
// references to them (removed nodes are retired, not freed).
std::string Describe(const StreamNode& node) {
    std::string what = "\"" + node.match_name() + "\"";
    if (const Layer* layer = node.layer()) what += " of layer " + std::to_string(layer->id());
    return what;
}
std::string StreamText(const void* node, std::uint64_t) {
    return Describe(*static_cast<const StreamNode*>(node));
}

AEGP_StreamRefH NewStreamRef(Host& host, StreamNode& node) {
    return host.streams().Make<AEGP_StreamRefH>(host.ledger(), StreamTarget{&node},
                                                RefWhat::Of(StreamText, &node));
}

StreamNode& NodeOf(Host& host, AEGP_StreamRefH streamH, const char* function) {
    return *host.streams().Get(streamH, function).node;
}

StreamNode& LeafOf(Host& host, AEGP_StreamRefH streamH, const char* function) {
    StreamNode& node = NodeOf(host, streamH, function);
    if (node.is_group()) Breach(A_Err_PARAMETER, "a group where a property was expected");
    return node;
}

double Seconds(AEGP_LTimeMode mode, const A_Time* time, const StreamNode& node) {
    if (!time || time->scale == 0) Breach(A_Err_PARAMETER, "no time or a zero time scale");
    double seconds = static_cast<double>(time->value) / time->scale;
    if (mode == AEGP_LTimeMode_LayerTime) {
        if (const Layer* layer = node.layer()) {
            if (layer->in_point.scale) {
                seconds += static_cast<double>(layer->in_point.value) / layer->in_point.scale;
            }
        }
    }
    return seconds;
}

// ---- Stream suite -------------------------------------------------------------

A_Err CanVaryOverTime(AEGP_StreamRefH streamH, A_Boolean* can_vary) {
    return Serve("AEGP_CanVaryOverTime", [&](Host& host) -> A_Err {
        Require(can_vary, "result place");
        StreamNode& node = NodeOf(host, streamH, "AEGP_CanVaryOverTime");
        *can_vary = !node.is_group() && node.kind() != ValueKind::NoData && node.can_vary_over_time;
        return A_Err_NONE;
    });
}

struct LayerStreamRow {
    AEGP_LayerStream which;
    const char* match_name;
};
constexpr LayerStreamRow kLayerStreams[] = {
    {AEGP_LayerStream_ANCHORPOINT, "ADBE Anchor Point"},
    {AEGP_LayerStream_POSITION, "ADBE Position"},
    {AEGP_LayerStream_SCALE, "ADBE Scale"},
    {AEGP_LayerStream_ROTATION, "ADBE Rotate Z"},
    {AEGP_LayerStream_OPACITY, "ADBE Opacity"},
    {AEGP_LayerStream_ORIENTATION, "ADBE Orientation"},
};

A_Err GetNewLayerStream(AEGP_PluginID, AEGP_LayerH layerH, AEGP_LayerStream which,
                        AEGP_StreamRefH* streamPH) {
    return Serve("AEGP_GetNewLayerStream", [&](Host& host) -> A_Err {
        Require(streamPH, "stream place");
        Layer& layer = LayerOf(host, layerH);
        StreamNode* transform = layer.root().FindChild("ADBE Transform Group");
        for (const auto& row : kLayerStreams) {
            if (row.which != which) continue;
            StreamNode* node = transform ? transform->FindChild(row.match_name) : nullptr;
            // Rotation is also found under the name the host uses for 2D layers.
            if (!node && transform && which == AEGP_LayerStream_ROTATION) {
                node = transform->FindChild("ADBE Rotation");
            }
            if (!node) Refuse(A_Err_PARAMETER);
            *streamPH = NewStreamRef(host, *node);
            return A_Err_NONE;
        }
        Refuse(A_Err_PARAMETER);
    });
}

A_Err GetEffectNumParamStreams(AEGP_EffectRefH effectH, A_long* num) {
    return Serve("AEGP_GetEffectNumParamStreams", [&](Host& host) -> A_Err {
        Require(num, "count place");
        EffectInstance* effect = host.effects().Get(effectH, "AEGP_GetEffectNumParamStreams");
        // The count includes index 0, the input layer.
        *num = static_cast<A_long>(effect->params().size());
        return A_Err_NONE;
    });
}

A_Err GetNewEffectStreamByIndex(AEGP_PluginID, AEGP_EffectRefH effectH, PF_ParamIndex index,
                                AEGP_StreamRefH* streamPH) {
    return Serve("AEGP_GetNewEffectStreamByIndex", [&](Host& host) -> A_Err {
        Require(streamPH, "stream place");
        EffectInstance* effect = host.effects().Get(effectH, "AEGP_GetNewEffectStreamByIndex");
        // Index 0, the input layer, has no stream the host hands out here.
        StreamNode* node =
            index > 0 ? effect->ParamStream(static_cast<std::size_t>(index)) : nullptr;
        if (!node) Refuse(A_Err_PARAMETER);
        *streamPH = NewStreamRef(host, *node);
        return A_Err_NONE;
    });
}

A_Err DisposeStream(AEGP_StreamRefH streamH) {
    return Serve("AEGP_DisposeStream", [&](Host& host) -> A_Err {
        host.streams().Dispose(host.ledger(), streamH, "AEGP_DisposeStream");
        return A_Err_NONE;
    });
}

A_Err GetStreamName8(AEGP_StreamRefH streamH, A_Boolean, A_char* name) {
    return Serve("AEGP_GetStreamName", [&](Host& host) -> A_Err {
        Require(name, "name buffer");
        const std::string& text = NodeOf(host, streamH, "AEGP_GetStreamName").name();
        const std::size_t n = std::min(text.size(), std::size_t{AEGP_MAX_STREAM_NAME_SIZE - 1});
        std::memcpy(name, text.data(), n);
        name[n] = '\0';
        return A_Err_NONE;
    });
}

A_Err GetStreamName16(AEGP_PluginID, AEGP_StreamRefH streamH, A_Boolean, AEGP_MemHandle* name) {
    return Serve("AEGP_GetStreamName", [&](Host& host) -> A_Err {
        Require(name, "name place");
        *name = NewMemHandle(host, Utf16Bytes(NodeOf(host, streamH, "AEGP_GetStreamName").name()),
                             "stream name");
        return A_Err_NONE;
    });
}

A_Err IsStreamTimevarying(AEGP_StreamRefH streamH, A_Boolean* varying) {
    return Serve("AEGP_IsStreamTimevarying", [&](Host& host) -> A_Err {
        Require(varying, "result place");
        StreamNode& node = NodeOf(host, streamH, "AEGP_IsStreamTimevarying");
        // The host's rule, as the stand-in keeps it: a property is time-varying when it
        // has at least one keyframe or an enabled expression (with text). A switched-off
        // expression does not count; one keyframe is enough.
        *varying = !node.keyframes.empty() || (node.expression_enabled && !node.expression.empty());
        return A_Err_NONE;
    });
}

A_Err GetStreamType(AEGP_StreamRefH streamH, AEGP_StreamType* type) {
    return Serve("AEGP_GetStreamType", [&](Host& host) -> A_Err {
        Require(type, "type place");
        StreamNode& node = NodeOf(host, streamH, "AEGP_GetStreamType");
        *type = node.is_group() ? AEGP_StreamType_NO_DATA : StreamTypeOf(node.kind());
        // The host always reports a position as a spatial 3D stream.
        if (node.match_name() == "ADBE Position") *type = AEGP_StreamType_ThreeD_SPATIAL;
        return A_Err_NONE;
    });
}

template <class Value>
A_Err GetNewStreamValue(AEGP_PluginID, AEGP_StreamRefH streamH, AEGP_LTimeMode mode,
                        const A_Time* time, A_Boolean pre_expression, Value* out) {
    return Serve("AEGP_GetNewStreamValue", [&](Host& host) -> A_Err {
        Require(out, "value place");
        StreamNode& node = LeafOf(host, streamH, "AEGP_GetNewStreamValue");
        if (node.kind() == ValueKind::NoData) Refuse(A_Err_PARAMETER);
        const double seconds = Seconds(mode, time, node);
        const StreamValue value =
            pre_expression ? node.ValueAt(seconds) : host.ValueAfterExpressions(node, seconds);
        HandOutValue(host, node, value, out);
        return A_Err_NONE;
    });
}

template <class Value>
A_Err DisposeStreamValue(Value* value) {
    return Serve("AEGP_DisposeStreamValue", [&](Host& host) -> A_Err {
        Require(value, "value");
        // Its outline goes with it.
        const StreamValueRecord& record =
            host.stream_values().Get(value->streamH, "AEGP_DisposeStreamValue");
        host.outlines().erase(record.mask.get());
        host.stream_values().Dispose(host.ledger(), value->streamH, "AEGP_DisposeStreamValue");
        return A_Err_NONE;
    });
}

template <class Value>
A_Err SetStreamValue(AEGP_PluginID, AEGP_StreamRefH streamH, Value* value) {
    return Serve("AEGP_SetStreamValue", [&](Host& host) -> A_Err {
        Require(value, "value");
        StreamNode& node = LeafOf(host, streamH, "AEGP_SetStreamValue");
        // Only a property without keyframes takes a plain value; one with keyframes
        // answers an error, as the host does.
        if (!node.keyframes.empty()) Refuse(A_Err_PARAMETER);
        node.set_value(TakeValue(host, *value, node, "AEGP_SetStreamValue"));
        if (host.project().UndoGroupOpen())
            host.project().NoteChange(PropertyPath(node) + ": value set");
        return A_Err_NONE;
    });
}

A_Err GetExpressionState(AEGP_PluginID, AEGP_StreamRefH streamH, A_Boolean* enabled) {
    return Serve("AEGP_GetExpressionState", [&](Host& host) -> A_Err {
        Require(enabled, "result place");
        *enabled = LeafOf(host, streamH, "AEGP_GetExpressionState").expression_enabled;
        return A_Err_NONE;
    });
}

A_Err SetExpressionState(AEGP_PluginID, AEGP_StreamRefH streamH, A_Boolean enabled) {
    return Serve("AEGP_SetExpressionState", [&](Host& host) -> A_Err {
        StreamNode& node = LeafOf(host, streamH, "AEGP_SetExpressionState");
        if (!node.can_vary_over_time) Refuse(A_Err_PARAMETER);
        // A property without an expression has none to switch: it stays without one.
        if (node.expression.empty()) return A_Err_NONE;
        const bool was = node.expression_enabled;
        node.expression_enabled = enabled != 0;
        if (was != node.expression_enabled && host.project().UndoGroupOpen()) {
            host.project().NoteChange(PropertyPath(node) + ": expression switched " +
                                      (node.expression_enabled ? "on" : "off"));
        }
        return A_Err_NONE;
    });
}

A_Err GetExpression(AEGP_PluginID, AEGP_StreamRefH streamH, AEGP_MemHandle* text) {
    return Serve("AEGP_GetExpression", [&](Host& host) -> A_Err {
        Require(text, "text place");
        const std::string& expression = LeafOf(host, streamH, "AEGP_GetExpression").expression;
        std::vector<std::uint8_t> bytes(expression.begin(), expression.end());
        bytes.push_back(0);
        *text = NewMemHandle(host, std::move(bytes), "expression text");
        return A_Err_NONE;
    });
}

A_Err SetExpression(AEGP_PluginID, AEGP_StreamRefH streamH, const A_char* text) {
    return Serve("AEGP_SetExpression", [&](Host& host) -> A_Err {
        Require(text, "expression text");
        StreamNode& node = LeafOf(host, streamH, "AEGP_SetExpression");
        if (!node.can_vary_over_time || node.kind() == ValueKind::NoData) Refuse(A_Err_PARAMETER);
        // Setting an expression switches it on; an empty text removes it.
        node.expression = text;
        node.expression_enabled = !node.expression.empty();
        node.expression_error.clear();
        if (host.project().UndoGroupOpen()) {
            host.project().NoteChange(PropertyPath(node) + (node.expression.empty()
                                                                ? ": expression removed"
                                                                : ": expression set"));
        }
        return A_Err_NONE;
    });
}

A_Err DuplicateStreamRef(AEGP_PluginID, AEGP_StreamRefH streamH, AEGP_StreamRefH* dup) {
    return Serve("AEGP_DuplicateStreamRef", [&](Host& host) -> A_Err {
        Require(dup, "stream place");
        *dup = NewStreamRef(host, NodeOf(host, streamH, "AEGP_DuplicateStreamRef"));
        return A_Err_NONE;
    });
}

// ---- Dynamic stream suite -----------------------------------------------------

A_Err GetNewStreamRefForLayer(AEGP_PluginID, AEGP_LayerH layerH, AEGP_StreamRefH* streamPH) {
    return Serve("AEGP_GetNewStreamRefForLayer", [&](Host& host) -> A_Err {
        Require(streamPH, "stream place");
        *streamPH = NewStreamRef(host, LayerOf(host, layerH).root());
        return A_Err_NONE;
    });
}

A_Err GetStreamDepth(AEGP_StreamRefH streamH, A_long* depth) {
    return Serve("AEGP_GetStreamDepth", [&](Host& host) -> A_Err {
        Require(depth, "depth place");
        *depth = NodeOf(host, streamH, "AEGP_GetStreamDepth").Depth();
        return A_Err_NONE;
    });
}

A_Err GetStreamGroupingType(AEGP_StreamRefH streamH, AEGP_StreamGroupingType* type) {
    return Serve("AEGP_GetStreamGroupingType", [&](Host& host) -> A_Err {
        Require(type, "type place");
        switch (NodeOf(host, streamH, "AEGP_GetStreamGroupingType").grouping()) {
            case Grouping::Leaf:
                *type = AEGP_StreamGroupingType_LEAF;
                break;
            case Grouping::Named:
                *type = AEGP_StreamGroupingType_NAMED_GROUP;
                break;
            case Grouping::Indexed:
                *type = AEGP_StreamGroupingType_INDEXED_GROUP;
                break;
        }
        return A_Err_NONE;
    });
}

StreamNode& GroupOf(Host& host, AEGP_StreamRefH streamH, const char* function) {
    StreamNode& node = NodeOf(host, streamH, function);
    if (!node.is_group()) Refuse(A_Err_PARAMETER);
    return node;
}

A_Err GetNumStreamsInGroup(AEGP_StreamRefH streamH, A_long* num) {
    return Serve("AEGP_GetNumStreamsInGroup", [&](Host& host) -> A_Err {
        Require(num, "count place");
        *num = static_cast<A_long>(
            GroupOf(host, streamH, "AEGP_GetNumStreamsInGroup").children().size());
        return A_Err_NONE;
    });
}

A_Err GetDynamicStreamFlags(AEGP_StreamRefH streamH, AEGP_DynStreamFlags* flags) {
    return Serve("AEGP_GetDynamicStreamFlags", [&](Host& host) -> A_Err {
        Require(flags, "flags place");
        StreamNode& node = NodeOf(host, streamH, "AEGP_GetDynamicStreamFlags");
        *flags = (node.eyeball ? AEGP_DynStreamFlag_ACTIVE_EYEBALL : 0) |
                 (node.hidden() ? AEGP_DynStreamFlag_HIDDEN : 0);
        return A_Err_NONE;
    });
}

A_Err SetDynamicStreamFlag(AEGP_StreamRefH streamH, AEGP_DynStreamFlags flag, A_Boolean undoable,
                           A_Boolean set) {
    return Serve("AEGP_SetDynamicStreamFlag", [&](Host& host) -> A_Err {
        StreamNode& node = NodeOf(host, streamH, "AEGP_SetDynamicStreamFlag");
        if (flag == AEGP_DynStreamFlag_DISABLED) Breach(A_Err_PARAMETER, "DISABLED cannot be set");
        // Outside an undoable change only the hidden flag may be switched.
        if (!undoable && flag != AEGP_DynStreamFlag_HIDDEN) {
            Breach(A_Err_PARAMETER, "only HIDDEN may change without undo");
        }
        if (flag == AEGP_DynStreamFlag_HIDDEN) node.set_hidden(set != 0);
        if (flag == AEGP_DynStreamFlag_ACTIVE_EYEBALL) node.eyeball = set != 0;
        return A_Err_NONE;
    });
}

A_Err GetNewStreamRefByIndex(AEGP_PluginID, AEGP_StreamRefH parentH, A_long index,
                             AEGP_StreamRefH* streamPH) {
    return Serve("AEGP_GetNewStreamRefByIndex", [&](Host& host) -> A_Err {
        Require(streamPH, "stream place");
        StreamNode& group = GroupOf(host, parentH, "AEGP_GetNewStreamRefByIndex");
        if (index < 0 || static_cast<std::size_t>(index) >= group.children().size()) {
            Refuse(A_Err_PARAMETER);
        }
        *streamPH = NewStreamRef(host, *group.children()[static_cast<std::size_t>(index)]);
        return A_Err_NONE;
    });
}

A_Err GetNewStreamRefByMatchname(AEGP_PluginID, AEGP_StreamRefH parentH, const A_char* match_name,
                                 AEGP_StreamRefH* streamPH) {
    return Serve("AEGP_GetNewStreamRefByMatchname", [&](Host& host) -> A_Err {
        Require(streamPH, "stream place");
        Require(match_name, "match name");
        StreamNode& group = GroupOf(host, parentH, "AEGP_GetNewStreamRefByMatchname");
        // Only named groups are searched by match name.
        if (group.grouping() != Grouping::Named) Refuse(A_Err_PARAMETER);
        StreamNode* child = group.FindChild(match_name);
        if (!child) Refuse(A_Err_PARAMETER);
        *streamPH = NewStreamRef(host, *child);
        return A_Err_NONE;
    });
}

A_Err DeleteStream(AEGP_StreamRefH streamH) {
    return Serve("AEGP_DeleteStream", [&](Host& host) -> A_Err {
        StreamNode& node = NodeOf(host, streamH, "AEGP_DeleteStream");
        StreamNode* parent = node.parent();
        if (!parent || parent->grouping() != Grouping::Indexed) Refuse(A_Err_PARAMETER);
        // The node is kept alive by the host while references to it may remain.
        host.project().Retire(parent->RemoveChild(node.IndexInParent()));
        return A_Err_NONE;
    });
}

// Shape items the host knows (model/ShapeItems.h), added to a shape layer's or a shape group's
// contents with the host's skeleton. The new item goes last; references to its siblings stay
// valid here (the host may invalidate them, so the plug-in does not keep them across an add).
A_Err CanAddStream(AEGP_StreamRefH groupH, const A_char* match_name, A_Boolean* can_add) {
    return Serve("AEGP_CanAddStream", [&](Host& host) -> A_Err {
        Require(match_name, "match name");
        Require(can_add, "result place");
        *can_add = CanAddShapeItem(NodeOf(host, groupH, "AEGP_CanAddStream"), match_name);
        return A_Err_NONE;
    });
}

A_Err AddStream(AEGP_PluginID, AEGP_StreamRefH groupH, const A_char* match_name,
                AEGP_StreamRefH* streamPH) {
    return Serve("AEGP_AddStream", [&](Host& host) -> A_Err {
        Require(match_name, "match name");
        StreamNode& group = NodeOf(host, groupH, "AEGP_AddStream");
        if (!CanAddShapeItem(group, match_name)) Refuse(A_Err_PARAMETER);
        StreamNode& added = group.AddChild(NewShapeItem(group, match_name));
        host.project().NoteChange(PropertyPath(added) + ": added");
        // The new item's reference may be left out.
        if (streamPH) *streamPH = NewStreamRef(host, added);
        return A_Err_NONE;
    });
}

A_Err GetMatchName(AEGP_StreamRefH streamH, A_char* name) {
    return Serve("AEGP_GetMatchName", [&](Host& host) -> A_Err {
        Require(name, "name buffer");
        const std::string& text = NodeOf(host, streamH, "AEGP_GetMatchName").match_name();
        if (text.size() >= AEGP_MAX_STREAM_MATCH_NAME_SIZE) Refuse(A_Err_PARAMETER);
        std::memcpy(name, text.c_str(), text.size() + 1);
        return A_Err_NONE;
    });
}

A_Err GetNewParentStreamRef(AEGP_PluginID, AEGP_StreamRefH streamH, AEGP_StreamRefH* parentPH) {
    return Serve("AEGP_GetNewParentStreamRef", [&](Host& host) -> A_Err {
        Require(parentPH, "stream place");
        StreamNode* parent = NodeOf(host, streamH, "AEGP_GetNewParentStreamRef").parent();
        if (!parent) Refuse(A_Err_PARAMETER);
        *parentPH = NewStreamRef(host, *parent);
        return A_Err_NONE;
    });
}

A_Err GetStreamIndexInParent(AEGP_StreamRefH streamH, A_long* index) {
    return Serve("AEGP_GetStreamIndexInParent", [&](Host& host) -> A_Err {
        Require(index, "index place");
        StreamNode& node = NodeOf(host, streamH, "AEGP_GetStreamIndexInParent");
        if (!node.parent()) Refuse(A_Err_PARAMETER);
        *index = static_cast<A_long>(node.IndexInParent());
        return A_Err_NONE;
    });
}

// The slots the three stream-suite versions have alike; they differ in names and value records.
template <class Suite>
void FillSharedStreamSlots(Suite& s) {
    TL_DECLINE(s, AEGP_IsStreamLegal);
    s.AEGP_CanVaryOverTime = CanVaryOverTime;
    TL_DECLINE(s, AEGP_GetValidInterpolations);
    s.AEGP_GetNewLayerStream = GetNewLayerStream;
    s.AEGP_GetEffectNumParamStreams = GetEffectNumParamStreams;
    s.AEGP_GetNewEffectStreamByIndex = GetNewEffectStreamByIndex;
    TL_DECLINE(s, AEGP_GetNewMaskStream);
    s.AEGP_DisposeStream = DisposeStream;
    TL_DECLINE(s, AEGP_GetStreamUnitsText);
    TL_DECLINE(s, AEGP_GetStreamProperties);
    s.AEGP_IsStreamTimevarying = IsStreamTimevarying;
    s.AEGP_GetStreamType = GetStreamType;
    TL_DECLINE(s, AEGP_GetLayerStreamValue);
    s.AEGP_GetExpressionState = GetExpressionState;
    s.AEGP_SetExpressionState = SetExpressionState;
    s.AEGP_GetExpression = GetExpression;
    s.AEGP_SetExpression = SetExpression;
    s.AEGP_DuplicateStreamRef = DuplicateStreamRef;
}

AEGP_StreamSuite2 MakeStreamSuite2() {
    AEGP_StreamSuite2 s{};
    FillSharedStreamSlots(s);
    s.AEGP_GetStreamName = GetStreamName8;
    s.AEGP_GetNewStreamValue = GetNewStreamValue<AEGP_StreamValue>;
    s.AEGP_DisposeStreamValue = DisposeStreamValue<AEGP_StreamValue>;
    s.AEGP_SetStreamValue = SetStreamValue<AEGP_StreamValue>;
    return s;
}

AEGP_StreamSuite3 MakeStreamSuite3() {
    AEGP_StreamSuite3 s{};
    FillSharedStreamSlots(s);
    s.AEGP_GetStreamName = GetStreamName8;
    s.AEGP_GetNewStreamValue = GetNewStreamValue<AEGP_StreamValue2>;
    s.AEGP_DisposeStreamValue = DisposeStreamValue<AEGP_StreamValue2>;
    s.AEGP_SetStreamValue = SetStreamValue<AEGP_StreamValue2>;
    return s;
}

AEGP_StreamSuite4 MakeStreamSuite4() {
    AEGP_StreamSuite4 s{};
    FillSharedStreamSlots(s);
    s.AEGP_GetStreamName = GetStreamName16;
    s.AEGP_GetNewStreamValue = GetNewStreamValue<AEGP_StreamValue2>;
    s.AEGP_DisposeStreamValue = DisposeStreamValue<AEGP_StreamValue2>;
    s.AEGP_SetStreamValue = SetStreamValue<AEGP_StreamValue2>;
    return s;
}

AEGP_DynamicStreamSuite4 MakeDynamicStreamSuite4() {
    AEGP_DynamicStreamSuite4 s{};
    s.AEGP_GetNewStreamRefForLayer = GetNewStreamRefForLayer;
    TL_DECLINE(s, AEGP_GetNewStreamRefForMask);
    s.AEGP_GetStreamDepth = GetStreamDepth;
    s.AEGP_GetStreamGroupingType = GetStreamGroupingType;
    s.AEGP_GetNumStreamsInGroup = GetNumStreamsInGroup;
    s.AEGP_GetDynamicStreamFlags = GetDynamicStreamFlags;
    s.AEGP_SetDynamicStreamFlag = SetDynamicStreamFlag;
    s.AEGP_GetNewStreamRefByIndex = GetNewStreamRefByIndex;
    s.AEGP_GetNewStreamRefByMatchname = GetNewStreamRefByMatchname;
    s.AEGP_DeleteStream = DeleteStream;
    TL_DECLINE(s, AEGP_ReorderStream);
    TL_DECLINE(s, AEGP_DuplicateStream);
    TL_DECLINE(s, AEGP_SetStreamName);
    s.AEGP_CanAddStream = CanAddStream;
    s.AEGP_AddStream = AddStream;
    s.AEGP_GetMatchName = GetMatchName;
    s.AEGP_GetNewParentStreamRef = GetNewParentStreamRef;
    TL_DECLINE(s, AEGP_GetStreamIsModified);
    s.AEGP_GetStreamIndexInParent = GetStreamIndexInParent;
    TL_DECLINE(s, AEGP_IsSeparationLeader);
    TL_DECLINE(s, AEGP_AreDimensionsSeparated);
    TL_DECLINE(s, AEGP_SetDimensionsSeparated);
    TL_DECLINE(s, AEGP_GetSeparationFollower);
    TL_DECLINE(s, AEGP_IsSeparationFollower);
    TL_DECLINE(s, AEGP_GetSeparationLeader);
    TL_DECLINE(s, AEGP_GetSeparationDimension);
    return s;
}

}  // namespace

const AEGP_StreamSuite2* StreamSuite2Table() {
    static const AEGP_StreamSuite2 table = MakeStreamSuite2();
    return &table;
}

const AEGP_StreamSuite3* StreamSuite3Table() {
    static const AEGP_StreamSuite3 table = MakeStreamSuite3();
    return &table;
}

const AEGP_StreamSuite4* StreamSuite4Table() {
    static const AEGP_StreamSuite4 table = MakeStreamSuite4();
    return &table;
}

const AEGP_DynamicStreamSuite4* DynamicStreamSuite4Table() {
    static const AEGP_DynamicStreamSuite4 table = MakeDynamicStreamSuite4();
    return &table;
}

}  // namespace tlhost
