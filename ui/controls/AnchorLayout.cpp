#include "ui/controls/AnchorLayout.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Truncates toward zero; values beyond the range (from absurd ratios) end at
// its bounds, and not-a-number at 0, instead of being undefined.
int32_t Trunc(double d)
{
    if (std::isnan(d))
        return 0;
    constexpr double kMin = std::numeric_limits<int32_t>::min();
    constexpr double kMax = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::clamp(std::trunc(d), kMin, kMax));
}

bool UsesCentreRatio(unsigned nMode)
{
    return nMode == ANCHOR_CENTER || nMode == ANCHOR_SCALE;
}

// The centre of [nNear, nFar) as a fraction of the axis; a client without a
// size has no fraction to keep, so the control is centred.
double CentreFraction(int32_t nNear, int32_t nFar, int32_t nSize)
{
    return nSize > 0 ? (nNear + nFar) * 0.5 / nSize : 0.5;
}

bool FollowsInitialSize(unsigned nMode)
{
    return nMode == ANCHOR_SCALE || nMode == ANCHOR_RATIO;
}

unsigned ChooseMode(bool bNearMoved, unsigned nNearMode, bool bFarMoved, unsigned nFarMode)
{
    if (bNearMoved && nNearMode != ANCHOR_NONE)
        return nNearMode;
    if (bFarMoved && nFarMode != ANCHOR_NONE)
        return nFarMode;
    return ANCHOR_NONE;
}

// One axis of an item: the near and far edges of the working rectangle, the
// actual ones, and the axis' sizes.
struct AxisInput
{
    unsigned nMode;
    bool bSpecialNone;  // mode 0 on an item that scales or follows ratios on this axis
    int32_t nRecordedNear, nRecordedFar;
    int32_t nActualNear, nActualFar;
    int32_t nNewSize, nInitialSize;
    int32_t nDelta;         // change since the last layout
    int32_t nInitialDelta;  // change since initialisation
    double dRatio1, dRatio2;
};

struct AxisResult
{
    int32_t nNear, nFar;
    bool bRecorded;
};

AxisResult PlaceAxis(const AxisInput& in)
{
    int32_t nNear = in.nRecordedNear;
    int32_t nFar = in.nRecordedFar;
    const int32_t nSize = nFar - nNear;
    switch (in.nMode) {
    case ANCHOR_NONE:
        if (in.bSpecialNone)
            return {in.nActualNear, in.nActualFar, false};
        return {nNear, nFar, true};
    case ANCHOR_STRETCH:
        return {nNear, nFar + in.nDelta, true};
    case ANCHOR_MOVE:
        return {nNear + in.nDelta, nFar + in.nDelta, true};
    case ANCHOR_CENTER: {
        const int32_t nLeft = Trunc(in.nNewSize * in.dRatio1 - nSize * 0.5);
        return {nLeft, nLeft + nSize, true};
    }
    case ANCHOR_SCALE: {
        // A zero-sized initial client gives no scale: keep the edges.
        if (in.nInitialSize == 0)
            return {nNear, nFar, false};
        const double dNewSize = in.nNewSize;
        return {Trunc(nNear * dNewSize / in.nInitialSize), Trunc(nFar * dNewSize / in.nInitialSize), false};
    }
    case ANCHOR_RATIO:
        return {nNear + Trunc(in.dRatio1 * in.nInitialDelta),
                Trunc(nNear + nSize + (in.dRatio1 + in.dRatio2) * in.nInitialDelta), false};
    default:
        return {nNear, nFar, true};
    }
}

}  // namespace

AnchorItem MakeAnchorItem(int32_t ctrlId, const AnchorRect& rect, int32_t clientWidth, int32_t clientHeight,
                          unsigned leftMode, unsigned rightMode, unsigned topMode, unsigned bottomMode,
                          unsigned options, double hRatio1, double hRatio2, double vRatio1, double vRatio2)
{
    AnchorItem item;
    item.ctrlId = ctrlId;
    item.flags = (leftMode & 0xF) | (rightMode & 0xF) << 4 | (topMode & 0xF) << 8 | (bottomMode & 0xF) << 12 |
                 (options & 0x3) << 16;
    item.rect = rect;
    item.hRatio1 = hRatio1;
    item.hRatio2 = hRatio2;
    item.vRatio1 = vRatio1;
    item.vRatio2 = vRatio2;
    if (UsesCentreRatio(item.LeftMode()) || UsesCentreRatio(item.RightMode()))
        item.hRatio1 = CentreFraction(rect.left, rect.right, clientWidth);
    if (UsesCentreRatio(item.TopMode()) || UsesCentreRatio(item.BottomMode()))
        item.vRatio1 = CentreFraction(rect.top, rect.bottom, clientHeight);
    return item;
}

