// "AEGP Composite Suite" v4: the bit copies.
#include "core/Boundary.h"
#include "model/World.h"
#include "suites/Tables.h"

namespace tlhost {

namespace {

A_Err CopyBits(const char* function, PF_EffectWorld* src, A_Rect* src_r, A_Rect* dst_r,
               PF_EffectWorld* dst) {
    return Serve(function, [&](Host&) -> A_Err {
        if (!src || !dst) Breach(A_Err_PARAMETER, "null world");
        return CopyWorldPixels(src, reinterpret_cast<const PF_Rect*>(src_r), dst,
                               reinterpret_cast<const PF_Rect*>(dst_r));
    });
}

A_Err CopyBitsLQ(PF_EffectWorld* src, A_Rect* sr, A_Rect* dr, PF_EffectWorld* dst) {
    return CopyBits("AEGP_CopyBits_LQ", src, sr, dr, dst);
}
A_Err CopyBitsHQStraight(PF_EffectWorld* src, A_Rect* sr, A_Rect* dr, PF_EffectWorld* dst) {
    return CopyBits("AEGP_CopyBits_HQ_Straight", src, sr, dr, dst);
}
A_Err CopyBitsHQPremul(PF_EffectWorld* src, A_Rect* sr, A_Rect* dr, PF_EffectWorld* dst) {
    return CopyBits("AEGP_CopyBits_HQ_Premul", src, sr, dr, dst);
}

}  // namespace

const AEGP_CompositeSuite2* CompositeSuite2Table() {
    static const AEGP_CompositeSuite2 table = [] {
        AEGP_CompositeSuite2 s{};
        TL_DECLINE(s, AEGP_ClearAlphaExceptRect);
        TL_DECLINE(s, AEGP_PrepTrackMatte);
        TL_DECLINE(s, AEGP_TransferRect);
        s.AEGP_CopyBits_LQ = CopyBitsLQ;
        s.AEGP_CopyBits_HQ_Straight = CopyBitsHQStraight;
        s.AEGP_CopyBits_HQ_Premul = CopyBitsHQPremul;
        return s;
    }();
    return &table;
}

}  // namespace tlhost
