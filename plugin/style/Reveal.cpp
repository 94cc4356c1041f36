#include "style/Reveal.h"

#include <cstddef>
#include <utility>

#include "shell/GlobalSetup.h"
#include "shell/RunningError.h"
#include "shell/Scoped.h"
#include "shell/SuiteHandler.h"
#include "style/ConnectedLayers.h"
#include "style/Writers.h"

namespace {

struct CollectionDisposal {
    using Handle = AEGP_Collection2H;
    using Fn = A_Err (*)(AEGP_Collection2H);
    // "AEGP Collection Suite" v2.
    static Fn Of(AEGP_SuiteHandler& s) { return s.CollectionSuite2()->AEGP_DisposeCollection; }
};
// A collection, disposed exactly once; the stream references it took over go with it.
using ScopedCollection = ScopedAegpRef<CollectionDisposal>;

// The streams found for the selection, in order. A stream pushed into the collection belongs to
// the collection from then on (disposing it here as well would dispose it twice); every other
// one is disposed here, by Dispose or, on any other way out, by the destructor. The suite that
// disposes them is in hand before the first is found, so that they can always go back.
class FoundStreams {
  public:
    explicit FoundStreams(PF_InData* in_data)
        : suites_(in_data->pica_basicP), dispose_(suites_.StreamSuite4()->AEGP_DisposeStream) {}
    ~FoundStreams() { Dispose(); }
    FoundStreams(const FoundStreams&) = delete;
    FoundStreams& operator=(const FoundStreams&) = delete;

    StreamList& list() { return list_; }
    // The streams the collection has taken over, from the front of the list.
    void TakenOver(std::size_t count) { taken_ = count; }

    // Disposes the streams still held and empties the list. Returns the first disposal error.
    A_Err Dispose() {
        list_.erase(list_.begin(), list_.begin() + static_cast<std::ptrdiff_t>(taken_));
        taken_ = 0;
        RunningError err;
        for (AEGP_StreamRefH stream : list_) err.Release(dispose_(stream));
        list_.clear();
        return err.get();
    }

  private:
    AEGP_SuiteHandler suites_;
    A_Err (*dispose_)(AEGP_StreamRefH);
    StreamList list_;
    std::size_t taken_ = 0;
};

}  // namespace

A_Err SelectStreamsByMatchName(PF_InData* in_data, const A_char* match_name, A_Boolean within_group,
                               const A_char* group_match_name) {
    AEGP_PluginID plugin_id = 0;
    RunningError err;
    FoundStreams found(in_data);
    err.Then([&] { return GetPluginID(in_data, &plugin_id); });

    // The matching properties of every connection layer, in list order. Each layer's root
    // stream is disposed after its layer.
    {
        AEGP_SuiteHandler suites(in_data->pica_basicP);
        RunOnConnectionLayers(
            in_data, suites, err, [&](AEGP_StreamRefH root, AEGP_LayerIDVal, AEGP_LayerIDVal) {
                return GetLayerStreamsByMatchName(in_data, root, match_name, found.list(),
                                                  within_group, group_match_name);
            });
    }

    // One collection of them, in the same order, made the composition's selection. An empty
    // collection empties the selection.
    {
        AEGP_SuiteHandler suites(in_data->pica_basicP);
        AEGP_LayerH effect_layer = nullptr;
        AEGP_CompH comp = nullptr;
        ScopedCollection collection(suites);
        err.Then([&] {
               return suites.PFInterfaceSuite1()->AEGP_GetEffectLayer(in_data->effect_ref,
                                                                      &effect_layer);
           })
            .Then(
                [&] { return suites.LayerSuite7()->AEGP_GetLayerParentComp(effect_layer, &comp); })
            .Then([&] {
                return suites.CollectionSuite2()->AEGP_NewCollection(plugin_id, collection.put());
            });
        std::size_t pushed = 0;
        for (AEGP_StreamRefH stream : found.list()) {
            if (!err.ok()) break;
            AEGP_CollectionItemV2 item{};
            item.type = AEGP_CollectionItemType_STREAMREF;
            item.stream_refH = stream;
            err.Then([&] {
                return suites.CollectionSuite2()->AEGP_CollectionPushBack(collection.get(), &item);
            });
            // A push that failed left the stream with us.
            if (err.ok()) found.TakenOver(++pushed);
        }
        err.Then([&] { return suites.CompSuite8()->AEGP_SetSelection(comp, collection.get()); });
        err.Release(collection.Dispose());
    }

    err.Release(found.Dispose());
    return err.get();
}
