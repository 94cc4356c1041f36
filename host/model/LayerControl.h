// The host's Layer Control effect, as the host builds it: the input layer's slot and one
// layer parameter "Layer" whose value is the layer it points at. Connection layers carry one
// pointing at their controller.
#pragma once

#include <optional>

#include "AE_GeneralPlug.h"

namespace tlhost {

class EffectInstance;
class Layer;

inline constexpr char kLayerControlMatchName[] = "ADBE Layer Control";
inline constexpr char kLayerControlLayerMatchName[] = "ADBE Layer Control-0001";

// Gives `effect` the Layer Control's parameters, its layer parameter pointing at `target`
// (0: no layer), and binds them to the effect's streams.
void SetUpLayerControl(EffectInstance& effect, AEGP_LayerIDVal target);

// Adds a Layer Control to `layer` pointing at `target`. Without a target the effect has only
// its input slot and no "Layer" parameter: a damaged effect, for tests of how it is read.
EffectInstance& AddLayerControl(Layer& layer, std::optional<AEGP_LayerIDVal> target);

}  // namespace tlhost
