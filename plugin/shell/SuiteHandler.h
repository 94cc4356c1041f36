// The suite cache: acquires host suites by name and version on first use and releases them all
// together when it goes out of scope.
//
// Build one on the stack at the start of every handler (and of every function that talks to the
// host) from in_data->pica_basicP; never share one between calls or threads. A suite the host
// cannot give is thrown as the integer PF_Err_BAD_CALLBACK_PARAM (516), which the entry point
// returns as the command's error; every suite acquired before that is still released.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "AE_Effect.h"
#include "AE_EffectCBSuites.h"
#include "AE_EffectSuites.h"
#include "AE_AdvEffectSuites.h"
#include "AE_GeneralPlug.h"
#include "SPBasic.h"

// Throws the missing-suite error of the suite cache: the integer 516 as an A_Err.
[[noreturn]] void MissingSuiteError();

class AEGP_SuiteHandler {
  public:
    // Throws the missing-suite error when `pica` is null.
    explicit AEGP_SuiteHandler(const SPBasicSuite* pica);
    ~AEGP_SuiteHandler();

    AEGP_SuiteHandler(const AEGP_SuiteHandler&) = delete;
    AEGP_SuiteHandler& operator=(const AEGP_SuiteHandler&) = delete;

    // Releases every suite acquired so far; later accessor calls acquire again.
    void ReleaseAllSuites();

    // One accessor per suite and version in use, named after the host's table type.
    PF_HandleSuite1* HandleSuite1() const { return Get<PF_HandleSuite1>(Slot::Handle1); }
    PFAppSuite4* AppSuite4() const { return Get<PFAppSuite4>(Slot::App4); }
    PF_EffectCustomUISuite1* CustomUISuite1() const {
        return Get<PF_EffectCustomUISuite1>(Slot::CustomUI1);
    }
    PF_ParamUtilsSuite1* ParamUtilsSuite1() const {
        return Get<PF_ParamUtilsSuite1>(Slot::ParamUtils1);
    }
    PF_AdvAppSuite2* AdvAppSuite2() const { return Get<PF_AdvAppSuite2>(Slot::AdvApp2); }
    AEGP_UtilitySuite5* UtilitySuite5() const { return Get<AEGP_UtilitySuite5>(Slot::Utility5); }
    AEGP_CompositeSuite2* CompositeSuite2() const {
        return Get<AEGP_CompositeSuite2>(Slot::Composite2);
    }
    AEGP_PFInterfaceSuite1* PFInterfaceSuite1() const {
        return Get<AEGP_PFInterfaceSuite1>(Slot::PFInterface1);
    }
    AEGP_LayerSuite5* LayerSuite5() const { return Get<AEGP_LayerSuite5>(Slot::Layer5); }
    AEGP_LayerSuite7* LayerSuite7() const { return Get<AEGP_LayerSuite7>(Slot::Layer7); }
    AEGP_EffectSuite2* EffectSuite2() const { return Get<AEGP_EffectSuite2>(Slot::Effect2); }
    AEGP_EffectSuite3* EffectSuite3() const { return Get<AEGP_EffectSuite3>(Slot::Effect3); }
    AEGP_StreamSuite2* StreamSuite2() const { return Get<AEGP_StreamSuite2>(Slot::Stream2); }
    AEGP_StreamSuite3* StreamSuite3() const { return Get<AEGP_StreamSuite3>(Slot::Stream3); }
    AEGP_StreamSuite4* StreamSuite4() const { return Get<AEGP_StreamSuite4>(Slot::Stream4); }
    AEGP_DynamicStreamSuite4* DynamicStreamSuite4() const {
        return Get<AEGP_DynamicStreamSuite4>(Slot::DynamicStream4);
    }
    AEGP_KeyframeSuite4* KeyframeSuite4() const {
        return Get<AEGP_KeyframeSuite4>(Slot::Keyframe4);
    }
    AEGP_CompSuite5* CompSuite5() const { return Get<AEGP_CompSuite5>(Slot::Comp5); }
    AEGP_CompSuite7* CompSuite7() const { return Get<AEGP_CompSuite7>(Slot::Comp7); }
    AEGP_CompSuite8* CompSuite8() const { return Get<AEGP_CompSuite8>(Slot::Comp8); }
    AEGP_CollectionSuite2* CollectionSuite2() const {
        return Get<AEGP_CollectionSuite2>(Slot::Collection2);
    }
    AEGP_ItemSuite8* ItemSuite8() const { return Get<AEGP_ItemSuite8>(Slot::Item8); }
    AEGP_ProjSuite5* ProjSuite5() const { return Get<AEGP_ProjSuite5>(Slot::Proj5); }
    AEGP_MaskOutlineSuite2* MaskOutlineSuite2() const {
        return Get<AEGP_MaskOutlineSuite2>(Slot::MaskOutline2);
    }
    AEGP_MemorySuite1* MemorySuite1() const { return Get<AEGP_MemorySuite1>(Slot::Memory1); }

  private:
    // One slot per (suite, version); the names and versions are in the table in the .cpp.
    enum class Slot : std::size_t {
        Handle1,
        App4,
        CustomUI1,
        ParamUtils1,
        AdvApp2,
        Utility5,
        Composite2,
        PFInterface1,
        Layer5,
        Layer7,
        Effect2,
        Effect3,
        Stream2,
        Stream3,
        Stream4,
        DynamicStream4,
        Keyframe4,
        Comp5,
        Comp7,
        Comp8,
        Collection2,
        Item8,
        Proj5,
        MaskOutline2,
        Memory1,
        Count
    };
    static constexpr std::size_t kSlotCount = static_cast<std::size_t>(Slot::Count);

    // Acquires a suite; throws the missing-suite error on a host error or a null table.
    const void* LoadSuite(const char* name, std::int32_t version) const;
    // Releases one suite through the basic suite.
    void ReleaseSuite(const char* name, std::int32_t version) const;
    // The cached table of a slot, acquired on first use.
    const void* CachedSuite(Slot slot) const;

    template <class SuiteT>
    SuiteT* Get(Slot slot) const {
        return static_cast<SuiteT*>(const_cast<void*>(CachedSuite(slot)));
    }

    const SPBasicSuite* pica_;
    mutable std::array<const void*, kSlotCount> suites_{};
};
