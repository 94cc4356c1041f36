#include "params/ParamsSetup.h"

// The parameter table arrives with the parameters themselves; until then the
// effect declares nothing beyond its input layer.
PF_Err ParamsSetup(PF_InData* /*in_data*/, PF_OutData* /*out_data*/) { return PF_Err_NONE; }
