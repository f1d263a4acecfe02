// The anchor arithmetic on plain rectangles.
#include <gtest/gtest.h>

#include "ui/controls/AnchorLayout.h"

namespace {

const AnchorRect kClient{0, 0, 400, 300};
const AnchorRect kControl{100, 50, 200, 80};

// A layout with one item that has `mode` on the far edge of one axis.
struct OneItem
{
    CAnchorLayout layout;
    AnchorRect actual = kControl;

    OneItem(unsigned nMode, bool bVertical, double dRatio1, double dRatio2)
    {
        layout.Init(kClient);
        const unsigned h = bVertical ? 0 : nMode;
        const unsigned v = bVertical ? nMode : 0;
        layout.Add(MakeAnchorItem(7, kControl, kClient.Width(), kClient.Height(), 0, h, 0, v, 0,
                                  bVertical ? -1.0 : dRatio1, bVertical ? -1.0 : dRatio2,
                                  bVertical ? dRatio1 : -1.0, bVertical ? dRatio2 : -1.0));
    }

    // Lays out for a restored size change and applies the moves to `actual`;
    // returns how many controls moved.
    size_t Resize(int32_t nWidth, int32_t nHeight)
    {
        const auto moves = layout.Layout(MovedEdges(SizeChange::Restored, 0), {0, 0, nWidth, nHeight},
                                         [&](int32_t) { return actual; });
        for (const AnchorMove& move : moves)
            actual = move.to;
        return moves.size();
    }
};

struct ModeCase
{
    const char* name;
    unsigned nMode;
    bool bVertical;
    double dRatio1, dRatio2;
    AnchorRect expected;       // after growing by 100 x 60
    AnchorRect expectedTwice;  // after growing by another 100 x 60
};

// Client 400 x 300, control (100, 50)-(200, 80).
const ModeCase kModeCases[] = {
    {"none_h", ANCHOR_NONE, false, -1, -1, kControl, kControl},
    {"stretch_h", ANCHOR_STRETCH, false, -1, -1, {100, 50, 300, 80}, {100, 50, 400, 80}},
    {"move_h", ANCHOR_MOVE, false, -1, -1, {200, 50, 300, 80}, {300, 50, 400, 80}},
    // centre at 150 / 400 = 0.375 of the width
    {"center_h", ANCHOR_CENTER, false, -1, -1, {137, 50, 237, 80}, {175, 50, 275, 80}},
    {"scale_h", ANCHOR_SCALE, false, -1, -1, {125, 50, 250, 80}, {150, 50, 300, 80}},
    // near edge by half the change since the start, size by a quarter
    {"ratio_h", ANCHOR_RATIO, false, 0.5, 0.25, {150, 50, 275, 80}, {200, 50, 350, 80}},
    {"none_v", ANCHOR_NONE, true, -1, -1, kControl, kControl},
    {"stretch_v", ANCHOR_STRETCH, true, -1, -1, {100, 50, 200, 140}, {100, 50, 200, 200}},
    {"move_v", ANCHOR_MOVE, true, -1, -1, {100, 110, 200, 140}, {100, 170, 200, 200}},
    // centre at 65 / 300 of the height: 360 * 65 / 300 - 15 = 63
    {"center_v", ANCHOR_CENTER, true, -1, -1, {100, 63, 200, 93}, {100, 76, 200, 106}},
    {"scale_v", ANCHOR_SCALE, true, -1, -1, {100, 60, 200, 96}, {100, 70, 200, 112}},
    {"ratio_v", ANCHOR_RATIO, true, 0.5, 0.25, {100, 80, 200, 125}, {100, 110, 200, 170}},
};

class AnchorModeTest : public testing::TestWithParam<ModeCase>
{
};

TEST_P(AnchorModeTest, FollowsTwoSuccessiveSizeChanges)
{
    const ModeCase& c = GetParam();
    OneItem one(c.nMode, c.bVertical, c.dRatio1, c.dRatio2);
    one.Resize(500, 360);
    EXPECT_EQ(one.actual, c.expected);
    one.Resize(600, 420);
    EXPECT_EQ(one.actual, c.expectedTwice);
    // Back to the starting size: every mode returns the control to its place.
    one.Resize(400, 300);
    EXPECT_EQ(one.actual, kControl);
}

TEST_P(AnchorModeTest, SameSizeAgainMovesNothing)
{
    const ModeCase& c = GetParam();
    OneItem one(c.nMode, c.bVertical, c.dRatio1, c.dRatio2);
    one.Resize(530, 377);
    EXPECT_EQ(one.Resize(530, 377), 0u);
}

INSTANTIATE_TEST_SUITE_P(EachModeEachAxis, AnchorModeTest, testing::ValuesIn(kModeCases),
                         [](const testing::TestParamInfo<ModeCase>& info) { return info.param.name; });

TEST(AnchorLayout, MovedEdgesForEachSizeChange)
{
    // Restored and maximised changes are right and bottom whatever edge was dragged.
    for (int nEdge = 0; nEdge <= 8; ++nEdge) {
        EXPECT_EQ(MovedEdges(SizeChange::Restored, nEdge), EDGE_RIGHT | EDGE_BOTTOM);
        EXPECT_EQ(MovedEdges(SizeChange::Maximized, nEdge), EDGE_RIGHT | EDGE_BOTTOM);
    }
    const unsigned kByEdge[] = {0,
                                EDGE_LEFT,
                                EDGE_RIGHT,
                                EDGE_TOP,
                                EDGE_TOP | EDGE_LEFT,
                                EDGE_TOP | EDGE_RIGHT,
                                EDGE_BOTTOM,
                                EDGE_BOTTOM | EDGE_LEFT,
                                EDGE_BOTTOM | EDGE_RIGHT};
    for (int nEdge = 0; nEdge <= 8; ++nEdge)
        EXPECT_EQ(MovedEdges(SizeChange::MaxShow, nEdge), kByEdge[nEdge]) << nEdge;
    EXPECT_EQ(MovedEdges(SizeChange::MaxHide, 9), 0u);
}

TEST(AnchorLayout, LeftEdgeDraggedOutwardMovesRightAnchoredControlLikeRightEdge)
{
    CAnchorLayout layout;
    layout.Init(kClient);
    // Moves with the right edge only; its left-edge rule is "stay".
    layout.Add(MakeAnchorItem(1, kControl, 400, 300, ANCHOR_NONE, ANCHOR_MOVE, ANCHOR_NONE, ANCHOR_NONE, 0, -1, -1,
                              -1, -1));
    const auto actual = [](int32_t) { return kControl; };

    // A restored-type change counts as a right-edge change whatever was dragged.
    const auto moves = layout.Layout(MovedEdges(SizeChange::Restored, 1), {-50, 0, 400, 300}, actual);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].to, (AnchorRect{150, 50, 250, 80}));
    EXPECT_EQ(moves[0].from, kControl);

    // A change reported with the left edge uses the left-edge rule: nothing moves,
    // but the size is taken as the new reference.
    EXPECT_TRUE(layout.Layout(MovedEdges(SizeChange::MaxShow, 1), {-100, 0, 400, 300}, actual).empty());
    EXPECT_EQ(layout.PrevClient(), (AnchorRect{-100, 0, 400, 300}));

    // No edge known: nothing moves.
    EXPECT_TRUE(layout.Layout(MovedEdges(SizeChange::MaxShow, 0), {0, 0, 700, 300}, actual).empty());
}

