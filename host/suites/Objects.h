// Handles of persistent project objects (layers, compositions): the object's
// address, checked against the project before use.
#pragma once

#include "AE_GeneralPlug.h"
#include "core/Errors.h"
#include "core/Host.h"

namespace tlhost {

inline Layer& LayerOf(Host& host, AEGP_LayerH handle) {
    if (!host.project().IsLayer(handle)) Breach(A_Err_PARAMETER, "not a layer of this project");
    return *reinterpret_cast<Layer*>(handle);
}
inline AEGP_LayerH HandleOf(Layer& layer) {
    return reinterpret_cast<AEGP_LayerH>(&layer);
}

inline Composition& CompOf(Host& host, AEGP_CompH handle) {
    if (!host.project().IsComposition(handle)) {
        Breach(A_Err_PARAMETER, "not a composition of this project");
    }
    return *reinterpret_cast<Composition*>(handle);
}
inline AEGP_CompH HandleOf(Composition& comp) {
    return reinterpret_cast<AEGP_CompH>(&comp);
}

// Items (compositions, folders, footage): the item's handle key, which differs from a
// composition's handle.
inline Item& ItemOf(Host& host, AEGP_ItemH handle) {
    Item* item = host.project().ItemForHandle(handle);
    if (!item) Breach(A_Err_PARAMETER, "not an item of this project");
    return *item;
}
inline AEGP_ItemH HandleOf(Item& item) {
    return reinterpret_cast<AEGP_ItemH>(const_cast<void*>(item.handle_key()));
}

template <class T>
void Require(T* place, const char* what) {
    if (!place) Breach(A_Err_PARAMETER, std::string("null ") + what);
}

// The effect instance behind an effect_ref the host handed to the plug-in.
EffectInstance& EffectOfRef(PF_ProgPtr effect_ref);

// A host memory handle holding `bytes`, owned by the caller of the host function.
AEGP_MemHandle NewMemHandle(Host& host, std::vector<std::uint8_t> bytes, std::string what);
// UTF-16 text with its terminating zero, as the host returns names.
std::vector<std::uint8_t> Utf16Bytes(const std::string& utf8);

}  // namespace tlhost
