// The handler of user parameter changes and parameter-interface updates.
#pragma once

#include "AE_Effect.h"

PF_Err HandleChangedParam(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                          PF_LayerDef* output, const PF_UserChangedParamExtra* extra);
