#include "panel/ModulePanel.h"

PF_Err DrawEvent(PF_InData* /*in_data*/, PF_OutData* /*out_data*/, PF_ParamDef* /*params*/[],
                 PF_LayerDef* /*output*/, PF_EventExtra* /*event*/) {
    return PF_Err_NONE;
}

PF_Err DoClick(PF_InData* /*in_data*/, PF_OutData* /*out_data*/, PF_ParamDef* /*params*/[],
               PF_LayerDef* /*output*/, PF_EventExtra* /*event*/) {
    return PF_Err_NONE;
}
