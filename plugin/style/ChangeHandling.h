// Reacts to parameter changes: the retitling and visibility pass, then the dispatch on the
// changed parameter.
#pragma once

#include <cstddef>
#include <string>

#include "AE_Effect.h"
#include "AE_GeneralPlug.h"
#include "shell/RunningError.h"
#include "shell/Scoped.h"
#include "shell/SuiteHandler.h"

// What one HandleChangedParam call holds, from its first step to its last. Everything here is
// released before the call returns; nothing survives between calls.
struct ChangeContext {
    ChangeContext(PF_InData* in, PF_OutData* out, PF_ParamDef** param_list)
        : in_data(in), out_data(out), params(param_list), suites(in->pica_basicP), effect(suites) {}

    PF_InData* in_data;
    PF_OutData* out_data;
    PF_ParamDef** params;
    // Suites are acquired on first use and all released when the call returns.
    AEGP_SuiteHandler suites;
    // The layer that carries this effect instance, and its whole name (UTF-8) for expression
    // texts.
    AEGP_LayerH effect_layer = nullptr;
    std::string effect_layer_name;
    // This instance, as the AEGP layer sees it; disposed when the call returns.
    ScopedEffect effect;
    // The identifier the host gave the plug-in at global setup.
    AEGP_PluginID plugin_id = 0;
    // Zero while all is well; the first failure wins and is the command's result.
    RunningError err;
};

// The work for one changed parameter. Reads and updates ctx.err; does no host work while it is
// set unless the case says otherwise.
using ChangeCase = void (*)(ChangeContext& ctx);

// One row of the dispatch on the changed parameter's index.
struct ChangeCaseRow {
    PF_ParamIndex index;
    ChangeCase run;
};

// The dispatch rows, one per parameter whose change needs work, defined with the cases.
extern const ChangeCaseRow kChangeCases[];
extern const std::size_t kChangeCaseCount;

// The case for a parameter index, or null when a change of that parameter needs no work beyond
// the interface pass.
ChangeCase FindChangeCase(PF_ParamIndex index);

// With a change record: the interface update, then the work for the changed parameter.
// Without one (the update-parameters-interface command): the interface update only.
PF_Err HandleChangedParam(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                          PF_LayerDef* output, const PF_UserChangedParamExtra* extra);
