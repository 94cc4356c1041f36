// Stream values between the model and the host's value records (AEGP_StreamValue2, and
// the older AEGP_StreamValue of "AEGP Stream Suite" v7, which has the same layout): the
// stream suites hand values out and take them back, the keyframe suite takes them for
// new keys.
#pragma once

#include <cstring>
#include <memory>
#include <string>

#include "core/Errors.h"
#include "core/Host.h"

namespace tlhost {

// What a value handed out is, for reports.
inline std::string DescribeValueOf(const StreamNode& node) {
    std::string what = "value of \"" + node.match_name() + "\"";
    if (const Layer* layer = node.layer()) what += " of layer " + std::to_string(layer->id());
    return what;
}

// The same as a writer for the ledger, which writes it only for a report.
inline std::string DescribeValueText(const void* node, std::uint64_t) {
    return DescribeValueOf(*static_cast<const StreamNode*>(node));
}

// Fills `out` with `value`, read from `node`, and hands it out: its `streamH` becomes a
// new stream-value reference that the plug-in disposes. A path goes into an outline
// that the value owns (its `mask` member).
template <class Value>
void HandOutValue(Host& host, StreamNode& node, const StreamValue& value, Value* out) {
    std::memset(out, 0, sizeof *out);
    StreamValueRecord record{&node, nullptr};
    switch (value.kind) {
        case ValueKind::OneD:
            out->val.one_d = value.v[0];
            break;
        case ValueKind::TwoD:
            out->val.two_d.x = value.v[0];
            out->val.two_d.y = value.v[1];
            break;
        case ValueKind::ThreeD:
            out->val.three_d.x = value.v[0];
            out->val.three_d.y = value.v[1];
            out->val.three_d.z = value.v[2];
            break;
        case ValueKind::Color:
            out->val.color.redF = value.v[0];
            out->val.color.greenF = value.v[1];
            out->val.color.blueF = value.v[2];
            out->val.color.alphaF = value.v[3];
            break;
        case ValueKind::LayerId:
            out->val.layer_id = value.layer_id;
            break;
        case ValueKind::Path:
            record.mask = std::make_shared<MaskOutline>();
            record.mask->path = value.path;
            out->val.mask = reinterpret_cast<AEGP_MaskOutlineValH>(record.mask.get());
            host.outlines().insert(record.mask.get());
            break;
        default:
            break;
    }
    out->streamH = host.stream_values().Make<AEGP_StreamRefH>(
        host.ledger(), std::move(record), RefWhat::Of(DescribeValueText, &node));
}

// The value a host value record gives a property `node`: the members of the node's kind
// (numbers, a layer, a path), the rest of the property's value unchanged. A path must be
// the outline of a value the host handed out and that is not yet disposed. Kinds the
// plug-in cannot write (arbitrary data, no data) are refused.
template <class Value>
StreamValue TakeValue(Host& host, const Value& in, const StreamNode& node, const char* function) {
    StreamValue value = node.value();
    switch (node.kind()) {
        case ValueKind::OneD:
            value.v[0] = in.val.one_d;
            break;
        case ValueKind::TwoD:
            value.v = {in.val.two_d.x, in.val.two_d.y, 0, 0};
            break;
        case ValueKind::ThreeD:
            value.v = {in.val.three_d.x, in.val.three_d.y, in.val.three_d.z, 0};
            break;
        case ValueKind::Color:
            value.v = {in.val.color.redF, in.val.color.greenF, in.val.color.blueF,
                       in.val.color.alphaF};
            break;
        case ValueKind::LayerId:
            value.layer_id = in.val.layer_id;
            break;
        case ValueKind::Path: {
            const StreamValueRecord& record = host.stream_values().Get(in.streamH, function);
            if (!record.mask || in.val.mask == nullptr ||
                reinterpret_cast<const void*>(in.val.mask) !=
                    static_cast<const void*>(record.mask.get())) {
                Breach(A_Err_PARAMETER, "a path value whose outline the host did not hand out");
            }
            value.path = record.mask->path;
            break;
        }
        default:
            Breach(A_Err_PARAMETER, "this property's values cannot be set");
    }
    return value;
}

}  // namespace tlhost
