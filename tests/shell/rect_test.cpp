// Rectangle helpers of smart pre-render: what counts as empty, and how a result rectangle is
// widened by a checkout rectangle.

#include <gtest/gtest.h>

#include <climits>

#include "shell/Render.h"

namespace {

PF_LRect R(A_long l, A_long t, A_long r, A_long b) {
    return PF_LRect{l, t, r, b};
}

bool Same(const PF_LRect& a, const PF_LRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(IsEmptyRect, NeedsPositiveWidthAndHeight) {
    const PF_LRect zero = R(0, 0, 0, 0);
    EXPECT_TRUE(IsEmptyRect(&zero));
    const PF_LRect flat = R(0, 5, 10, 5);  // no height
    EXPECT_TRUE(IsEmptyRect(&flat));
    const PF_LRect thin = R(7, 0, 7, 10);  // no width
    EXPECT_TRUE(IsEmptyRect(&thin));
    const PF_LRect inverted = R(10, 10, 0, 0);
    EXPECT_TRUE(IsEmptyRect(&inverted));
    const PF_LRect pixel = R(-1, -1, 0, 0);
    EXPECT_FALSE(IsEmptyRect(&pixel));
    const PF_LRect huge = R(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_FALSE(IsEmptyRect(&huge));
}

TEST(UnionLRect, EmptyDestinationTakesTheSource) {
    const PF_LRect src = R(3, 4, 30, 40);
    PF_LRect dst = R(100, 100, 50, 200);  // inverted, so empty, with values far outside src
    UnionLRect(&src, &dst);
    EXPECT_TRUE(Same(dst, src));

    // Even an empty source is copied into an empty destination.
    const PF_LRect empty_src = R(9, 9, 9, 9);
    PF_LRect empty_dst = R(0, 0, 0, 0);
    UnionLRect(&empty_src, &empty_dst);
    EXPECT_TRUE(Same(empty_dst, empty_src));
}

TEST(UnionLRect, EmptySourceLeavesTheDestination) {
    const PF_LRect src = R(-1000, -1000, -1000, 1000);  // zero width
    PF_LRect dst = R(0, 0, 10, 10);
    UnionLRect(&src, &dst);
    EXPECT_TRUE(Same(dst, R(0, 0, 10, 10)));
}

TEST(UnionLRect, CoversBothRectangles) {
    const PF_LRect src = R(-5, 2, 8, 20);
    PF_LRect dst = R(0, -3, 12, 10);
    UnionLRect(&src, &dst);
    EXPECT_TRUE(Same(dst, R(-5, -3, 12, 20)));

    // Disjoint rectangles: the union spans the gap between them.
    const PF_LRect far = R(100, 100, 101, 101);
    PF_LRect near = R(0, 0, 1, 1);
    UnionLRect(&far, &near);
    EXPECT_TRUE(Same(near, R(0, 0, 101, 101)));

    // A source inside the destination changes nothing.
    const PF_LRect inner = R(2, 2, 3, 3);
    PF_LRect outer = R(0, 0, 10, 10);
    UnionLRect(&inner, &outer);
    EXPECT_TRUE(Same(outer, R(0, 0, 10, 10)));
}

}  // namespace
