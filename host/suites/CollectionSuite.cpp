// "AEGP Collection Suite" v2 and the selection of "AEGP Comp Suite" v18: collections of stream
// references, and making one a composition's selection.
//
// A collection is a reference the plug-in disposes. The host's rule for its items: a stream
// reference pushed into a collection is adopted by it. From the push on the collection frees it
// (disposing the collection releases it), and the plug-in disposing it itself is a double
// disposal, which the stream table reports naming the push that adopted it. Where the host's
// behaviour is not documented, the stand-in chooses:
//   - an adopted reference is no longer the plug-in's at all: using it after the push is
//     reported like a use after disposal (the strict reading of "owned by the collection");
//   - a push that fails adopts nothing: the reference stays the caller's to dispose;
//   - only stream-reference items are held (the only kind the plug-in makes); pushing an item
//     of another kind is declined;
//   - setting the selection checks every item first: one whose property is not in that
//     composition (another composition's, or one no longer in a layer's tree) is refused with
//     A_Err_PARAMETER and the selection is left as it was; an empty collection empties it.
// Counting, reading and erasing items are declined until something needs them; the comp suite's
// other functions are served in CompSuites.cpp.
#include <algorithm>
#include <string>

#include "core/Boundary.h"
#include "suites/Objects.h"
#include "suites/Tables.h"

namespace tlhost {

namespace {

// ---- Collection suite ---------------------------------------------------------------------------

A_Err NewCollection(AEGP_PluginID, AEGP_Collection2H* collectionPH) {
    return Serve("AEGP_NewCollection", [&](Host& host) -> A_Err {
        Require(collectionPH, "collection place");
        *collectionPH = host.collections().Make<AEGP_Collection2H>(
            host.ledger(), CollectionRecord{}, "collection");
        return A_Err_NONE;
    });
}

A_Err DisposeCollection(AEGP_Collection2H collectionH) {
    return Serve("AEGP_DisposeCollection", [&](Host& host) -> A_Err {
        // The stream references it adopted were taken out of the plug-in's hands at the push;
        // they go with it.
        host.collections().Dispose(host.ledger(), collectionH, "AEGP_DisposeCollection");
        return A_Err_NONE;
    });
}

A_Err CollectionPushBack(AEGP_Collection2H collectionH, const AEGP_CollectionItemV2* itemP) {
    constexpr const char* kFunction = "AEGP_CollectionPushBack";
    return Serve(kFunction, [&](Host& host) -> A_Err {
        Require(itemP, "item");
        CollectionRecord& collection = host.collections().Get(collectionH, kFunction);
        if (itemP->type != AEGP_CollectionItemType_STREAMREF) {
            host.ledger().Declined(
                (std::string(kFunction) + " (item type " + std::to_string(itemP->type) + ")")
                    .c_str());
            return kDeclinedErr;
        }
        // A foreign, disposed or already adopted reference is a breach; nothing is adopted then.
        StreamNode* node = host.streams().Get(itemP->stream_refH, kFunction).node;
        collection.streams.push_back(node);
        host.streams().Adopt(host.ledger(), itemP->stream_refH, kFunction);
        return A_Err_NONE;
    });
}

// ---- Comp suite ---------------------------------------------------------------------------------

// The child indices from the layer's root down to `node`.
std::vector<std::size_t> PathFromRoot(const StreamNode& node) {
    std::vector<std::size_t> path;
    for (const StreamNode* n = &node; n->parent(); n = n->parent()) {
        path.push_back(n->IndexInParent());
    }
    std::reverse(path.begin(), path.end());
    return path;
}

}  // namespace

A_Err CompSetSelection(AEGP_CompH compH, AEGP_Collection2H collectionH) {
    constexpr const char* kFunction = "AEGP_SetSelection";
    return Serve(kFunction, [&](Host& host) -> A_Err {
        Composition& comp = CompOf(host, compH);
        const CollectionRecord& collection = host.collections().Get(collectionH, kFunction);
        std::vector<SelectedStream> selection;
        selection.reserve(collection.streams.size());
        for (const StreamNode* node : collection.streams) {
            const Layer* layer = node ? node->layer() : nullptr;
            if (!layer || &layer->comp() != &comp) Refuse(A_Err_PARAMETER);
            selection.push_back(SelectedStream{layer->id(), PathFromRoot(*node)});
        }
        comp.selection = std::move(selection);
        return A_Err_NONE;
    });
}

namespace {

AEGP_CollectionSuite2 MakeCollectionSuite2() {
    AEGP_CollectionSuite2 s{};
    s.AEGP_NewCollection = NewCollection;
    s.AEGP_DisposeCollection = DisposeCollection;
    TL_DECLINE(s, AEGP_GetCollectionNumItems);
    TL_DECLINE(s, AEGP_GetCollectionItemByIndex);
    s.AEGP_CollectionPushBack = CollectionPushBack;
    TL_DECLINE(s, AEGP_CollectionErase);
    return s;
}

}  // namespace

const AEGP_CollectionSuite2* CollectionSuite2Table() {
    static const AEGP_CollectionSuite2 table = MakeCollectionSuite2();
    return &table;
}

}  // namespace tlhost