unsigned MovedEdges(SizeChange type, int nSizingEdge)
{
    if (type == SizeChange::Restored || type == SizeChange::Maximized)
        return EDGE_RIGHT | EDGE_BOTTOM;
    switch (nSizingEdge) {
    case 1: return EDGE_LEFT;
    case 2: return EDGE_RIGHT;
    case 3: return EDGE_TOP;
    case 4: return EDGE_TOP | EDGE_LEFT;
    case 5: return EDGE_TOP | EDGE_RIGHT;
    case 6: return EDGE_BOTTOM;
    case 7: return EDGE_BOTTOM | EDGE_LEFT;
    case 8: return EDGE_BOTTOM | EDGE_RIGHT;
    default: return 0;
    }
}

AnchorPlacement PlaceAnchorItem(const AnchorItem& item, unsigned nMovedEdges, const AnchorRect& newClient,
                                const AnchorRect& prevClient, const AnchorRect& initialClient,
                                const AnchorRect& actual)
{
    const AxisInput horizontal{
        ChooseMode(nMovedEdges & EDGE_LEFT, item.LeftMode(), nMovedEdges & EDGE_RIGHT, item.RightMode()),
        FollowsInitialSize(item.LeftMode()) || FollowsInitialSize(item.RightMode()),
        item.rect.left, item.rect.right,
        actual.left, actual.right,
        newClient.Width(), initialClient.Width(),
        newClient.Width() - prevClient.Width(), newClient.Width() - initialClient.Width(),
        item.hRatio1, item.hRatio2};
    const AxisInput vertical{
        ChooseMode(nMovedEdges & EDGE_TOP, item.TopMode(), nMovedEdges & EDGE_BOTTOM, item.BottomMode()),
        FollowsInitialSize(item.TopMode()) || FollowsInitialSize(item.BottomMode()),
        item.rect.top, item.rect.bottom,
        actual.top, actual.bottom,
        newClient.Height(), initialClient.Height(),
        newClient.Height() - prevClient.Height(), newClient.Height() - initialClient.Height(),
        item.vRatio1, item.vRatio2};

    const AxisResult x = PlaceAxis(horizontal);
    const AxisResult y = PlaceAxis(vertical);

    AnchorPlacement placement;
    placement.target = {x.nNear, y.nNear, x.nFar, y.nFar};
    placement.bRecordX = x.bRecorded;
    placement.bRecordY = y.bRecorded;
    const AnchorRect& xSource = x.bRecorded ? item.rect : actual;
    const AnchorRect& ySource = y.bRecorded ? item.rect : actual;
    placement.compare = {xSource.left, ySource.top, xSource.right, ySource.bottom};
    return placement;
}

void CAnchorLayout::Init(const AnchorRect& client)
{
    m_rcInitialClient = client;
    m_rcPrevClient = client;
}

void CAnchorLayout::Add(const AnchorItem& item)
{
    auto it = std::find_if(m_anchors.begin(), m_anchors.end(),
                           [&](const AnchorItem& existing) { return existing.ctrlId == item.ctrlId; });
    if (it != m_anchors.end())
        *it = item;
    else
        m_anchors.push_back(item);
}

std::vector<AnchorMove> CAnchorLayout::Layout(unsigned nMovedEdges, const AnchorRect& newClient,
                                              const std::function<AnchorRect(int32_t ctrlId)>& actual)
{
    std::vector<AnchorMove> moves;
    if (m_anchors.empty())
        return moves;
    if (nMovedEdges != 0) {
        moves.reserve(m_anchors.size());
        for (AnchorItem& item : m_anchors) {
            const AnchorPlacement placement = PlaceAnchorItem(item, nMovedEdges, newClient, m_rcPrevClient,
                                                              m_rcInitialClient, actual(item.ctrlId));
            if (placement.target == placement.compare)
                continue;
            moves.push_back({item.ctrlId, placement.compare, placement.target, item.flags});
            if (placement.bRecordX) {
                item.rect.left = placement.target.left;
                item.rect.right = placement.target.right;
            }
            if (placement.bRecordY) {
                item.rect.top = placement.target.top;
                item.rect.bottom = placement.target.bottom;
            }
        }
    }
    m_rcPrevClient = newClient;
    return moves;
}
