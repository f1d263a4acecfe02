#include "resources/StringTable.h"

#include <utility>

#include "resources/Resource.h"

namespace {

constexpr std::pair<int, std::string_view> kStrings[] = {
    {IDS_ABOUTBOX, "&About"},
    {ID_ADD_FILES, "Add audio files to the current file list"},
    {ID_CONVERT_ALL, "Convert the files in the list"},
    {ID_OPTIONS, "Open the option dialog"},
    {ID_ABOUT, "About Kestrune"},
};

}  // namespace

std::string_view LoadResString(int nId)
{
    for (const auto& [nStringId, strText] : kStrings)
        if (nStringId == nId)
            return strText;
    return {};
}
