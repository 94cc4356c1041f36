// The about-box text.
#pragma once

#include "AE_Effect.h"

// What About answers when the host's formatted printing did not write the text.
inline constexpr PF_Err kAboutNotWritten = A_Err_GENERIC;

// Prints the name and version, the year and maker, an empty line and the description, joined by
// carriage returns, into the return-message buffer. Returns 0, or kAboutNotWritten when the
// host's printing failed.
PF_Err About(PF_InData* in_data, PF_OutData* out_data);
