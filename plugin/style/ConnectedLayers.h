// Finding what a styling operation edits: the connection layers (the layers whose Layer Control
// effect points at the layer carrying this effect), the controller a layer points at, and the
// properties under a stream group that bear a given match name.
//
// All three read the project through the host's suites, each with its own suite cache, and keep
// nothing between calls.
#pragma once

#include <vector>

#include "AE_Effect.h"
#include "AE_GeneralPlug.h"

// The host's Layer Control expression-control effect and its layer parameter's stream.
inline constexpr char kLayerControlMatchName[] = "ADBE Layer Control";
inline constexpr char kLayerControlLayerMatchName[] = "ADBE Layer Control-0001";

// A layer's Layer Control that points at nothing usable.
inline constexpr AEGP_LayerIDVal kNoController = -1;

// Connection-layer identifiers, in the composition's stacking order (top layer first).
using LayerIDList = std::vector<AEGP_LayerIDVal>;
// Stream references handed to the caller, who disposes each one (DisposeStreamList).
using StreamList = std::vector<AEGP_StreamRefH>;

// Appends the connection layers to `layer_ids` (pass it empty) and writes the effect layer's
// identifier. On a shape layer the effect styles that layer alone: the list is the effect layer
// itself. Otherwise it is every other layer of the composition whose controller is the effect
// layer, never the effect layer itself. Returns the first host error; the list is not to be used
// when the result is non-zero.
A_Err GetConcernedLayersIDs(PF_InData* in_data, LayerIDList& layer_ids,
                            AEGP_LayerIDVal& effect_layer_id);

// Writes into `controller` the layer that `layer_id`'s first Layer Control with a layer
// parameter points at, read at composition time 0 before expressions; kNoController when the
// layer has no Layer Control with a layer parameter. A host error ends the search and is
// returned (the controller is then kNoController): a layer that cannot be read is not taken
// for one without a controller.
A_Err GetControllerLstVal(PF_InData* in_data, AEGP_LayerIDVal layer_id,
                          AEGP_LayerIDVal& controller);

// Depth-first search below `group` (children in index order) for streams whose match name is
// `match_name`; each one found is appended to `streams` and belongs to the caller. When
// `within_group` is non-zero a match is taken only if its direct parent's match name is
// `group_match_name`. Groups switched off in the timeline (eyeball off) are not searched, nor is
// a matching stream. Returns the first host error; streams found before it stay in the list.
A_Err GetLayerStreamsByMatchName(PF_InData* in_data, AEGP_StreamRefH group,
                                 const A_char* match_name, StreamList& streams,
                                 A_Boolean within_group, const A_char* group_match_name);

// Disposes every stream in the list and empties it. Returns the first disposal error.
A_Err DisposeStreamList(PF_InData* in_data, StreamList& streams);
