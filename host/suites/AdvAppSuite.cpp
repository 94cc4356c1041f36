// "PF AE Adv App Suite" v2: the host's Info panel. PF_InfoDrawText3Plus replaces the
// panel's three lines (a null text leaves that part empty) and is counted; the other
// slots are declined.
#include "core/Boundary.h"
#include "suites/Tables.h"

namespace tlhost {

namespace {

PF_Err InfoDrawText3Plus(const A_char* line1, const A_char* line2_right, const A_char* line2_left,
                         const A_char* line3_right, const A_char* line3_left) {
    return Serve("PF_InfoDrawText3Plus", [&](Host& host) -> A_Err {
        InfoPanel& panel = host.info_panel();
        const A_char* texts[] = {line1, line2_right, line2_left, line3_right, line3_left};
        for (std::size_t i = 0; i < panel.texts.size(); ++i) {
            panel.texts[i].assign(texts[i] ? texts[i] : "");
        }
        ++panel.updates;
        return PF_Err_NONE;
    });
}

PF_AdvAppSuite2 MakeAdvAppSuite2() {
    PF_AdvAppSuite2 s{};
    TL_DECLINE(s, PF_SetProjectDirty);
    TL_DECLINE(s, PF_SaveProject);
    TL_DECLINE(s, PF_SaveBackgroundState);
    TL_DECLINE(s, PF_ForceForeground);
    TL_DECLINE(s, PF_RestoreBackgroundState);
    TL_DECLINE(s, PF_RefreshAllWindows);
    TL_DECLINE(s, PF_InfoDrawText);
    TL_DECLINE(s, PF_InfoDrawColor);
    TL_DECLINE(s, PF_InfoDrawText3);
    s.PF_InfoDrawText3Plus = InfoDrawText3Plus;
    TL_DECLINE(s, PF_AppendInfoText);
    return s;
}

}  // namespace

const PF_AdvAppSuite2* AdvAppSuite2Table() {
    static const PF_AdvAppSuite2 table = MakeAdvAppSuite2();
    return &table;
}

}  // namespace tlhost
