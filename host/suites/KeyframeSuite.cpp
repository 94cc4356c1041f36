// "AEGP Keyframe Suite" v4: counting and deleting a property's keyframes, and batches of
// new keys (start, add at a time, set the value, end). Every slot is in place; the ones
// the plug-in does not call are declined.
//
// The host's rules, as the stand-in keeps them:
// - A batch is a reference of its own, from AEGP_StartAddKeyframes until
//   AEGP_EndAddKeyframes, which ends it whatever it is given. Keys added into it appear
//   on the property only when it is ended with add = TRUE, all at once, as one change;
//   with add = FALSE nothing of the batch reaches the property.
// - A key added at a time that already has one (on the property, or earlier in the
//   same batch) replaces it: times are compared exactly, so 7/30 s and 14/60 s are the
//   same time. Adding at a time the batch already has gives that key's index again.
// - A key whose value was never set takes the property's value at its time before
//   expressions, as a key inserted by hand does.
// - Deleting a property's last keyframe leaves it holding the value it showed at
//   composition time 0 (the stand-in's current time) as its value.
#include <algorithm>
#include <string>

#include "core/Boundary.h"
#include "suites/Objects.h"
#include "suites/StreamValues.h"
#include "suites/Tables.h"

namespace tlhost {

namespace {

StreamNode& LeafOf(Host& host, AEGP_StreamRefH streamH, const char* function) {
    StreamNode& node = *host.streams().Get(streamH, function).node;
    if (node.is_group()) Refuse(A_Err_PARAMETER);
    return node;
}

// A host time in composition time: a layer time is moved by the layer's in point.
A_Time CompTime(AEGP_LTimeMode mode, const A_Time* time, const StreamNode& node) {
    if (!time || time->scale == 0) Breach(A_Err_PARAMETER, "no time or a zero time scale");
    if (mode != AEGP_LTimeMode_LayerTime) return *time;
    const Layer* layer = node.layer();
    if (!layer || layer->in_point.scale == 0) return *time;
    std::optional<A_Time> sum = AddTimes(*time, layer->in_point);
    if (!sum) Refuse(A_Err_PARAMETER);
    return *sum;
}

std::string Seconds(const A_Time& time) {
    std::string text = std::to_string(SecondsOf(time));
    // "1.500000" reads as "1.5".
    while (text.size() > 1 && text.back() == '0') text.pop_back();
    if (!text.empty() && text.back() == '.') text.pop_back();
    return text;
}

A_Err GetStreamNumKFs(AEGP_StreamRefH streamH, A_long* num) {
    return Serve("AEGP_GetStreamNumKFs", [&](Host& host) -> A_Err {
        Require(num, "count place");
        const StreamNode& node = LeafOf(host, streamH, "AEGP_GetStreamNumKFs");
        *num = node.kind() == ValueKind::NoData ? static_cast<A_long>(AEGP_NumKF_NO_DATA)
                                                : static_cast<A_long>(node.keyframes.size());
        return A_Err_NONE;
    });
}

A_Err DeleteKeyframe(AEGP_StreamRefH streamH, AEGP_KeyframeIndex index) {
    return Serve("AEGP_DeleteKeyframe", [&](Host& host) -> A_Err {
        StreamNode& node = LeafOf(host, streamH, "AEGP_DeleteKeyframe");
        if (index < 0 || static_cast<std::size_t>(index) >= node.keyframes.size()) {
            Refuse(A_Err_PARAMETER);
        }
        const A_Time time = node.keyframes[static_cast<std::size_t>(index)].time;
        if (node.keyframes.size() == 1) node.set_value(node.ValueAt(0.0));
        node.keyframes.erase(node.keyframes.begin() + index);
        if (host.project().UndoGroupOpen()) {
            host.project().NoteChange(PropertyPath(node) + ": keyframe at " + Seconds(time) +
                                      " s removed");
        }
        return A_Err_NONE;
    });
}

A_Err StartAddKeyframes(AEGP_StreamRefH streamH, AEGP_AddKeyframesInfoH* batchPH) {
    return Serve("AEGP_StartAddKeyframes", [&](Host& host) -> A_Err {
        Require(batchPH, "batch place");
        StreamNode& node = LeafOf(host, streamH, "AEGP_StartAddKeyframes");
        // Only a property that can be animated takes keys.
        if (!node.can_vary_over_time || node.kind() == ValueKind::NoData ||
            node.kind() == ValueKind::Arb) {
            Refuse(A_Err_PARAMETER);
        }
        KeyframeBatchRecord batch;
        batch.node = &node;
        *batchPH = host.keyframe_batches().Make<AEGP_AddKeyframesInfoH>(
            host.ledger(), std::move(batch),
            "keys for \"" + node.match_name() + "\"" +
                (node.layer() ? " of layer " + std::to_string(node.layer()->id()) : ""));
        return A_Err_NONE;
    });
}

A_Err AddKeyframes(AEGP_AddKeyframesInfoH batchH, AEGP_LTimeMode mode, const A_Time* time,
                   A_long* index) {
    return Serve("AEGP_AddKeyframes", [&](Host& host) -> A_Err {
        Require(index, "index place");
        KeyframeBatchRecord& batch = host.keyframe_batches().Get(batchH, "AEGP_AddKeyframes");
        const A_Time at = CompTime(mode, time, *batch.node);
        const A_Time reduced = ReducedTime(at);
        auto [it, fresh] = batch.index_of.emplace(std::make_pair(reduced.value, reduced.scale),
                                                  static_cast<A_long>(batch.keys.size()));
        if (fresh) batch.keys.push_back(KeyframeBatchRecord::Key{at, false, StreamValue{}});
        *index = it->second;
        return A_Err_NONE;
    });
}

A_Err SetAddKeyframe(AEGP_AddKeyframesInfoH batchH, A_long index, const AEGP_StreamValue2* value) {
    return Serve("AEGP_SetAddKeyframe", [&](Host& host) -> A_Err {
        Require(value, "value");
        KeyframeBatchRecord& batch = host.keyframe_batches().Get(batchH, "AEGP_SetAddKeyframe");
        if (index < 0 || static_cast<std::size_t>(index) >= batch.keys.size()) {
            Refuse(A_Err_PARAMETER);
        }
        // The value is read, not adopted: the plug-in still disposes it.
        KeyframeBatchRecord::Key& key = batch.keys[static_cast<std::size_t>(index)];
        key.value = TakeValue(host, *value, *batch.node, "AEGP_SetAddKeyframe");
        key.has_value = true;
        return A_Err_NONE;
    });
}

// Puts the batch's keys onto the property, in time order, each replacing a key at the
// same time.
void Commit(Host& host, KeyframeBatchRecord& batch) {
    StreamNode& node = *batch.node;
    std::vector<Keyframe> added;
    added.reserve(batch.keys.size());
    for (KeyframeBatchRecord::Key& key : batch.keys) {
        StreamValue value =
            key.has_value ? std::move(key.value) : node.ValueAt(SecondsOf(key.time));
        added.emplace_back(key.time, std::move(value));
    }
    auto earlier = [](const Keyframe& a, const Keyframe& b) {
        return CompareTimes(a.time, b.time) < 0;
    };
    std::sort(added.begin(), added.end(), earlier);
    std::vector<Keyframe> merged;
    merged.reserve(node.keyframes.size() + added.size());
    auto old_key = node.keyframes.begin();
    for (Keyframe& key : added) {
        while (old_key != node.keyframes.end() && earlier(*old_key, key)) {
            merged.push_back(std::move(*old_key++));
        }
        if (old_key != node.keyframes.end() && CompareTimes(old_key->time, key.time) == 0) {
            ++old_key;  // replaced
        }
        merged.push_back(std::move(key));
    }
    while (old_key != node.keyframes.end()) merged.push_back(std::move(*old_key++));
    node.keyframes = std::move(merged);
    if (!added.empty() && host.project().UndoGroupOpen()) {
        host.project().NoteChange(PropertyPath(node) + ": " + std::to_string(added.size()) +
                                  (added.size() == 1 ? " keyframe" : " keyframes") + " added");
    }
}

A_Err EndAddKeyframes(A_Boolean add, AEGP_AddKeyframesInfoH batchH) {
    return Serve("AEGP_EndAddKeyframes", [&](Host& host) -> A_Err {
        KeyframeBatchRecord& batch = host.keyframe_batches().Get(batchH, "AEGP_EndAddKeyframes");
        if (add) Commit(host, batch);
        host.keyframe_batches().Dispose(host.ledger(), batchH, "AEGP_EndAddKeyframes");
        return A_Err_NONE;
    });
}

AEGP_KeyframeSuite4 MakeKeyframeSuite4() {
    AEGP_KeyframeSuite4 s{};
    s.AEGP_GetStreamNumKFs = GetStreamNumKFs;
    TL_DECLINE(s, AEGP_GetKeyframeTime);
    TL_DECLINE(s, AEGP_InsertKeyframe);
    s.AEGP_DeleteKeyframe = DeleteKeyframe;
    TL_DECLINE(s, AEGP_GetNewKeyframeValue);
    TL_DECLINE(s, AEGP_SetKeyframeValue);
    TL_DECLINE(s, AEGP_GetStreamValueDimensionality);
    TL_DECLINE(s, AEGP_GetStreamTemporalDimensionality);
    TL_DECLINE(s, AEGP_GetNewKeyframeSpatialTangents);
    TL_DECLINE(s, AEGP_SetKeyframeSpatialTangents);
    TL_DECLINE(s, AEGP_GetKeyframeTemporalEase);
    TL_DECLINE(s, AEGP_SetKeyframeTemporalEase);
    TL_DECLINE(s, AEGP_GetKeyframeFlags);
    TL_DECLINE(s, AEGP_SetKeyframeFlag);
    TL_DECLINE(s, AEGP_GetKeyframeInterpolation);
    TL_DECLINE(s, AEGP_SetKeyframeInterpolation);
    s.AEGP_StartAddKeyframes = StartAddKeyframes;
    s.AEGP_AddKeyframes = AddKeyframes;
    s.AEGP_SetAddKeyframe = SetAddKeyframe;
    s.AEGP_EndAddKeyframes = EndAddKeyframes;
    return s;
}

}  // namespace

const AEGP_KeyframeSuite4* KeyframeSuite4Table() {
    static const AEGP_KeyframeSuite4 table = MakeKeyframeSuite4();
    return &table;
}

}  // namespace tlhost
