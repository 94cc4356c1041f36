// The custom-drawn row of module buttons over the module-state record (the 10-byte value of the
// "Modules" parameter). A button shows whether its module is on; a click switches the module, its
// enable checkbox and its shapes on every connection layer together.
#pragma once

#include "AE_Effect.h"
#include "AE_EffectUI.h"
#include "DrawbotSuite.h"

// Draws the panel for a draw event: background, then for each module its button image (pressed
// when the record's byte is non-zero) and caption, then the button borders. Draws the background
// and the borders only when the record cannot be locked, nothing past the background colour when
// the event is not for the control area. Everything acquired is released and the record unlocked
// whatever fails; the first failure is returned.
PF_Err DrawEvent(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                 PF_LayerDef* output, PF_EventExtra* event);

// Switches the module under a click in the control area: toggles its record byte, writes the
// same value into its enable checkbox, asks for a redraw, then shows or hides the module's shapes
// on every connection layer. A click outside the panel's box, between buttons or in the caption
// strip, or with a record that cannot be locked, changes nothing and returns 0.
PF_Err DoClick(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef* output,
               PF_EventExtra* event);

// The host's panel background as a drawing colour: each 16-bit component over 65535, opaque.
// Returns the suite's acquisition error, else the call's, else the release's.
PF_Err AcquireBackgroundColor(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                              PF_EventExtra* event, DRAWBOT_ColorRGBA* color);

// Asks the host to redraw the control's frame now and to store the changed record: invalidates
// the frame, adds PF_EO_HANDLED_EVENT and PF_EO_UPDATE_NOW to the event's output flags and
// PF_ChangeFlag_CHANGED_VALUE to the "Modules" parameter. Returns the invalidation's error.
PF_Err RefreshCustomUI(PF_InData* in_data, PF_ParamDef* params[], PF_EventExtra* event);
