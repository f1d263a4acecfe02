#include "resources/Icons.h"

#include <utility>

#include "resources/Resource.h"

namespace {

// Application icon and Convert button: a note over a wave.
constexpr std::string_view kApp = R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 48 48">
<rect x="2" y="2" width="44" height="44" rx="9" fill="#1f6fb2"/>
<path d="M6 33 q4 -8 8 0 t8 0 t8 0 t8 0 t4 0" fill="none" stroke="#9fd3ff" stroke-width="2.5"/>
<path d="M20 30 V10 l16 -3 v19" fill="none" stroke="#ffffff" stroke-width="3" stroke-linejoin="round"/>
<ellipse cx="16.5" cy="30" rx="4.5" ry="3.5" fill="#ffffff"/>
<ellipse cx="32.5" cy="26" rx="4.5" ry="3.5" fill="#ffffff"/>
</svg>)";

// Column header without sort order: nothing drawn.
constexpr std::string_view kSortNone = R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 48 48"/>)";

constexpr std::string_view kSortAscending = R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 48 48">
<path d="M24 12 L38 34 H10 Z" fill="#555555"/>
</svg>)";

constexpr std::string_view kSortDescending = R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 48 48">
<path d="M24 36 L38 14 H10 Z" fill="#555555"/>
</svg>)";

constexpr std::string_view kAbout = R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 48 48">
<circle cx="24" cy="24" r="21" fill="#2b8a3e"/>
<circle cx="24" cy="13" r="3.5" fill="#ffffff"/>
<rect x="20.5" y="20" width="7" height="17" rx="2" fill="#ffffff"/>
</svg>)";

constexpr std::string_view kAddFiles = R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 48 48">
<path d="M8 3 H28 L38 13 V45 H8 Z" fill="#f5f5f5" stroke="#5a5a5a" stroke-width="2" stroke-linejoin="round"/>
<path d="M28 3 V13 H38" fill="none" stroke="#5a5a5a" stroke-width="2" stroke-linejoin="round"/>
<circle cx="35" cy="35" r="11" fill="#2b8a3e"/>
<path d="M35 28 V42 M28 35 H42" stroke="#ffffff" stroke-width="3.5"/>
</svg>)";

constexpr std::string_view kOptions = R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 48 48">
<rect x="3" y="3" width="42" height="42" rx="7" fill="#6b6b6b"/>
<path d="M11 14 H37 M11 24 H37 M11 34 H37" stroke="#dddddd" stroke-width="3"/>
<circle cx="18" cy="14" r="4.5" fill="#f2b01e"/>
<circle cx="31" cy="24" r="4.5" fill="#f2b01e"/>
<circle cx="22" cy="34" r="4.5" fill="#f2b01e"/>
</svg>)";

constexpr std::pair<int, std::string_view> kIcons[] = {
    {IDI_APP, kApp},
    {IDI_SORT_NONE, kSortNone},
    {IDI_SORT_ASCENDING, kSortAscending},
    {IDI_SORT_DESCENDING, kSortDescending},
    {IDI_ABOUT, kAbout},
    {IDI_ADD_FILES, kAddFiles},
    {IDI_OPTIONS, kOptions},
};

}  // namespace

std::string_view FindIconSvg(int nId)
{
    for (const auto& [nIconId, svg] : kIcons)
        if (nIconId == nId)
            return svg;
    return {};
}
