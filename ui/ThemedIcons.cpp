#include "ui/ThemedIcons.h"

#include <utility>

#include "platform/qt/Icons.h"
#include "resources/Resource.h"

namespace {

// Names from the freedesktop icon naming rules; the application icon
// is the theme's only when an icon under the program's name is installed.
constexpr std::pair<int, const char*> kThemeNames[] = {
    {IDI_APP, "kestrune"},
    {IDI_SORT_ASCENDING, "view-sort-ascending"},
    {IDI_SORT_DESCENDING, "view-sort-descending"},
    {IDI_ABOUT, "help-about"},
    {IDI_ADD_FILES, "list-add"},
    {IDI_OPTIONS, "preferences-system"},
};

}  // namespace

QIcon ThemedIcon(int nIconId)
{
    const QIcon fallback = LoadIconResource(nIconId);
    for (const auto& [nId, pszName] : kThemeNames)
        if (nId == nIconId)
            return QIcon::fromTheme(QString::fromLatin1(pszName), fallback);
    return fallback;
}
