// "AEGP PF Interface Suite" v1, "AEGP Effect Suite" v2 and v3: the calling effect
// instance, the effects on a layer, and effect references.
#include <cstring>

#include "core/Boundary.h"
#include "suites/Objects.h"
#include "suites/Tables.h"

namespace tlhost {

namespace {

std::string EffectText(const void* object, std::uint64_t) {
    const auto& effect = *static_cast<const EffectInstance*>(object);
    return "effect \"" + effect.match_name() + "\" on layer " + std::to_string(effect.layer().id());
}

AEGP_EffectRefH NewEffectRef(Host& host, EffectInstance& effect) {
    return host.effects().Make<AEGP_EffectRefH>(host.ledger(), &effect,
                                                RefWhat::Of(EffectText, &effect));
}

void RequirePlugin(Host& host, AEGP_PluginID id) {
    if (id <= 0 || static_cast<std::size_t>(id) > host.registered_plugins().size()) {
        Refuse(A_Err_PARAMETER);
    }
}

A_Err GetEffectLayer(PF_ProgPtr effect_ref, AEGP_LayerH* layerPH) {
    return Serve("AEGP_GetEffectLayer", [&](Host&) -> A_Err {
        Require(layerPH, "layer place");
        *layerPH = HandleOf(EffectOfRef(effect_ref).layer());
        return A_Err_NONE;
    });
}

A_Err GetNewEffectForEffect(AEGP_PluginID id, PF_ProgPtr effect_ref, AEGP_EffectRefH* effectPH) {
    return Serve("AEGP_GetNewEffectForEffect", [&](Host& host) -> A_Err {
        Require(effectPH, "effect place");
        RequirePlugin(host, id);
        *effectPH = NewEffectRef(host, EffectOfRef(effect_ref));
        return A_Err_NONE;
    });
}

A_Err GetLayerNumEffects(AEGP_LayerH layerH, A_long* num) {
    return Serve("AEGP_GetLayerNumEffects", [&](Host& host) -> A_Err {
        Require(num, "count place");
        *num = static_cast<A_long>(LayerOf(host, layerH).effects().size());
        return A_Err_NONE;
    });
}

A_Err GetLayerEffectByIndex(AEGP_PluginID id, AEGP_LayerH layerH, AEGP_EffectIndex index,
                            AEGP_EffectRefH* effectPH) {
    return Serve("AEGP_GetLayerEffectByIndex", [&](Host& host) -> A_Err {
        Require(effectPH, "effect place");
        RequirePlugin(host, id);
        auto& effects = LayerOf(host, layerH).effects();
        if (index < 0 || static_cast<std::size_t>(index) >= effects.size()) Refuse(A_Err_PARAMETER);
        *effectPH = NewEffectRef(host, *effects[static_cast<std::size_t>(index)]);
        return A_Err_NONE;
    });
}

A_Err GetInstalledKeyFromLayerEffect(AEGP_EffectRefH effectH, AEGP_InstalledEffectKey* key) {
    return Serve("AEGP_GetInstalledKeyFromLayerEffect", [&](Host& host) -> A_Err {
        Require(key, "key place");
        EffectInstance* effect = host.effects().Get(effectH, "AEGP_GetInstalledKeyFromLayerEffect");
        *key = host.InstalledKey(effect->match_name());
        return A_Err_NONE;
    });
}

A_Err GetEffectMatchName(AEGP_InstalledEffectKey key, A_char* name) {
    return Serve("AEGP_GetEffectMatchName", [&](Host& host) -> A_Err {
        Require(name, "name buffer");
        const std::string* match_name = host.InstalledMatchName(key);
        if (!match_name) Refuse(A_Err_PARAMETER);
        if (match_name->size() >= AEGP_MAX_EFFECT_MATCH_NAME_SIZE) Refuse(A_Err_PARAMETER);
        std::memcpy(name, match_name->c_str(), match_name->size() + 1);
        return A_Err_NONE;
    });
}

A_Err DisposeEffect(AEGP_EffectRefH effectH) {
    return Serve("AEGP_DisposeEffect", [&](Host& host) -> A_Err {
        host.effects().Dispose(host.ledger(), effectH, "AEGP_DisposeEffect");
        return A_Err_NONE;
    });
}

AEGP_PFInterfaceSuite1 MakePFInterfaceSuite1() {
    AEGP_PFInterfaceSuite1 s{};
    s.AEGP_GetEffectLayer = GetEffectLayer;
    s.AEGP_GetNewEffectForEffect = GetNewEffectForEffect;
    TL_DECLINE(s, AEGP_ConvertEffectToCompTime);
    TL_DECLINE(s, AEGP_GetEffectCamera);
    TL_DECLINE(s, AEGP_GetEffectCameraMatrix);
    return s;
}

// The slots both effect-suite versions have alike; only the generic call differs.
template <class Suite>
void FillSharedEffectSlots(Suite& s) {
    s.AEGP_GetLayerNumEffects = GetLayerNumEffects;
    s.AEGP_GetLayerEffectByIndex = GetLayerEffectByIndex;
    s.AEGP_GetInstalledKeyFromLayerEffect = GetInstalledKeyFromLayerEffect;
    TL_DECLINE(s, AEGP_GetEffectParamUnionByIndex);
    TL_DECLINE(s, AEGP_GetEffectFlags);
    TL_DECLINE(s, AEGP_SetEffectFlags);
    TL_DECLINE(s, AEGP_ReorderEffect);
    TL_DECLINE(s, AEGP_EffectCallGeneric);
    s.AEGP_DisposeEffect = DisposeEffect;
    TL_DECLINE(s, AEGP_ApplyEffect);
    TL_DECLINE(s, AEGP_DeleteLayerEffect);
    TL_DECLINE(s, AEGP_GetNumInstalledEffects);
    TL_DECLINE(s, AEGP_GetNextInstalledEffect);
    TL_DECLINE(s, AEGP_GetEffectName);
    s.AEGP_GetEffectMatchName = GetEffectMatchName;
    TL_DECLINE(s, AEGP_GetEffectCategory);
    TL_DECLINE(s, AEGP_DuplicateEffect);
}

AEGP_EffectSuite2 MakeEffectSuite2() {
    AEGP_EffectSuite2 s{};
    FillSharedEffectSlots(s);
    return s;
}

AEGP_EffectSuite3 MakeEffectSuite3() {
    AEGP_EffectSuite3 s{};
    FillSharedEffectSlots(s);
    return s;
}

}  // namespace

const AEGP_PFInterfaceSuite1* PFInterfaceSuite1Table() {
    static const AEGP_PFInterfaceSuite1 table = MakePFInterfaceSuite1();
    return &table;
}

const AEGP_EffectSuite2* EffectSuite2Table() {
    static const AEGP_EffectSuite2 table = MakeEffectSuite2();
    return &table;
}

const AEGP_EffectSuite3* EffectSuite3Table() {
    static const AEGP_EffectSuite3 table = MakeEffectSuite3();
    return &table;
}

}  // namespace tlhost
