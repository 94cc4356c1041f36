// The about-box text.
#pragma once

#include "AE_Effect.h"

// Prints the name and version, the year and maker, an empty line and the description, joined by
// carriage returns, into the return-message buffer. Returns 0.
PF_Err About(PF_InData* in_data, PF_OutData* out_data);
