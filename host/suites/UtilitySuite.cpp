// "AEGP Utility Suite" v11: plug-in registration and undo groups.
#include "core/Boundary.h"
#include "suites/Tables.h"

namespace tlhost {

namespace {

A_Err RegisterWithAEGP(AEGP_GlobalRefcon, const A_char* name, AEGP_PluginID* id) {
    return Serve("AEGP_RegisterWithAEGP", [&](Host& host) -> A_Err {
        if (!name || !id) Breach(A_Err_PARAMETER, "null name or plug-in id place");
        *id = host.RegisterPlugin(name);
        return A_Err_NONE;
    });
}

A_Err StartUndoGroup(const A_char* name) {
    return Serve("AEGP_StartUndoGroup", [&](Host& host) -> A_Err {
        if (!name) Breach(A_Err_PARAMETER, "null undo group name");
        host.project().StartUndoGroup(name, host.ledger().Acquire(RefKind::UndoGroup, name));
        return A_Err_NONE;
    });
}

// Undo groups nest; each is a reference from its start to its end. Ending a group when
// none is open (none was started in this command, or all were ended) is a breach.
A_Err EndUndoGroup() {
    return Serve("AEGP_EndUndoGroup", [&](Host& host) -> A_Err {
        RefId ref = 0;
        if (!host.project().EndUndoGroup(&ref)) {
            Breach(A_Err_GENERIC, "ends an undo group, but none is open");
        }
        host.ledger().Release(ref, "AEGP_EndUndoGroup");
        return A_Err_NONE;
    });
}

AEGP_UtilitySuite5 MakeUtilitySuite5() {
    AEGP_UtilitySuite5 s{};
    TL_DECLINE(s, AEGP_ReportInfo);
    TL_DECLINE(s, AEGP_GetDriverPluginInitFuncVersion);
    TL_DECLINE(s, AEGP_GetDriverImplementationVersion);
    TL_DECLINE(s, AEGP_StartQuietErrors);
    TL_DECLINE(s, AEGP_EndQuietErrors);
    TL_DECLINE(s, AEGP_GetLastErrorMessage);
    s.AEGP_StartUndoGroup = StartUndoGroup;
    s.AEGP_EndUndoGroup = EndUndoGroup;
    s.AEGP_RegisterWithAEGP = RegisterWithAEGP;
    TL_DECLINE(s, AEGP_GetMainHWND);
    TL_DECLINE(s, AEGP_ShowHideAllFloaters);
    TL_DECLINE(s, AEGP_PaintPalGetForeColor);
    TL_DECLINE(s, AEGP_PaintPalGetBackColor);
    TL_DECLINE(s, AEGP_PaintPalSetForeColor);
    TL_DECLINE(s, AEGP_PaintPalSetBackColor);
    TL_DECLINE(s, AEGP_CharPalGetFillColor);
    TL_DECLINE(s, AEGP_CharPalGetStrokeColor);
    TL_DECLINE(s, AEGP_CharPalSetFillColor);
    TL_DECLINE(s, AEGP_CharPalSetStrokeColor);
    TL_DECLINE(s, AEGP_CharPalIsFillColorUIFrontmost);
    TL_DECLINE(s, AEGP_ConvertFpLongToHSFRatio);
    TL_DECLINE(s, AEGP_ConvertHSFRatioToFpLong);
    TL_DECLINE(s, AEGP_CauseIdleRoutinesToBeCalled);
    TL_DECLINE(s, AEGP_GetSuppressInteractiveUI);
    TL_DECLINE(s, AEGP_WriteToOSConsole);
    TL_DECLINE(s, AEGP_WriteToDebugLog);
    TL_DECLINE(s, AEGP_IsScriptingAvailable);
    TL_DECLINE(s, AEGP_ExecuteScript);
    TL_DECLINE(s, AEGP_HostIsActivated);
    TL_DECLINE(s, AEGP_GetPluginPlatformRef);
    TL_DECLINE(s, AEGP_UpdateFontList);
    return s;
}

}  // namespace

const AEGP_UtilitySuite5* UtilitySuite5Table() {
    static const AEGP_UtilitySuite5 table = MakeUtilitySuite5();
    return &table;
}

}  // namespace tlhost
