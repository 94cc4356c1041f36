#include "shell/About.h"

#include "AE_EffectCB.h"
#include "shell/Identity.h"

PF_Err About(PF_InData* in_data, PF_OutData* out_data) {
    in_data->utils->ansi.sprintf(out_data->return_msg, "%s, v%s\r%s %s\r\r%s",
                                 identity::kDisplayName, identity::kProductVersion,
                                 identity::kAboutYear, identity::kAboutMaker,
                                 identity::kDescription);
    return PF_Err_NONE;
}
