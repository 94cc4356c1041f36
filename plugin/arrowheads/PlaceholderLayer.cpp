#include "arrowheads/PlaceholderLayer.h"

#include <cmath>
#include <limits>
#include <string>

#include "arrowheads/OutlineTable.h"
#include "shell/GlobalSetup.h"
#include "shell/RunningError.h"
#include "shell/Scoped.h"
#include "shell/SuiteHandler.h"
#include "style/ExpressionText.h"

namespace {

constexpr char kContentsMatchName[] = "ADBE Root Vectors Group";
constexpr char kPathGroupMatchName[] = "ADBE Vector Shape - Group";
constexpr char kPathMatchName[] = "ADBE Vector Shape";
constexpr char kFillMatchName[] = "ADBE Vector Graphic - Fill";
constexpr char kFillColorMatchName[] = "ADBE Vector Fill Color";
// Values are read where the composition starts, after expressions.
constexpr A_Time kCompTimeZero = {0, 1};
constexpr AEGP_ColorVal kWhite = {1, 1, 1, 1};

// ---- finding the composition -------------------------------------------------------------------

// The first item of the project that is a composition named exactly "TL_Arrowhead", or null.
A_Err FindPlaceholderItem(AEGP_SuiteHandler& suites, AEGP_PluginID plugin_id, AEGP_ItemH* found) {
    *found = nullptr;
    RunningError err;
    AEGP_ProjectH project = nullptr;
    AEGP_ItemH item = nullptr;
    err.Then([&] { return suites.ProjSuite5()->AEGP_GetProjectByIndex(0, &project); }).Then([&] {
        return suites.ItemSuite8()->AEGP_GetFirstProjItem(project, &item);
    });
    while (err.ok() && item != nullptr) {
        AEGP_ItemType type = AEGP_ItemType_NONE;
        ScopedMemHandle name_handle(suites);
        std::string name;
        err.Then([&] { return suites.ItemSuite8()->AEGP_GetItemType(item, &type); })
            .Then([&] {
                return suites.ItemSuite8()->AEGP_GetItemName(plugin_id, item, name_handle.put());
            })
            .Then(
                [&] { return MemHandleTextUTF8(suites, name_handle.get(), name, kItemNameUnits); });
        err.Release(name_handle.Dispose());
        if (err.ok() && type == AEGP_ItemType_COMP && name == kPlaceholderCompName) {
            *found = item;
            return A_Err_NONE;
        }
        AEGP_ItemH next = nullptr;
        err.Then([&] { return suites.ItemSuite8()->AEGP_GetNextProjItem(project, item, &next); });
        item = next;
    }
    return err.get();
}

// ---- building it -------------------------------------------------------------------------------

// Adds one path of the outline table to the shape layer's contents, closed.
A_Err AddOutlinePath(AEGP_SuiteHandler& suites, AEGP_PluginID plugin_id, AEGP_StreamRefH contents,
                     int path_number) {
    RunningError err;
    ScopedStream group(suites);
    ScopedStream path(suites);
    ScopedStreamValue value(suites);
    err.Then([&] {
           return suites.DynamicStreamSuite4()->AEGP_AddStream(plugin_id, contents,
                                                               kPathGroupMatchName, group.put());
       })
        .Then([&] {
            return suites.DynamicStreamSuite4()->AEGP_GetNewStreamRefByMatchname(
                plugin_id, group.get(), kPathMatchName, path.put());
        })
        .Then([&] {
            return suites.StreamSuite4()->AEGP_GetNewStreamValue(
                plugin_id, path.get(), AEGP_LTimeMode_CompTime, &kCompTimeZero, FALSE, value.put());
        });
    AEGP_MaskOutlineSuite2* outlines = err.ok() ? suites.MaskOutlineSuite2() : nullptr;
    for (const OutlineVertex& row : kArrowheadOutline) {
        if (!err.ok()) break;
        if (row.path != path_number) continue;
        const AEGP_MaskOutlineValH outline = value.get().val.mask;
        AEGP_MaskVertex vertex{};
        err.Call(outlines->AEGP_CreateVertex, outline, row.vertex)
            .Call(outlines->AEGP_GetMaskOutlineVertexInfo, outline, row.vertex, &vertex)
            .Then([&] {
                vertex.x = row.x;
                vertex.y = row.y;
                vertex.tan_in_x = row.in_x;
                vertex.tan_in_y = row.in_y;
                vertex.tan_out_x = row.out_x;
                vertex.tan_out_y = row.out_y;
                return outlines->AEGP_SetMaskOutlineVertexInfo(outline, row.vertex, &vertex);
            });
    }
    err.Then([&] { return outlines->AEGP_SetMaskOutlineOpen(value.get().val.mask, FALSE); })
        .Then([&] {
            return suites.StreamSuite4()->AEGP_SetStreamValue(plugin_id, path.get(), &value.get());
        });
    // The value first, then the path and its group.
    err.Release(value.Dispose());
    err.Release(path.Dispose());
    err.Release(group.Dispose());
    return err.get();
}

// Reads the value of `stream`, lets `change` alter it, and stores it.
template <class Change>
A_Err ChangeValue(AEGP_SuiteHandler& suites, AEGP_PluginID plugin_id, AEGP_StreamRefH stream,
                  Change change) {
    RunningError err;
    ScopedStreamValue value(suites);
    err.Then([&] {
           return suites.StreamSuite4()->AEGP_GetNewStreamValue(
               plugin_id, stream, AEGP_LTimeMode_CompTime, &kCompTimeZero, FALSE, value.put());
       })
        .Then([&] {
            change(value.get().val);
            return suites.StreamSuite4()->AEGP_SetStreamValue(plugin_id, stream, &value.get());
        });
    err.Release(value.Dispose());
    return err.get();
}

// Builds "TL_Arrowhead" for `target` and writes its item to `*built`.
A_Err BuildPlaceholderComp(AEGP_SuiteHandler& suites, AEGP_PluginID plugin_id, AEGP_CompH target,
                           AEGP_ItemH* built) {
    RunningError err;
    AEGP_CompH comp = nullptr;
    AEGP_ItemH target_item = nullptr;
    A_Ratio pixel_aspect{1, 1};
    A_Time duration{0, 1};
    A_FpLong fps = 0;
    err.Then([&] { return suites.CompSuite8()->AEGP_GetItemFromComp(target, &target_item); })
        .Then([&] {
            return suites.ItemSuite8()->AEGP_GetItemPixelAspectRatio(target_item, &pixel_aspect);
        })
        .Then([&] { return suites.ItemSuite8()->AEGP_GetItemDuration(target_item, &duration); })
        .Then([&] { return suites.CompSuite8()->AEGP_GetCompFramerate(target, &fps); })
        .Then([&] {
            const A_Ratio rate = PlaceholderFrameRate(fps);
            return suites.CompSuite5()->AEGP_CreateComp(nullptr, kPlaceholderCompName,
                                                        kPlaceholderCompSize, kPlaceholderCompSize,
                                                        &pixel_aspect, &duration, &rate, &comp);
        })
        .Then([&] { return suites.CompSuite8()->AEGP_GetItemFromComp(comp, built); });

    AEGP_LayerH shape_layer = nullptr;
    ScopedStream root(suites);
    ScopedStream contents(suites);
    err.Then([&] { return suites.CompSuite8()->AEGP_CreateVectorLayerInComp(comp, &shape_layer); })
        .Then([&] {
            return suites.DynamicStreamSuite4()->AEGP_GetNewStreamRefForLayer(
                plugin_id, shape_layer, root.put());
        })
        .Then([&] {
            return suites.DynamicStreamSuite4()->AEGP_GetNewStreamRefByMatchname(
                plugin_id, root.get(), kContentsMatchName, contents.put());
        });
    for (int path = 1; path <= kArrowheadOutlinePaths && err.ok(); ++path) {
        err.Then([&] { return AddOutlinePath(suites, plugin_id, contents.get(), path); });
    }

    ScopedStream fill(suites);
    ScopedStream fill_color(suites);
    err.Then([&] {
           return suites.DynamicStreamSuite4()->AEGP_AddStream(plugin_id, contents.get(),
                                                               kFillMatchName, fill.put());
       })
        .Then([&] {
            return suites.DynamicStreamSuite4()->AEGP_GetNewStreamRefByMatchname(
                plugin_id, fill.get(), kFillColorMatchName, fill_color.put());
        })
        .Then([&] {
            return ChangeValue(suites, plugin_id, fill_color.get(),
                               [](AEGP_StreamVal2& v) { v.color = kWhite; });
        });

    ScopedStream position(suites);
    err.Then([&] {
           return suites.StreamSuite4()->AEGP_GetNewLayerStream(
               plugin_id, shape_layer, AEGP_LayerStream_POSITION, position.put());
       })
        .Then([&] {
            return ChangeValue(suites, plugin_id, position.get(), [](AEGP_StreamVal2& v) {
                v.three_d.x = kPlaceholderGraphicX;
                v.three_d.y = kPlaceholderGraphicY;
            });
        });

    err.Release(contents.Dispose());
    err.Release(root.Dispose());
    err.Release(fill.Dispose());
    err.Release(fill_color.Dispose());
    err.Release(position.Dispose());
    return err.get();
}

}  // namespace

A_Ratio PlaceholderFrameRate(A_FpLong target_fps) {
    constexpr double kMost = std::numeric_limits<A_long>::max();
    double thousandths = std::trunc(target_fps * 1000.0);
    if (!(thousandths >= 0)) thousandths = 0;  // also NaN
    if (thousandths > kMost) thousandths = kMost;
    return A_Ratio{static_cast<A_long>(thousandths), 1000};
}

A_Err getNewLayer(PF_InData* in_data, AEGP_CompH target, AEGP_LayerH* layer) {
    AEGP_SuiteHandler suites(in_data->pica_basicP);
    RunningError err;
    AEGP_PluginID plugin_id = 0;
    AEGP_ItemH placeholder = nullptr;
    err.Then([&] { return GetPluginID(in_data, &plugin_id); }).Then([&] {
        return FindPlaceholderItem(suites, plugin_id, &placeholder);
    });
    if (err.ok() && placeholder == nullptr) {
        err.Then([&] { return BuildPlaceholderComp(suites, plugin_id, target, &placeholder); });
    }
    AEGP_LayerH added = nullptr;
    err.Then([&] { return suites.LayerSuite7()->AEGP_AddLayer(placeholder, target, &added); });
    if (err.ok()) *layer = added;
    return err.get();
}
