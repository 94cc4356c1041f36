// The placeholder composition "TL_Arrowhead" and the layers that show it. Every placeholder
// layer shows the same composition, so that replacing its graphic once replaces it for all.
#pragma once

#include <cstddef>

#include "AE_Effect.h"
#include "AE_GeneralPlug.h"

inline constexpr char kPlaceholderCompName[] = "TL_Arrowhead";
inline constexpr A_long kPlaceholderCompSize = 100;
// Where the graphic's shape layer sits in the placeholder composition.
inline constexpr double kPlaceholderGraphicX = 49;
inline constexpr double kPlaceholderGraphicY = 50;
// How much of an item's name is read when looking for the composition: UTF-16 units and
// UTF-8 bytes. A longer name is no match anyway.
inline constexpr std::size_t kItemNameUnits = 256;

// Adds a layer showing the placeholder composition to `target` and writes it to `*layer`.
// The composition is the first composition of the project named exactly "TL_Arrowhead";
// without one it is built first, in the root folder: 100 x 100 pixels, the target's pixel
// aspect ratio and duration, the target's frame rate cut to thousandths, one shape layer at
// 49, 50 holding the four closed paths of the outline table and a white fill. The first host
// error ends the work and is returned; `*layer` is written only when the layer was added.
// A composition whose building failed part way stays in the project (a later call finds it
// by name and uses it as it is).
A_Err getNewLayer(PF_InData* in_data, AEGP_CompH target, AEGP_LayerH* layer);

// The placeholder composition's frame rate for a target composition's rate: the rate times
// 1000, cut toward zero, over 1000 (29.97002997 gives 29970/1000). Rates beyond what the ratio
// holds are clamped to it.
A_Ratio PlaceholderFrameRate(A_FpLong target_fps);
