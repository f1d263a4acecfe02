#pragma once
#include <span>

// Menus and accelerator tables as data.

struct MenuItem
{
    int nCommand;        // 0 for a separator
    const char* pszText;  // UTF-8; "&" marks the mnemonic, "\t" starts the key shown
    bool bDefault;        // the default item, drawn bold
};

// One popup menu of a menu resource.
struct MenuPopup
{
    std::span<const MenuItem> items;
};

struct MenuTemplate
{
    int nId;
    std::span<const MenuPopup> popups;
};

struct Accelerator
{
    const char* pszKeys;  // portable key-sequence text: "F6", "Shift+F3", "Ctrl+O", "Del"
    int nCommand;
};

struct AcceleratorTable
{
    int nId;
    std::span<const Accelerator> keys;
};

// The resource with that id, or nullptr.
const MenuTemplate* FindMenuTemplate(int nId);
const AcceleratorTable* FindAcceleratorTable(int nId);
