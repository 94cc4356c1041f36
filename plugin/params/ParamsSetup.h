// Parameter setup: declares the effect's parameters.
#pragma once

#include "AE_Effect.h"

PF_Err ParamsSetup(PF_InData* in_data, PF_OutData* out_data);