TEST(AnchorLayout, NearEdgeRuleAppliesWhenNearEdgeMoved)
{
    CAnchorLayout layout;
    layout.Init(kClient);
    layout.Add(MakeAnchorItem(1, kControl, 400, 300, ANCHOR_STRETCH, ANCHOR_MOVE, ANCHOR_MOVE, ANCHOR_NONE, 0, -1,
                              -1, -1, -1));
    const auto moves = layout.Layout(MovedEdges(SizeChange::MaxShow, 4), {0, 0, 420, 310},
                                     [](int32_t) { return kControl; });
    ASSERT_EQ(moves.size(), 1u);
    // Left edge moved: stretch (not move) horizontally; top edge moved: move vertically.
    EXPECT_EQ(moves[0].to, (AnchorRect{100, 60, 220, 90}));
}

TEST(AnchorLayout, UnusedAxisOfScalingItemFollowsActualPlace)
{
    CAnchorLayout layout;
    layout.Init(kClient);
    layout.Add(MakeAnchorItem(1, kControl, 400, 300, ANCHOR_NONE, ANCHOR_SCALE, ANCHOR_NONE, ANCHOR_STRETCH, 0, -1,
                              -1, -1, -1));
    // Someone else moved the control; with the left and bottom edges reported
    // the horizontal rule is "none", which for a scaling item means "where it is".
    const AnchorRect elsewhere{120, 50, 220, 80};
    const auto moves = layout.Layout(MovedEdges(SizeChange::MaxShow, 7), {0, 0, 500, 340},
                                     [&](int32_t) { return elsewhere; });
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].to, (AnchorRect{120, 50, 220, 120}));
}

