#pragma once
#include <cstdint>
#include <functional>
#include <vector>

// The arithmetic that keeps a resizable dialog's controls in place: plain
// rectangles in, plain rectangles out, no widgets.

// A rectangle with exclusive right and bottom edges.
struct AnchorRect
{
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool operator==(const AnchorRect&) const = default;
};

// How a control follows a size change on one axis.
enum AnchorMode : unsigned
{
    ANCHOR_NONE = 0,     // stays
    ANCHOR_STRETCH = 1,  // far edge follows the change
    ANCHOR_MOVE = 2,     // both edges follow the change
    ANCHOR_CENTER = 3,   // keeps its size, centre at a fixed fraction of the axis
    ANCHOR_SCALE = 4,    // both edges scaled with the axis
    ANCHOR_RATIO = 5,    // near edge and size grow by given shares of the change
};

// Option bits of AnchorItem::flags.
inline constexpr uint32_t ANCHOR_CLIP_ERASE = 1u << 16;
inline constexpr uint32_t ANCHOR_REPAINT = 1u << 17;

// Which edges of the window moved in a size change.
enum : unsigned
{
    EDGE_LEFT = 1,
    EDGE_TOP = 2,
    EDGE_RIGHT = 4,
    EDGE_BOTTOM = 8,
};

// The kinds of size change a window reports (the platform's values).
enum class SizeChange : int
{
    Restored = 0,
    Minimized = 1,
    Maximized = 2,
    MaxShow = 3,
    MaxHide = 4,
};

struct AnchorItem
{
    int32_t ctrlId = 0;
    // Bits 0-3 horizontal mode when the left edge moved, 4-7 when the right
    // edge moved, 8-11 vertical mode when the top edge moved, 12-15 when the
    // bottom edge moved; then the option bits.
    uint32_t flags = 0;
    AnchorRect rect;  // dialog client coordinates
    double hRatio1 = -1.0;
    double hRatio2 = -1.0;
    double vRatio1 = -1.0;
    double vRatio2 = -1.0;

    unsigned LeftMode() const { return flags & 0xF; }
    unsigned RightMode() const { return (flags >> 4) & 0xF; }
    unsigned TopMode() const { return (flags >> 8) & 0xF; }
    unsigned BottomMode() const { return (flags >> 12) & 0xF; }
};

// Builds an item from the registration arguments. Options hold
// ANCHOR_CLIP_ERASE in bit 0 and ANCHOR_REPAINT in bit 1. For the centring and
// scaling modes the first ratio of the axis becomes the control's centre as a
// fraction of the client size.
AnchorItem MakeAnchorItem(int32_t ctrlId, const AnchorRect& rect, int32_t clientWidth, int32_t clientHeight,
                          unsigned leftMode, unsigned rightMode, unsigned topMode, unsigned bottomMode,
                          unsigned options, double hRatio1, double hRatio2, double vRatio1, double vRatio2);

// The edges that count as moved for a size change; 0 when no control moves.
// Restored and maximised changes always count as right and bottom; the sizing
// edge (the platform's codes 1-8) decides for the others.
unsigned MovedEdges(SizeChange type, int nSizingEdge);

// Where one item goes. `target` is the new rectangle, `compare` the one it
// replaces (recorded values on recorded axes, the actual ones elsewhere).
struct AnchorPlacement
{
    AnchorRect target;
    AnchorRect compare;
    bool bRecordX = true;
    bool bRecordY = true;
};

AnchorPlacement PlaceAnchorItem(const AnchorItem& item, unsigned nMovedEdges, const AnchorRect& newClient,
                                const AnchorRect& prevClient, const AnchorRect& initialClient,
                                const AnchorRect& actual);

struct AnchorMove
{
    int32_t ctrlId;
    AnchorRect from;  // the place it leaves (for repainting)
    AnchorRect to;
    uint32_t flags;
};

// The registered items of one dialog and the client sizes the layout is
// measured against.
class CAnchorLayout
{
public:
    // Fixes the initial client rectangle (also the previous one).
    void Init(const AnchorRect& client);

    // Registers an item; an item with the same id is replaced in place.
    void Add(const AnchorItem& item);

    // Lays the items out for a new client rectangle and returns the controls
    // to move, in registration order. `actual` gives a control's present
    // rectangle. Items' recorded rectangles are updated.
    std::vector<AnchorMove> Layout(unsigned nMovedEdges, const AnchorRect& newClient,
                                   const std::function<AnchorRect(int32_t ctrlId)>& actual);

    const std::vector<AnchorItem>& Items() const { return m_anchors; }
    const AnchorRect& PrevClient() const { return m_rcPrevClient; }
    const AnchorRect& InitialClient() const { return m_rcInitialClient; }

private:
    std::vector<AnchorItem> m_anchors;
    AnchorRect m_rcPrevClient;
    AnchorRect m_rcInitialClient;
};
