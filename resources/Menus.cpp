#include "resources/Menus.h"

#include "resources/Resource.h"

namespace {

constexpr MenuItem kListContextItems[] = {
    {ID_CONVERT_SELECTED, "Convert Selected\tShift+F3", true},
    {ID_FILE_OPEN, "Open", false},
    {ID_PROPERTIES, "Properties", false},
};

constexpr MenuPopup kListContextPopups[] = {{kListContextItems}};

constexpr MenuTemplate kMenus[] = {
    {IDR_LIST_CONTEXT_MENU, kListContextPopups},
};

constexpr Accelerator kMainKeys[] = {
    {"F6", ID_ADD_FILES},
    {"F3", ID_CONVERT_ALL},
    {"Shift+F3", ID_CONVERT_SELECTED},
    {"Ctrl+O", ID_OPTIONS},
    {"Del", ID_REMOVE_SELECTED},
    {"F2", ID_RENAME},
    {"Ctrl+A", ID_SELECT_ALL},
};

constexpr AcceleratorTable kAccelerators[] = {
    {IDR_MAIN_ACCELERATORS, kMainKeys},
};

}  // namespace

const MenuTemplate* FindMenuTemplate(int nId)
{
    for (const MenuTemplate& menu : kMenus)
        if (menu.nId == nId)
            return &menu;
    return nullptr;
}

const AcceleratorTable* FindAcceleratorTable(int nId)
{
    for (const AcceleratorTable& table : kAccelerators)
        if (table.nId == nId)
            return &table;
    return nullptr;
}
