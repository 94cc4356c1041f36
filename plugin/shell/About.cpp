#include "shell/About.h"

#include <cstdio>

#include "AE_EffectCB.h"
#include "shell/Identity.h"

namespace {
constexpr char kAboutFormat[] = "%s, v%s\r%s %s\r\r%s";
}  // namespace

PF_Err About(PF_InData* in_data, PF_OutData* out_data) {
    const int length =
        std::snprintf(nullptr, 0, kAboutFormat, identity::kDisplayName, identity::kProductVersion,
                      identity::kAboutYear, identity::kAboutMaker, identity::kDescription);
    const int written = in_data->utils->ansi.sprintf(
        out_data->return_msg, kAboutFormat, identity::kDisplayName, identity::kProductVersion,
        identity::kAboutYear, identity::kAboutMaker, identity::kDescription);
    // The host's printing answers how much it wrote; anything else means the box would be empty.
    return written == length ? PF_Err_NONE : kAboutNotWritten;
}
