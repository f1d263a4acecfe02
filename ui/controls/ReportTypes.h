#pragma once
#include <cstdint>
#include <functional>

// Row states as the report list reads, filters and changes them.
enum ItemStateFlags : uint32_t
{
    RC_ITEM_NONE = 0,
    RC_ITEM_ALL = 1,  // "Any": in a filter it matches every row
    RC_ITEM_SELECTED = 2,
    RC_ITEM_UNSELECTED = 4,
    RC_ITEM_CHECKED = 8,
    RC_ITEM_UNCHECKED = 16,
    RC_ITEM_FOCUSED = 32,
    RC_ITEM_UNFOCUSED = 64,
};

// Extended list styles the owner may ask for; full-row selection and cell
// images are always on.
enum : uint32_t
{
    LVS_EX_SUBITEMIMAGES = 0x2,
    LVS_EX_CHECKBOXES = 0x4,
    LVS_EX_HEADERDRAGDROP = 0x10,
    LVS_EX_FULLROWSELECT = 0x20,
    LVS_EX_INFOTIP = 0x400,
};

// Column header alignment, also the alignment of the cell editor.
enum ColumnFormat : int
{
    LVCFMT_LEFT = 0,
    LVCFMT_RIGHT = 1,
    LVCFMT_CENTER = 2,
};

struct ColumnState
{
    bool visible = true;
    int32_t savedWidth = 0;     // given back (low 16 bits) when the column is shown again
    int32_t savedPosition = -1;  // display-position bound used when the column is shown again
};

struct ColumnSortInfo
{
    int32_t column = 0;
    int32_t ascending = 1;  // 1 ascending, 0 descending

    bool operator==(const ColumnSortInfo&) const = default;
};

// What the list reads from the owner's record of a row: the colour of unusable
// rows, and the numbers behind the size, frequency and channel columns.
struct ReportRowFields
{
    bool invalid = false;
    double sizeMB = 0.0;
    uint32_t sampleRate = 0;
    uint32_t channels = 0;
};

using ReportRowReader = std::function<ReportRowFields(const void* pOwnerData)>;

// Mouse messages carried by the check-select notification.
enum : int
{
    RC_MSG_LBUTTONDOWN = 0x201,
    RC_MSG_LBUTTONDBLCLK = 0x203,
    RC_MSG_RBUTTONDOWN = 0x204,
    RC_MSG_RBUTTONDBLCLK = 0x206,
    RC_MSG_MBUTTONDOWN = 0x207,
    RC_MSG_MBUTTONDBLCLK = 0x209,
};
