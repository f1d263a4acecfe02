#pragma once
#include <span>

// Dialog templates as data: the controls of each dialog with their ids,
// kinds, texts, styles and positions in dialog units. Building windows from
// them is the user-interface layer's job (platform/qt/TemplateDialog.h).

enum class ControlKind
{
    Static,         // text; a label or a value shown by the window
    Icon,           // an icon resource (nIconId)
    GroupBox,
    Button,
    DefaultButton,  // the button that Enter presses
    CheckBox,
    Edit,
    ComboBox,       // drop-down list: a choice, no free text
    ProgressBar,
    ReportList,     // list with columns and a header
    Hyperlink,
};

// Style bits that change how a control looks or behaves.
enum ControlStyle : unsigned
{
    CS_NONE = 0,
    CS_RIGHT = 1u << 0,            // text right-aligned
    CS_DISABLED = 1u << 1,
    CS_READONLY = 1u << 2,
    CS_BORDER = 1u << 3,
    CS_SMOOTH = 1u << 4,           // progress bar drawn as one continuous bar
    CS_VSCROLL = 1u << 5,
    CS_AUTOHSCROLL = 1u << 6,      // edit text scrolls instead of wrapping or stopping
    CS_SHOWSELALWAYS = 1u << 7,    // selection stays visible without focus
    CS_MULTISELECT = 1u << 8,      // several rows selectable
    CS_TABSTOP = 1u << 9,
};

// Frame of the dialog window.
enum DialogFrame : unsigned
{
    DF_CAPTION = 1u << 0,
    DF_SYSMENU = 1u << 1,
    DF_MINIMIZEBOX = 1u << 2,
    DF_MAXIMIZEBOX = 1u << 3,
    DF_RESIZABLE = 1u << 4,   // sizing border; without it the size is fixed
    DF_APPWINDOW = 1u << 5,   // a top-level window of its own in the task bar
};

struct DialogRect
{
    int x;
    int y;
    int cx;
    int cy;
};

struct DialogControl
{
    int nId;
    ControlKind kind;
    const char* pszText;  // UTF-8
    unsigned nStyle;      // ControlStyle bits
    DialogRect rect;      // dialog units
    int nIconId = 0;      // ControlKind::Icon only
};

struct DialogTemplate
{
    int nId;
    const char* pszCaption;
    int cx;  // client size in dialog units
    int cy;
    const char* pszFontFace;  // the font the layout was designed with
    int nPointSize;
    unsigned nFrame;  // DialogFrame bits
    std::span<const DialogControl> controls;  // creation and tab order
};

// The template with that id, or nullptr.
const DialogTemplate* FindDialogTemplate(int nId);
