// "AEGP Stream Suite" v9 and "AEGP Dynamic Stream Suite" v5 over effect parameter
// streams: reaching a parameter's stream and switching its hidden flag.
#include "core/Boundary.h"
#include "suites/Objects.h"
#include "suites/Tables.h"

namespace tlhost {

namespace {

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
        *streamPH = host.streams().Make<AEGP_StreamRefH>(
            host.ledger(), StreamTarget{node},
            "parameter " + std::to_string(index) + " of \"" + effect->match_name() + "\"");
        return A_Err_NONE;
    });
}

A_Err DisposeStream(AEGP_StreamRefH streamH) {
    return Serve("AEGP_DisposeStream", [&](Host& host) -> A_Err {
        host.streams().Dispose(host.ledger(), streamH, "AEGP_DisposeStream");
        return A_Err_NONE;
    });
}

StreamNode& NodeOf(Host& host, AEGP_StreamRefH streamH, const char* function) {
    return *host.streams().Get(streamH, function).node;
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

AEGP_StreamSuite4 MakeStreamSuite4() {
    AEGP_StreamSuite4 s{};
    TL_DECLINE(s, AEGP_IsStreamLegal);
    TL_DECLINE(s, AEGP_CanVaryOverTime);
    TL_DECLINE(s, AEGP_GetValidInterpolations);
    TL_DECLINE(s, AEGP_GetNewLayerStream);
    s.AEGP_GetEffectNumParamStreams = GetEffectNumParamStreams;
    s.AEGP_GetNewEffectStreamByIndex = GetNewEffectStreamByIndex;
    TL_DECLINE(s, AEGP_GetNewMaskStream);
    s.AEGP_DisposeStream = DisposeStream;
    TL_DECLINE(s, AEGP_GetStreamName);
    TL_DECLINE(s, AEGP_GetStreamUnitsText);
    TL_DECLINE(s, AEGP_GetStreamProperties);
    TL_DECLINE(s, AEGP_IsStreamTimevarying);
    TL_DECLINE(s, AEGP_GetStreamType);
    TL_DECLINE(s, AEGP_GetNewStreamValue);
    TL_DECLINE(s, AEGP_DisposeStreamValue);
    TL_DECLINE(s, AEGP_SetStreamValue);
    TL_DECLINE(s, AEGP_GetLayerStreamValue);
    TL_DECLINE(s, AEGP_GetExpressionState);
    TL_DECLINE(s, AEGP_SetExpressionState);
    TL_DECLINE(s, AEGP_GetExpression);
    TL_DECLINE(s, AEGP_SetExpression);
    TL_DECLINE(s, AEGP_DuplicateStreamRef);
    return s;
}

AEGP_DynamicStreamSuite4 MakeDynamicStreamSuite4() {
    AEGP_DynamicStreamSuite4 s{};
    TL_DECLINE(s, AEGP_GetNewStreamRefForLayer);
    TL_DECLINE(s, AEGP_GetNewStreamRefForMask);
    TL_DECLINE(s, AEGP_GetStreamDepth);
    TL_DECLINE(s, AEGP_GetStreamGroupingType);
    TL_DECLINE(s, AEGP_GetNumStreamsInGroup);
    s.AEGP_GetDynamicStreamFlags = GetDynamicStreamFlags;
    s.AEGP_SetDynamicStreamFlag = SetDynamicStreamFlag;
    TL_DECLINE(s, AEGP_GetNewStreamRefByIndex);
    TL_DECLINE(s, AEGP_GetNewStreamRefByMatchname);
    TL_DECLINE(s, AEGP_DeleteStream);
    TL_DECLINE(s, AEGP_ReorderStream);
    TL_DECLINE(s, AEGP_DuplicateStream);
    TL_DECLINE(s, AEGP_SetStreamName);
    TL_DECLINE(s, AEGP_CanAddStream);
    TL_DECLINE(s, AEGP_AddStream);
    TL_DECLINE(s, AEGP_GetMatchName);
    TL_DECLINE(s, AEGP_GetNewParentStreamRef);
    TL_DECLINE(s, AEGP_GetStreamIsModified);
    TL_DECLINE(s, AEGP_GetStreamIndexInParent);
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

const AEGP_StreamSuite4* StreamSuite4Table() {
    static const AEGP_StreamSuite4 table = MakeStreamSuite4();
    return &table;
}

const AEGP_DynamicStreamSuite4* DynamicStreamSuite4Table() {
    static const AEGP_DynamicStreamSuite4 table = MakeDynamicStreamSuite4();
    return &table;
}

}  // namespace tlhost
