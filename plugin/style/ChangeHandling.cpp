#include "style/ChangeHandling.h"

// Filled in with the visibility rules and the styling dispatch.
PF_Err HandleChangedParam(PF_InData* /*in_data*/, PF_OutData* /*out_data*/,
                          PF_ParamDef* /*params*/[], PF_LayerDef* /*output*/,
                          const PF_UserChangedParamExtra* /*extra*/) {
    return PF_Err_NONE;
}
