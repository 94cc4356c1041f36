// "AEGP Mask Outline Suite" v3: the path inside a stream value the host handed out (its
// `mask` member). Changes go into the value only; AEGP_SetStreamValue puts them on the
// property.
//
// The host's rules as the stand-in keeps them:
//   - an outline is usable while the value it belongs to is not disposed; any other handle is
//     a breach;
//   - vertices are numbered from 0; a closed path has as many segments as vertices, an open
//     one one fewer (none without vertices). On a closed path index num_segments names vertex 0
//     again, for reading and for writing; every other index outside the vertices is
//     A_Err_PARAMETER;
//   - tangents are relative to their vertex and each vertex keeps its own: setting one vertex
//     changes no other;
//   - AEGP_CreateVertex inserts a vertex at 0 to the vertex count (later vertices move up by
//     one); the new vertex lies at 0, 0 without tangents until it is set.
#include "core/Boundary.h"
#include "suites/Objects.h"
#include "suites/Tables.h"

namespace tlhost {

namespace {

ShapePath& OutlineOf(Host& host, AEGP_MaskOutlineValH outlineH) {
    auto* outline = reinterpret_cast<MaskOutline*>(outlineH);
    if (!outline) Breach(A_Err_PARAMETER, "null path outline");
    if (!host.outlines().count(outline) || outline->tag != MaskOutline::kTag) {
        Breach(A_Err_PARAMETER,
               "not the path outline of a stream value the host handed out and that is live");
    }
    return outline->path;
}

std::size_t SegmentCount(const ShapePath& path) {
    const std::size_t n = path.vertices.size();
    return path.closed ? n : (n == 0 ? 0 : n - 1);
}

// The vertex an index names, as the rules above say.
PathVertex& VertexAt(ShapePath& path, AEGP_VertexIndex index) {
    const std::size_t n = path.vertices.size();
    if (index >= 0 && static_cast<std::size_t>(index) < n) {
        return path.vertices[static_cast<std::size_t>(index)];
    }
    if (path.closed && n > 0 && index >= 0 && static_cast<std::size_t>(index) == n) {
        return path.vertices.front();
    }
    Refuse(A_Err_PARAMETER);
}

A_Err IsMaskOutlineOpen(AEGP_MaskOutlineValH outlineH, A_Boolean* open) {
    return Serve("AEGP_IsMaskOutlineOpen", [&](Host& host) -> A_Err {
        Require(open, "result place");
        *open = OutlineOf(host, outlineH).closed ? FALSE : TRUE;
        return A_Err_NONE;
    });
}

A_Err SetMaskOutlineOpen(AEGP_MaskOutlineValH outlineH, A_Boolean open) {
    return Serve("AEGP_SetMaskOutlineOpen", [&](Host& host) -> A_Err {
        OutlineOf(host, outlineH).closed = !open;
        return A_Err_NONE;
    });
}

A_Err GetMaskOutlineNumSegments(AEGP_MaskOutlineValH outlineH, A_long* count) {
    return Serve("AEGP_GetMaskOutlineNumSegments", [&](Host& host) -> A_Err {
        Require(count, "count place");
        *count = static_cast<A_long>(SegmentCount(OutlineOf(host, outlineH)));
        return A_Err_NONE;
    });
}

A_Err GetMaskOutlineVertexInfo(AEGP_MaskOutlineValH outlineH, AEGP_VertexIndex index,
                               AEGP_MaskVertex* vertex) {
    return Serve("AEGP_GetMaskOutlineVertexInfo", [&](Host& host) -> A_Err {
        Require(vertex, "vertex place");
        const PathVertex& v = VertexAt(OutlineOf(host, outlineH), index);
        *vertex = AEGP_MaskVertex{v.x, v.y, v.in_x, v.in_y, v.out_x, v.out_y};
        return A_Err_NONE;
    });
}

A_Err SetMaskOutlineVertexInfo(AEGP_MaskOutlineValH outlineH, AEGP_VertexIndex index,
                               const AEGP_MaskVertex* vertex) {
    return Serve("AEGP_SetMaskOutlineVertexInfo", [&](Host& host) -> A_Err {
        Require(vertex, "vertex");
        VertexAt(OutlineOf(host, outlineH), index) =
            PathVertex{vertex->x,        vertex->y,         vertex->tan_in_x,
                       vertex->tan_in_y, vertex->tan_out_x, vertex->tan_out_y};
        return A_Err_NONE;
    });
}

A_Err CreateVertex(AEGP_MaskOutlineValH outlineH, AEGP_VertexIndex index) {
    return Serve("AEGP_CreateVertex", [&](Host& host) -> A_Err {
        ShapePath& path = OutlineOf(host, outlineH);
        if (index < 0 || static_cast<std::size_t>(index) > path.vertices.size()) {
            Refuse(A_Err_PARAMETER);
        }
        path.vertices.insert(path.vertices.begin() + index, PathVertex{});
        return A_Err_NONE;
    });
}

A_Err DeleteVertex(AEGP_MaskOutlineValH outlineH, AEGP_VertexIndex index) {
    return Serve("AEGP_DeleteVertex", [&](Host& host) -> A_Err {
        ShapePath& path = OutlineOf(host, outlineH);
        if (index < 0 || static_cast<std::size_t>(index) >= path.vertices.size()) {
            Refuse(A_Err_PARAMETER);
        }
        path.vertices.erase(path.vertices.begin() + index);
        return A_Err_NONE;
    });
}

AEGP_MaskOutlineSuite2 MakeMaskOutlineSuite2() {
    AEGP_MaskOutlineSuite2 s{};
    s.AEGP_IsMaskOutlineOpen = IsMaskOutlineOpen;
    s.AEGP_SetMaskOutlineOpen = SetMaskOutlineOpen;
    s.AEGP_GetMaskOutlineNumSegments = GetMaskOutlineNumSegments;
    s.AEGP_GetMaskOutlineVertexInfo = GetMaskOutlineVertexInfo;
    s.AEGP_SetMaskOutlineVertexInfo = SetMaskOutlineVertexInfo;
    s.AEGP_CreateVertex = CreateVertex;
    s.AEGP_DeleteVertex = DeleteVertex;
    return s;
}

}  // namespace

const AEGP_MaskOutlineSuite2* MaskOutlineSuite2Table() {
    static const AEGP_MaskOutlineSuite2 table = MakeMaskOutlineSuite2();
    return &table;
}

}  // namespace tlhost