TEST(AnchorLayout, RegisteringTwiceReplacesInPlace)
{
    CAnchorLayout layout;
    layout.Init(kClient);
    layout.Add(MakeAnchorItem(5, kControl, 400, 300, 0, ANCHOR_MOVE, 0, 0, 0, -1, -1, -1, -1));
    layout.Add(MakeAnchorItem(6, kControl, 400, 300, 0, ANCHOR_STRETCH, 0, 0, 0, -1, -1, -1, -1));
    layout.Add(MakeAnchorItem(5, {0, 0, 10, 10}, 400, 300, 0, ANCHOR_STRETCH, 0, ANCHOR_MOVE, 2, -1, -1, -1, -1));

    const auto& items = layout.Items();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].ctrlId, 5);
    EXPECT_EQ(items[0].RightMode(), unsigned(ANCHOR_STRETCH));
    EXPECT_EQ(items[0].BottomMode(), unsigned(ANCHOR_MOVE));
    EXPECT_EQ(items[0].flags & (ANCHOR_CLIP_ERASE | ANCHOR_REPAINT), ANCHOR_REPAINT);
    EXPECT_EQ(items[0].rect, (AnchorRect{0, 0, 10, 10}));
    EXPECT_EQ(items[1].ctrlId, 6);
}

TEST(AnchorLayout, FlagsPackModesAndOptions)
{
    const AnchorItem item = MakeAnchorItem(1, kControl, 400, 300, 1, 2, 4, 5, 3, 0.1, 0.2, 0.3, 0.4);
    EXPECT_EQ(item.flags, 0x5421u | ANCHOR_CLIP_ERASE | ANCHOR_REPAINT);
    // Scaling replaces the vertical first ratio by the centre fraction; the
    // horizontal ratios are kept.
    EXPECT_DOUBLE_EQ(item.hRatio1, 0.1);
    EXPECT_DOUBLE_EQ(item.hRatio2, 0.2);
    EXPECT_DOUBLE_EQ(item.vRatio1, 65.0 / 300.0);
    EXPECT_DOUBLE_EQ(item.vRatio2, 0.4);
}

TEST(AnchorLayout, ZeroSizedClientGivesFiniteRectangles)
{
    // A dialog registered while it has no size must not produce undefined
    // conversions later.
    CAnchorLayout layout;
    layout.Init({0, 0, 0, 0});
    layout.Add(MakeAnchorItem(1, kControl, 0, 0, ANCHOR_CENTER, ANCHOR_CENTER, ANCHOR_SCALE, ANCHOR_SCALE, 0, -1, -1,
                              -1, -1));
    const auto moves = layout.Layout(EDGE_RIGHT | EDGE_BOTTOM, {0, 0, 400, 300}, [](int32_t) { return kControl; });
    ASSERT_EQ(moves.size(), 1u);
    // The scaled axis keeps its edges; the centred one is centred.
    EXPECT_EQ(moves[0].to, (AnchorRect{150, 50, 250, 80}));
}

}  // namespace
